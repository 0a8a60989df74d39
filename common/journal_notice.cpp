#include "common/journal_notice.h"

#include "host/messages.h"
#include "host/transaction.h"
#include "journal_core/journal.h"

#include <QSet>
#include <QString>

namespace common {

void tellIfJournalOff()
{
    if (!host::sqlca.isConnected())
        return;
    const journal::JournalState state = journal::journalState(host::sqlca);
    if (state == journal::JournalState::On || state == journal::JournalState::Failed)
        return;
    // Once for each database the session works on.
    static QSet<QString> told;
    if (told.contains(host::sqlca.url()))
        return;
    told.insert(host::sqlca.url());
    const QString first = state == journal::JournalState::NoTable
                              ? QStringLiteral("变更记录表 s_right_journal 不存在, 本次修改将不被记录.")
                              : QStringLiteral("变更记录的触发器不完整, 本次修改将不被记录.");
    host::MessageBox(QStringLiteral("提示"), first + QStringLiteral("\n请数据库管理员运行 wms-rights upgrade 添加变更记录."),
                     host::Icon::Information);
}

}  // namespace common

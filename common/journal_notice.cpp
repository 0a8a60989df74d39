#include "common/journal_notice.h"

#include "host/messages.h"
#include "host/transaction.h"

#include <QSet>
#include <QString>

namespace common {

void tellIfJournalOff()
{
    if (!host::sqlca.isConnected() || !host::sqlca.journalChanges || host::sqlca.journalAvailable())
        return;
    // Once for each database the session works on.
    static QSet<QString> told;
    if (told.contains(host::sqlca.url()))
        return;
    told.insert(host::sqlca.url());
    host::MessageBox(QStringLiteral("提示"), QStringLiteral("变更记录表 s_right_journal 不存在, 本次修改将不被记录."),
                     host::Icon::Information);
}

}  // namespace common

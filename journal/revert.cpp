#include "journal/revert.h"

#include "host/functions.h"
#include "rights/change_items.h"

namespace journal {

int revertChanges(host::Transaction& trans, const QList<qint64>& ids, journal::RevertOutcome* outcome)
{
    const QString who = host::gs_user_id;
    const auto permitted = [who](const journal::JournalEntry& entry) -> QString {
        if (rights::mayChange(entry.table, who))
            return {};
        const QString item = rights::changeItem(entry.table);
        if (item.isEmpty())
            return QStringLiteral("变更 %1 不能撤销: 表 %2 的修改没有指定模块项, 只有 admin 可以撤销.")
                .arg(entry.id)
                .arg(entry.table);
        return QStringLiteral("变更 %1 不能撤销: 撤销 %2 的修改需要模块项 %3 的修改权限, 当前操作员没有.")
            .arg(entry.id)
            .arg(entry.table, item);
    };
    return journal::revertJournalEntries(trans, ids, permitted, outcome);
}

QString revertNotice(qsizetype count, const journal::RevertOutcome& outcome)
{
    QString text = QStringLiteral("已撤销 %1 条变更.").arg(count);
    for (const QString& id : outcome.restoredWithoutPassword)
        text += QStringLiteral("\n操作员 %1 已恢复, 但没有密码: 在管理员用 设置密码 为其设置新密码之前不能登录.").arg(id);
    for (const QString& id : outcome.passwordKept)
        text += QStringLiteral("\n操作员 %1 的密码未撤销, 保持当前密码.").arg(id);
    return text;
}

}  // namespace journal

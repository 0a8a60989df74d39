#include "rightsetup/rights_writer.h"

#include "common/administration_guard.h"
#include "host/messages.h"
#include "host/operation.h"

namespace rightsetup {

namespace {

const QString kTitle = QStringLiteral("提示");

void tellChangedMeanwhile(const RightChange& change)
{
    host::MessageBox(kTitle,
                     QStringLiteral("操作组 %1 在模块项 %2 上的权限已被其他用户修改, 本次修改全部未保存.\n"
                                    "请重新读取后再修改.")
                         .arg(change.group, change.item),
                     host::Icon::Exclamation);
}

}  // namespace

bool writeChanges(const QList<RightChange>& changes)
{
    const QString repeated = repeatedCell(changes);
    if (!repeated.isEmpty()) {
        host::MessageBox(kTitle, QStringLiteral("同一权限 %1 有两项修改, 未保存.").arg(repeated),
                         host::Icon::Exclamation);
        return false;
    }
    if (changes.isEmpty())
        return true;

    common::AdministrationGuard guard;
    host::Operation operation;
    for (const RightChange& change : changes) {
        int code = host::Transaction::kSuccess;
        if (!change.before) {
            // The row was not there when the changes were made: a row that
            // another client added since is not overwritten.
            QVariantList into;
            code = operation.transaction().selectInto(
                QStringLiteral("select count ( *) from s_group_power where group_id = ? and m_item_code = ?"),
                {change.group, change.item}, into);
            if (code == host::Transaction::kSuccess && !into.isEmpty() && into.first().toLongLong() > 0) {
                operation.rollback();
                tellChangedMeanwhile(change);
                return false;
            }
            if (code != host::Transaction::kError)
                code = operation.execute(
                    QStringLiteral("insert into s_group_power ( group_id , m_item_code , group_right ) values ( ? , ? , ? )"),
                    {change.group, change.item, *change.after});
        } else if (change.after) {
            code = operation.execute(
                QStringLiteral("update s_group_power set group_right = ? where group_id = ? and m_item_code = ?"),
                {*change.after, change.group, change.item});
        } else {
            code = operation.execute(QStringLiteral("delete from s_group_power where group_id = ? and m_item_code = ?"),
                                     {change.group, change.item});
        }
        if (code == host::Transaction::kError) {
            operation.rollback();
            host::databaseErrorBox(operation.error());
            return false;
        }
        // An update or delete that found no row: another client deleted it.
        if (change.before && operation.transaction().sqlnrows < 1) {
            operation.rollback();
            tellChangedMeanwhile(change);
            return false;
        }
    }
    if (!guard.allows()) {
        operation.rollback();
        return false;  // the operator was told why
    }
    if (operation.commit() != host::Transaction::kSuccess) {
        host::databaseErrorBox(operation.error());
        return false;
    }
    return true;
}

}  // namespace rightsetup

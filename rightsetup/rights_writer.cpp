#include "rightsetup/rights_writer.h"

#include "common/administration_guard.h"
#include "host/changed_meanwhile.h"
#include "host/messages.h"
#include "host/operation.h"

namespace rightsetup {

namespace {

const QString kTitle = QStringLiteral("提示");

QString cellWhat(const RightChange& change)
{
    return QStringLiteral("操作组 %1 在模块项 %2 上的权限").arg(change.group, change.item);
}

// The row of the change as the window read it: its key and the level read
// (a level read as NULL is matched as NULL).
QString readCondition(const RightChange& change, QVariantList* params)
{
    *params << change.group << change.item;
    if (change.before->isNull())
        return QStringLiteral("group_id = ? and m_item_code = ? and group_right is null");
    *params << *change.before;
    return QStringLiteral("group_id = ? and m_item_code = ? and group_right = ?");
}

enum class Step { Done, Error, ChangedMeanwhile };

// One change on the operation's transaction.
Step writeOne(host::Operation& operation, const RightChange& change)
{
    host::Transaction& trans = operation.transaction();
    if (!change.before) {
        // The row was not there when the window read it: a row another
        // client added since is not overwritten.
        QVariantList into;
        const int code = trans.selectInto(
            QStringLiteral("select count ( *) from s_group_power where group_id = ? and m_item_code = ?"),
            {change.group, change.item}, into);
        if (code == host::Transaction::kError)
            return Step::Error;
        if (code == host::Transaction::kSuccess && !into.isEmpty() && into.first().toLongLong() > 0)
            return Step::ChangedMeanwhile;
        return operation.execute(QStringLiteral("insert into s_group_power ( group_id , m_item_code , group_right ) "
                                                "values ( ? , ? , ? )"),
                                 {change.group, change.item, *change.after}) == host::Transaction::kError
                   ? Step::Error
                   : Step::Done;
    }
    QVariantList params;
    QString sql;
    if (change.after) {
        params << *change.after;
        sql = QStringLiteral("update s_group_power set group_right = ? where ");
    } else {
        sql = QStringLiteral("delete from s_group_power where ");
    }
    sql += readCondition(change, &params);
    if (operation.execute(sql, params) == host::Transaction::kError)
        return Step::Error;
    // No row with the level read: another client changed or deleted it.
    return trans.sqlnrows < 1 ? Step::ChangedMeanwhile : Step::Done;
}

WriteResult changedMeanwhile(host::Operation& operation, const QString& failure, const QString& what)
{
    operation.transaction().recordChangedMeanwhile(host::changedMeanwhileText(what));
    operation.rollback();
    return host::askReadAgain(failure, operation.error()) ? WriteResult::ReadAgain : WriteResult::Refused;
}

WriteResult databaseError(host::Operation& operation)
{
    operation.rollback();
    host::databaseErrorBox(operation.error());
    return WriteResult::Refused;
}

}  // namespace

WriteResult writeChanges(const QList<RightChange>& changes, const WriteRequest& request)
{
    const QString repeated = repeatedCell(changes);
    if (!repeated.isEmpty()) {
        host::MessageBox(kTitle, QStringLiteral("同一权限 %1 有两项修改, 未保存.").arg(repeated),
                         host::Icon::Exclamation);
        return WriteResult::Refused;
    }
    if (changes.isEmpty())
        return WriteResult::Written;

    // Every read that decides a write below runs inside the write's own
    // transaction.
    host::Operation operation;
    if (!operation.begin())
        return databaseError(operation);
    common::AdministrationGuard guard;
    if (request.stillHolds && !request.stillHolds()) {
        if (operation.transaction().sqlcode == host::Transaction::kError)
            return databaseError(operation);
        return changedMeanwhile(operation, request.failure, request.changedWhat);
    }
    for (const RightChange& change : changes) {
        switch (writeOne(operation, change)) {
        case Step::Done:
            break;
        case Step::Error:
            return databaseError(operation);
        case Step::ChangedMeanwhile:
            return changedMeanwhile(operation, request.failure, cellWhat(change));
        }
    }
    if (!guard.allows()) {
        operation.rollback();
        return WriteResult::Refused;  // the operator was told why
    }
    if (operation.commit() != host::Transaction::kSuccess) {
        host::databaseErrorBox(operation.error());
        return WriteResult::Refused;
    }
    return WriteResult::Written;
}

}  // namespace rightsetup

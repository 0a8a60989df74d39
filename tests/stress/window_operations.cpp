#include "tests/stress/window_operations.h"

#include "common/administration_guard.h"
#include "host/changed_meanwhile.h"
#include "host/operation.h"

namespace stress {

namespace {

using host::Transaction;

WriteOutcome refused(host::Operation& operation, const QString& reason)
{
    operation.rollback();
    return {false, reason};
}

WriteOutcome changedMeanwhile(host::Operation& operation)
{
    return refused(operation, host::changedMeanwhileText(QStringLiteral("数据")));
}

// The end of a guarded operation: the lock-out guard, then COMMIT.
WriteOutcome finish(host::Operation& operation, common::AdministrationGuard& guard, bool guarded)
{
    if (guarded && !guard.allows(false))
        return refused(operation, guard.reason());
    if (operation.commit() != Transaction::kSuccess)
        return {false, operation.error()};
    return {true, {}};
}

}  // namespace

WriteOutcome renameGroup(const QString& group, const QString& nameRead, const QString& name)
{
    // The frame takes the administration lock for every rename and delete.
    common::AdministrationGuard guard;
    host::Operation operation;
    if (!guard.reason().isEmpty())
        return refused(operation, guard.reason());
    const int status =
        nameRead.isNull()
            ? operation.execute("update s_group set group_name = ? where group_id = ? and group_name is null",
                                {name, group})
            : operation.execute("update s_group set group_name = ? where group_id = ? and group_name = ?",
                                {name, group, nameRead});
    if (status != Transaction::kSuccess)
        return refused(operation, operation.error());
    if (operation.transaction().sqlnrows < 1)
        return changedMeanwhile(operation);
    return finish(operation, guard, false);
}

WriteOutcome addMember(const QString& user, const QString& group)
{
    host::Operation operation;
    if (!operation.begin())
        return refused(operation, operation.error());
    // The dialog's count, inside the write's transaction.
    QVariantList have;
    if (operation.transaction().selectInto("select count ( *) from s_user_group where user_code = ? and group_code = ?",
                                           {user, group}, have)
        != Transaction::kSuccess)
        return refused(operation, operation.error());
    if (have.value(0).toLongLong() > 0)
        return changedMeanwhile(operation);
    if (operation.execute("insert into s_user_group ( user_code , group_code ) values ( ? , ? )", {user, group})
        != Transaction::kSuccess)
        return refused(operation, operation.error());
    if (operation.commit() != Transaction::kSuccess)
        return {false, operation.error()};
    return {true, {}};
}

WriteOutcome removeMember(const QString& user, const QString& group)
{
    common::AdministrationGuard guard;
    host::Operation operation;
    if (!guard.reason().isEmpty())
        return refused(operation, guard.reason());
    if (operation.execute("delete from s_user_group where user_code = ? and group_code = ?", {user, group})
        != Transaction::kSuccess)
        return refused(operation, operation.error());
    if (operation.transaction().sqlnrows < 1)
        return changedMeanwhile(operation);
    return finish(operation, guard, true);
}

WriteOutcome moveMember(const QString& user, const QString& from, const QString& to)
{
    common::AdministrationGuard guard;
    host::Operation operation;
    if (!guard.reason().isEmpty())
        return refused(operation, guard.reason());
    if (operation.execute("update s_user_group set group_code = ? where user_code = ? and group_code = ?",
                          {to, user, from})
        != Transaction::kSuccess)
        return refused(operation, operation.error());
    if (operation.transaction().sqlnrows < 1)
        return changedMeanwhile(operation);
    return finish(operation, guard, true);
}

}  // namespace stress

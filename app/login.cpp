#include "app/login.h"

#include "host/functions.h"
#include "host/operation.h"
#include "host/password.h"
#include "host/transaction.h"
#include "schema/tables.h"

#include <QScopeGuard>

namespace app {

namespace {

const QString kWrongLogin = QStringLiteral("操作员编号或密码错误.");
const QString kNoPassword = QStringLiteral("该操作员尚未设置密码, 请联系管理员设置.");

// The log names the operator and the reason; never what was typed. An
// overlong id is cut on its own, so that the reason after it survives.
void logRefusal(const QString& id, const QString& reason)
{
    host::f_log(QStringLiteral("登录失败: 操作员 %1, %2").arg(host::shortenForLog(id), reason));
}

void logAcceptance(const QString& id)
{
    host::f_log(QStringLiteral("登录成功: 操作员 %1").arg(id));
}

LoginResult refused(const QString& id, const QString& reason, const QString& message = kWrongLogin)
{
    logRefusal(id, reason);
    LoginResult result;
    result.outcome = LoginOutcome::Refused;
    result.message = message;
    return result;
}

LoginResult failed(const QString& id, const QString& message, const QString& reason)
{
    logRefusal(id, QStringLiteral("数据库错误: ") + reason);
    LoginResult result;
    result.outcome = LoginOutcome::Failed;
    result.message = message;
    return result;
}

LoginResult accepted(const QString& id)
{
    logAcceptance(id);
    LoginResult result;
    result.outcome = LoginOutcome::Accepted;
    result.operatorId = id;
    return result;
}

// A refusal decided before any stored hash was checked still verifies one
// (the stand-in), so that it takes as long as a wrong password: the delay of
// the answer does not tell whether the operator exists, may log in or has a
// password.
LoginResult refusedAtHashCost(const QString& id, const QString& password, const QString& reason,
                              const QString& message = kWrongLogin)
{
    host::verifyStandIn(password);
    return refused(id, reason, message);
}

// The writes of a login are journaled as the operator's who logs in (no one
// is logged in yet, or another operator still is).
auto onBehalfOf(const QString& id)
{
    host::sqlca.journalOperator = id;
    return qScopeGuard([] { host::sqlca.journalOperator.clear(); });
}

// Replaces a plain stored password by its hash. A write the database refuses
// is only logged: the operator logs in all the same, and the next login tries
// again.
void upgradePlainPassword(const QString& id, const QString& stored, const QString& password)
{
    const QString hash = host::hashPassword(password);
    if (hash.isEmpty()) {
        host::f_log(QStringLiteral("密码未能改存为散列值: 操作员 %1, 无法计算散列值").arg(id));
        return;
    }
    const auto onBehalf = onBehalfOf(id);
    host::Operation operation;
    // Only the value that was checked is replaced: a password set meanwhile stays.
    if (operation.execute(QStringLiteral("update s_user set password = ? where id = ? and password = ?"),
                          {hash, id, stored}) != host::Transaction::kSuccess) {
        const QString reason = operation.error();
        operation.rollback();
        host::f_log(QStringLiteral("密码未能改存为散列值: 操作员 %1, %2").arg(id, reason));
        return;
    }
    const long rows = host::sqlca.sqlnrows;
    if (operation.commit() != host::Transaction::kSuccess) {
        host::f_log(QStringLiteral("密码未能改存为散列值: 操作员 %1, %2").arg(id, operation.error()));
        return;
    }
    if (rows > 0)
        host::f_log(QStringLiteral("密码已改存为散列值: 操作员 %1").arg(id));
}

}  // namespace

LoginResult checkLogin(const QString& operatorId, const QString& password)
{
    const QString id = host::trimBlanks(operatorId);
    if (host::f_isnull(id))
        return refusedAtHashCost(id, password, QStringLiteral("未输入操作员编号"),
                                 QStringLiteral("请输入操作员编号."));
    QVariantList row;
    const int code =
        host::sqlca.selectInto(QStringLiteral("select password, status from s_user where id = ?"), {id}, row);
    if (code == host::Transaction::kError)
        return failed(id, QStringLiteral("错误原因: ") + host::sqlca.sqlerrtext, host::sqlca.sqlerrtext);
    if (code == host::Transaction::kNotFound)
        return refusedAtHashCost(id, password, QStringLiteral("操作员不存在"));
    if (row.value(1).toString() != schema::kActiveOperatorStatus)
        return refusedAtHashCost(id, password,
                                 QStringLiteral("操作员不可登录 (状态 %1)").arg(row.value(1).toString()));
    const QString stored = row.value(0).toString();  // a null password is the empty one
    // Nobody may claim an account without a password: an administrator sets it.
    if (stored.isEmpty())
        return refusedAtHashCost(id, password, QStringLiteral("尚未设置密码"), kNoPassword);
    if (password.isEmpty())
        return refusedAtHashCost(id, password, QStringLiteral("未输入密码"));
    if (host::isPasswordHash(stored)) {
        if (!host::verifyPassword(stored, password))
            return refused(id, QStringLiteral("密码错误"));
        return accepted(id);
    }
    if (!host::plainPasswordMatches(stored, password))
        return refused(id, QStringLiteral("密码错误"));
    upgradePlainPassword(id, stored, password);
    return accepted(id);
}

QString operatorName(const QString& operatorId)
{
    return host::sqlca.selectValue(QStringLiteral("select name from s_employee where id = ?"), {operatorId})
        .toString();
}

}  // namespace app

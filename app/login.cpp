#include "app/login.h"

#include "host/functions.h"
#include "host/transaction.h"

namespace app {

LoginResult checkLogin(const QString& operatorId, const QString& password)
{
    LoginResult result;
    const QString id = host::trimBlanks(operatorId);
    if (host::f_isnull(id)) {
        result.outcome = LoginOutcome::Refused;
        result.message = QStringLiteral("请输入操作员编号.");
        return result;
    }
    QVariantList row;
    const int code = host::sqlca.selectInto(QStringLiteral("select password from s_user where id = ?"), {id}, row);
    if (code == host::Transaction::kError) {
        result.outcome = LoginOutcome::Failed;
        result.message = QStringLiteral("错误原因: ") + host::sqlca.sqlerrtext;
        return result;
    }
    const QString stored = row.value(0).toString();
    if (code == host::Transaction::kNotFound || stored != password) {
        result.outcome = LoginOutcome::Refused;
        result.message = QStringLiteral("操作员编号或密码错误.");
        return result;
    }
    result.outcome = LoginOutcome::Accepted;
    result.operatorId = id;
    return result;
}

QString operatorName(const QString& operatorId)
{
    return host::sqlca.selectValue(QStringLiteral("select name from s_employee where id = ?"), {operatorId})
        .toString();
}

}  // namespace app

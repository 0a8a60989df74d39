#include "rights/administrators.h"

#include "host/transaction.h"
#include "rights/admin.h"

namespace rights {

namespace {

// s_user.status of an operator who may log in.
const QString kActiveStatus = QStringLiteral("1");

QStringList& items()
{
    static QStringList codes;
    return codes;
}

}  // namespace

void setAdministrationItems(const QStringList& codes)
{
    items() = codes;
}

QStringList administrationItems()
{
    return items();
}

bool lockAdministration(host::Transaction& trans)
{
    if (!trans.beginWrite())
        return false;
    if (trans.dialect() != host::Dialect::Postgres)
        return true;
    QVariantList row;
    return trans.selectInto(QStringLiteral("select pg_advisory_xact_lock ( ? )"), {kAdministrationLockKey}, row)
           == host::Transaction::kSuccess;
}

long long administratorCount(host::Transaction& trans)
{
    // One operator's level on one item, as the right lookup reads it.
    const QString level = QStringLiteral(
        "( select max ( s_group_power.group_right ) from s_group_power , s_user_group "
        "where s_group_power.group_id = s_user_group.group_code and s_user_group.user_code = s_user.id "
        "and s_group_power.m_item_code = ? ) = ?");
    QString sql = QStringLiteral("select count ( * ) from s_user where lower ( s_user.id ) = ?");
    QVariantList params{kAdmin};
    if (!items().isEmpty()) {
        // Only an operator who can log in administers: status "1" and a
        // password (the login refuses an empty one).
        QStringList all{QStringLiteral("s_user.status = ?"), QStringLiteral("s_user.password <> ?")};
        params << kActiveStatus << QStringLiteral("");
        for (const QString& code : items()) {
            all << level;
            params << code << QStringLiteral("2");
        }
        sql += QStringLiteral(" or ( ") + all.join(QStringLiteral(" and ")) + QStringLiteral(" )");
    }
    QVariantList row;
    if (trans.selectInto(sql, params, row) != host::Transaction::kSuccess || row.isEmpty())
        return -1;
    return row.first().toLongLong();
}

}  // namespace rights

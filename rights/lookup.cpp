#include "rights/lookup.h"

#include "host/transaction.h"

#include <QSqlError>
#include <QSqlQuery>

namespace rights {

const QString kRightLookup = QStringLiteral(
    "select max ( s_group_power.group_right ) from s_group_power , s_user_group "
    "where s_group_power.group_id =s_user_group.group_code "
    "and s_user_group.user_code =? and s_group_power.m_item_code =?");

namespace {

QVariant bound(const QString& value)
{
    // A null string must reach the database as SQL null, not as ''.
    if (value.isNull())
        return QVariant(QMetaType::fromType<QString>());
    return value;
}

}  // namespace

Level lookupLevel(const QString& vs_operator, const QString& vs_module)
{
    host::Transaction& trans = host::sqlca;
    QSqlQuery* query = trans.prepared(kRightLookup);
    if (!query)
        return {};
    query->bindValue(0, bound(vs_operator));
    query->bindValue(1, bound(vs_module));
    if (!query->exec()) {
        trans.recordError(*query);
        query->finish();
        return {};
    }
    if (!query->next()) {
        // An aggregate always yields a row; none means the read failed.
        if (query->lastError().isValid())
            trans.recordError(*query);
        else
            trans.recordError(QStringLiteral("the right lookup returned no row"));
        query->finish();
        return {};
    }
    const QVariant value = query->value(0);
    // Finishing releases the statement at once: no read lock or snapshot is
    // held between two checks, so another client's change is seen next time.
    query->finish();
    trans.recordSuccess(1);
    Level level;
    level.ok = true;
    if (!value.isNull())
        level.value = value.toString();
    return level;
}

int levelNumber(const QString& level)
{
    if (level.size() != 1)
        return 0;
    switch (level.at(0).unicode()) {
    case u'1': return 1;
    case u'2': return 2;
    default: return 0;
    }
}

}  // namespace rights

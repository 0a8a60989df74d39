#include "rights/lookup.h"

#include "host/transaction.h"

namespace rights {

const QString kRightLookup = QStringLiteral(
    "select max ( s_group_power.group_right ) from s_group_power , s_user_group "
    "where s_group_power.group_id =s_user_group.group_code "
    "and s_user_group.user_code =? and s_group_power.m_item_code =?");

Level lookupLevel(const QString& vs_operator, const QString& vs_module)
{
    host::Transaction& trans = host::sqlca;
    // A null operator or module reaches the database as SQL null. The
    // statement is released at once: no read lock or snapshot is held
    // between two checks, so another client's change is seen next time.
    QString value;
    const int status = trans.selectText(kRightLookup, {vs_operator, vs_module}, &value);
    if (status == host::Transaction::kError)
        return {};
    if (status == host::Transaction::kNotFound) {
        // An aggregate always yields a row; none means the read failed.
        trans.recordError(QStringLiteral("the right lookup returned no row"));
        return {};
    }
    Level level;
    level.ok = true;
    level.value = value;
    return level;
}

bool lookupLevels(const QString& vs_operator, const QStringList& codes, QHash<QString, QString>* levels)
{
    constexpr qsizetype kChunk = 500;
    for (qsizetype from = 0; from < codes.size(); from += kChunk) {
        const QStringList chunk = codes.mid(from, kChunk);
        QVariantList params{vs_operator};
        for (const QString& code : chunk)
            params << code;
        // The lookup's own join and comparison, for every code at once.
        const QString sql =
            QStringLiteral("select s_group_power.m_item_code , max ( s_group_power.group_right ) from s_group_power , "
                           "s_user_group where s_group_power.group_id =s_user_group.group_code "
                           "and s_user_group.user_code =? and s_group_power.m_item_code in ( %1 ) "
                           "group by s_group_power.m_item_code")
                .arg(QStringList(chunk.size(), QStringLiteral("?")).join(QStringLiteral(" , ")));
        QList<QVariantList> rows;
        if (host::sqlca.selectRows(sql, params, &rows) == host::Transaction::kError)
            return false;
        for (const QVariantList& row : std::as_const(rows))
            levels->insert(row.value(0).toString(), row.value(1).isNull() ? QString() : row.value(1).toString());
    }
    return true;
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

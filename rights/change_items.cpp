#include "rights/change_items.h"

#include "rights/admin.h"
#include "rights/f_check_right.h"

namespace rights {

namespace {

QMap<QString, QString>& items()
{
    static QMap<QString, QString> codes = defaultChangeItems();
    return codes;
}

}  // namespace

const QMap<QString, QString>& defaultChangeItems()
{
    static const QMap<QString, QString> codes = {
        {QStringLiteral("s_group_power"), QStringLiteral("003")}, {QStringLiteral("s_group"), QStringLiteral("m102")},
        {QStringLiteral("s_user_group"), QStringLiteral("m102")}, {QStringLiteral("s_user"), QStringLiteral("m102")},
        {QStringLiteral("s_dept"), QStringLiteral("m101")},       {QStringLiteral("s_employee"), QStringLiteral("m101")},
    };
    return codes;
}

void setChangeItems(const QMap<QString, QString>& codes)
{
    items() = codes;
}

QMap<QString, QString> changeItems()
{
    return items();
}

QString changeItem(const QString& table)
{
    return items().value(table);
}

bool mayChange(const QString& table, const QString& operatorId)
{
    if (isAdminAnyCase(operatorId))
        return true;
    const QString item = changeItem(table);
    return !item.isEmpty() && f_check_right(item, QStringLiteral("2"), operatorId);
}

}  // namespace rights

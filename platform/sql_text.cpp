#include "platform/sql_text.h"

#include "host/transaction.h"

namespace platform {

QString ownerPrefix(const Definition& definition, const host::Transaction& trans)
{
    if (!definition.ownerQualified || trans.tableOwner.trimmed().isEmpty())
        return {};
    return trans.tableOwner.trimmed() + QLatin1Char('.');
}

QString selectText(const Definition& definition, const host::Transaction& trans)
{
    QString sql = definition.select;
    sql.replace(QLatin1String("{owner}"), ownerPrefix(definition, trans));
    return sql;
}

QString updateTableText(const Definition& definition, const host::Transaction& trans)
{
    return ownerPrefix(definition, trans) + definition.updateTable;
}

}  // namespace platform

// The operator of a write transaction, told to the database so that the
// change journal's triggers record who made each change (schema/journal_ddl.h).
#include "host/functions.h"
#include "host/transaction.h"

#include <QSqlQuery>
#include <optional>

namespace host {

namespace {

const QString kOperatorTable = QStringLiteral("s_journal_operator");

// Whether the SQLite database has the operator table; nothing when asking
// failed (`query` holds the error).
std::optional<bool> hasOperatorTable(QSqlQuery& query)
{
    if (!query.prepare(QStringLiteral("select count(*) from sqlite_master where type = 'table' and name = ?")))
        return std::nullopt;
    query.addBindValue(kOperatorTable);
    if (!query.exec() || !query.next())
        return std::nullopt;
    const bool present = query.value(0).toLongLong() > 0;
    query.finish();
    return present;
}

}  // namespace

bool Transaction::announceOperator()
{
    const QString id = !namesOperator ? QString() : journalOperator.isEmpty() ? gs_user_id : journalOperator;
    QSqlQuery query(database());
    if (dialect_ == Dialect::Postgres) {
        // Local to the transaction: gone with its COMMIT or ROLLBACK. An empty
        // value records the change as the session's, as any other client's.
        if (!query.prepare(QStringLiteral("select set_config('wms.operator', ?, true)")))
            return recordExec(query, false);
        query.addBindValue(id.isNull() ? QStringLiteral("") : id);
        if (!query.exec())
            return recordExec(query, false);
        query.finish();
        return true;
    }
    if (operatorTable_ == OperatorTable::Unknown) {
        const std::optional<bool> present = hasOperatorTable(query);
        if (!present)
            return recordExec(query, false);
        operatorTable_ = *present ? OperatorTable::Present : OperatorTable::Absent;
    }
    if (operatorTable_ == OperatorTable::Absent || id.isEmpty())
        return true;
    // SQLite lets one writer in at a time, and the row is gone again before
    // COMMIT: no other client ever reads it.
    if (!query.prepare(QStringLiteral("insert into s_journal_operator (operator_id) values (?)")))
        return recordExec(query, false);
    query.addBindValue(id);
    if (!query.exec())
        return recordExec(query, false);
    query.finish();
    return true;
}

bool Transaction::withdrawOperator()
{
    if (dialect_ != Dialect::Sqlite || operatorTable_ == OperatorTable::Absent)
        return true;
    QSqlQuery query(database());
    if (operatorTable_ == OperatorTable::Unknown) {
        // A statement of this transaction created or dropped tables after the
        // row was written: whatever is there now must not be committed.
        const std::optional<bool> present = hasOperatorTable(query);
        if (!present)
            return recordExec(query, false);
        if (!*present)
            return true;
    }
    if (!query.exec(QStringLiteral("delete from s_journal_operator")))
        return recordExec(query, false);
    query.finish();
    return true;
}

}  // namespace host

#pragma once
// The change journal kept by the database: s_right_journal and the triggers
// on the six rights tables (s_group, s_user_group, s_group_power, s_user,
// s_dept, s_employee) that write one entry per inserted, updated (with a
// value that changed) or deleted row, in the transaction of the change,
// whoever makes it:
//
//   changed_at    UTC, ISO 8601 with milliseconds ("2026-12-08T13:24:06.123Z")
//   operator_id   the operator the module named for its write transaction;
//                 a change by any other client: "db:" and PostgreSQL's
//                 session_user, or "(外部)" on SQLite
//   table_name, action (insert, update, delete)
//   row_key       the key columns as a JSON object: after the change for
//                 insert and update, before it for delete
//   before_value, after_value
//                 the whole row as a JSON object, null where there is no row
//
// A password column is never written: a non-empty value is "***" ("***(已修改)"
// after an update that changed it), an empty one "" and null null.
//
// The module names its operator (host/transaction.h): on PostgreSQL with
// set_config('wms.operator', id, true) in each write transaction; on SQLite,
// which lets one writer in at a time, in the one-row table
// s_journal_operator, filled after the transaction begins writing and
// emptied before its COMMIT (so no other client ever sees a row there).

#include "schema/export.h"

#include <QString>
#include <QStringList>

namespace host {
enum class Dialect;
}

namespace schema {

// A journaled table, its key columns and the columns the module creates.
struct JournaledTable {
    QString name;
    QStringList keys;
    QStringList columns;
};
WMS_SCHEMA_EXPORT const QList<JournaledTable>& journaledTables();
WMS_SCHEMA_EXPORT const JournaledTable* journaledTable(const QString& name);
// True for a password column: its values never reach the journal.
WMS_SCHEMA_EXPORT bool isSecretColumn(const QString& column);

// The operator table of SQLite.
inline const QString s_journal_operator = QStringLiteral("s_journal_operator");

// The journal's table and index (and, on SQLite, the operator table).
WMS_SCHEMA_EXPORT QStringList journalTableStatements(host::Dialect dialect);
// The trigger(s) of one table whose columns, in order, are `columns` (the
// table's own: a database may have more than the module creates). PostgreSQL:
// the table's trigger function and one trigger; SQLite: three triggers.
WMS_SCHEMA_EXPORT QStringList journalTriggerStatements(host::Dialect dialect, const JournaledTable& table,
                                                       const QStringList& columns);
// The names of a table's triggers (PostgreSQL: one; SQLite: three).
WMS_SCHEMA_EXPORT QStringList journalTriggerNames(host::Dialect dialect, const QString& table);
// PostgreSQL: the name of a table's trigger function.
WMS_SCHEMA_EXPORT QString journalFunctionName(const QString& table);

}  // namespace schema

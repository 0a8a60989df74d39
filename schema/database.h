#pragma once
// Creating and filling a rights database: for the demo host and the tests.
// The module itself never creates tables; it expects them to exist.

#include "schema/export.h"

#include <QString>
#include <QStringList>

namespace host {
class Transaction;
enum class Dialect;
}

namespace schema {

// The CREATE statements of the seven tables for the connection's database:
// the keys as primary keys, the column lengths enforced on both databases
// (on SQLite by CHECK constraints); then the change journal s_right_journal,
// its index on changed_at and its triggers.
WMS_SCHEMA_EXPORT QStringList createStatements(const host::Transaction& trans);
// The same for a database of that kind (Sqlite or Postgres), without a
// connection; createScript() joins them into one script, each statement ended
// by ";" and a line break: the files share/wms-rights/sql/sqlite.sql and
// postgresql.sql that the package installs.
WMS_SCHEMA_EXPORT QStringList createStatements(host::Dialect dialect);
// The two parts of it: the seven tables; the journal (its table, index and
// triggers, schema/journal_ddl.h). A bulk load creates the triggers last.
WMS_SCHEMA_EXPORT QStringList tableStatements(host::Dialect dialect);
WMS_SCHEMA_EXPORT QStringList journalStatements(host::Dialect dialect);
WMS_SCHEMA_EXPORT QString createScript(host::Dialect dialect);

// Creates the seven tables and (withJournal) the journal; false with
// trans.sqlerrtext on failure.
WMS_SCHEMA_EXPORT bool createTables(host::Transaction& trans, bool withJournal = true);
// Creates the journal: after a bulk load, whose rows are no change to record.
WMS_SCHEMA_EXPORT bool createJournal(host::Transaction& trans);
// Drops the seven tables and the journal if they exist.
WMS_SCHEMA_EXPORT bool dropTables(host::Transaction& trans);
// Whether the seven tables are there (the journal is optional), asked of the
// database's catalog and then of each table with a select that reads no row
// (so that the time it takes does not grow with the data):
//   Present  every table is there and can be read;
//   Missing  a table is not there (`missing` gets the names);
//   Failed   the check itself failed, e.g. a table locked by another client
//            (PostgreSQL: after lock_timeout) or a table that cannot be read;
//            trans.sqlerrtext says why.
enum class TablesCheck { Present, Missing, Failed };
WMS_SCHEMA_EXPORT TablesCheck checkTables(host::Transaction& trans, QStringList* missing = nullptr);
// True when the database has s_right_journal; false also when asking failed
// (trans.sqlcode is then -1).
WMS_SCHEMA_EXPORT bool hasJournalTable(host::Transaction& trans);
// True when checkTables finds every table.
WMS_SCHEMA_EXPORT bool tablesExist(host::Transaction& trans);

// Inserts the sample data set (departments, employees, operators among them
// "admin", groups, module items of the demo host, rights) and commits.
WMS_SCHEMA_EXPORT bool loadSampleData(host::Transaction& trans);

}  // namespace schema

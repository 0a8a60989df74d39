#pragma once
// Creating and filling a rights database: for the demo host and the tests.
// The module itself never creates tables; it expects them to exist.

#include <QString>
#include <QStringList>

namespace host {
class Transaction;
}

namespace schema {

// The CREATE statements of the seven tables for the connection's database:
// the keys as primary keys, the column lengths enforced on both databases
// (on SQLite by CHECK constraints).
QStringList createStatements(const host::Transaction& trans);

// Creates the seven tables; false with trans.sqlerrtext on failure.
bool createTables(host::Transaction& trans);
// Drops the seven tables if they exist.
bool dropTables(host::Transaction& trans);
// True when all seven tables exist.
bool tablesExist(host::Transaction& trans);

// Inserts the sample data set (departments, employees, operators among them
// "admin", groups, module items of the demo host, rights) and commits.
bool loadSampleData(host::Transaction& trans);

}  // namespace schema

#pragma once
// The large rights database of the benchmarks (bench/dataset.h) on each
// backend: a SQLite file in the temporary folder, generated in one
// transaction and kept between runs, and a PostgreSQL schema of its own on
// the server named by WMS_PG_URL, loaded with COPY once per run and dropped
// at the end of the run.

#include "bench/dataset.h"

#include <QString>
#include <string>
#include <vector>

namespace bench {

QString operatorId(int index);  // "U00042"
QString itemCode(int index);    // "M0042"
QString groupId(int index);     // "042"

// The rows, generated on first use.
const Dataset& dataset();

// The path of the SQLite database, generated first when it is missing or
// stale. Empty (with a message on stderr) when it cannot be made.
QString sqliteDatabase();

// The PostgreSQL copy of the same rows.
struct PgDatabase {
    bool ok = false;
    // Why there is none: WMS_PG_URL not set, server unreachable, load failed.
    std::string reason;
    // For sqlca: WMS_PG_URL with ?schema=NAME.
    QString url;
    // For libpq: WMS_PG_URL, and the schema to put on the search path.
    std::string serverUrl;
    std::string schema;
};
// Loads the schema on first call (once per run).
const PgDatabase& postgresDatabase();
// Drops the schema made by postgresDatabase(), if any.
void dropPostgresDatabase();

// Checks the loaded rows against the dataset: table sizes, the members
// group's 5,000 operators and the full-rights group's 2,000 rows. Empty when
// all agree, else what differs.
std::string checkSqlite(const QString& path);
std::string checkPostgres(const PgDatabase& db);

// A fixed sequence of (operator, item) pairs the lookups cycle through.
struct Probe {
    QString op;
    QString item;
    std::string opUtf8;
    std::string itemUtf8;
};
const std::vector<Probe>& probes();

}  // namespace bench

#pragma once
// Opening the host's connection sqlca from a database URL, and the sample
// database the demo host uses by default.

#include <QString>

namespace app {

// ~/.local/share/wms-rights/sample.db
QString defaultDatabasePath();

// The SQLite file a URL names, or an empty string (PostgreSQL, :memory:).
QString sqliteFile(const QString& url);

struct OpenResult {
    bool ok = false;
    bool created = false;  // a new sample database was created and filled
    QString error;         // why the database could not be opened
};

// Connects host::sqlca to `url` and checks that the rights tables are there.
// A SQLite file that does not exist is created with the tables and the sample
// data when `createIfMissing` is set and refused otherwise; an existing
// database is never changed.
OpenResult openDatabase(const QString& url, bool createIfMissing);

// Where the host's log goes: next to a SQLite database file, otherwise in the
// folder of the sample database.
QString logFileFor(const QString& url);

}  // namespace app

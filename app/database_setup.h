#pragma once
// Opening the host's connection sqlca from a database URL, and the sample
// database the demo host uses by default.

#include <QString>

namespace app {

// ~/.local/share/wms-rights/sample.db
QString defaultDatabasePath();
// True when `url` names the sample database's file (the only one ever created).
bool isDefaultDatabase(const QString& url);

// The SQLite file a URL names, or an empty string (PostgreSQL, :memory:).
QString sqliteFile(const QString& url);

struct OpenResult {
    bool ok = false;
    bool created = false;  // a new sample database was created and filled
    QString error;         // why the database could not be opened
};

// Connects host::sqlca to `url` and checks that the rights tables are there.
// A SQLite file that does not exist is created with the tables and the sample
// data when `createIfMissing` is set and refused otherwise; an empty (0-byte)
// file is refused; an existing database is never changed. A `readOnly`
// connection writes nothing at all (host::Transaction::connect); a sample it
// had to create is opened again read-only.
OpenResult openDatabase(const QString& url, bool createIfMissing, bool readOnly = false);

// Where the host's log goes: next to a SQLite database file, otherwise in the
// folder of the sample database.
QString logFileFor(const QString& url);

}  // namespace app

#pragma once
// Opening the host's connection sqlca from a database URL, and the sample
// database the demo host uses by default.

#include <QString>

namespace app {

// ~/.local/share/wms-rights/sample.db
QString defaultDatabasePath();
// True when `url` names the sample database's file (the only one ever created).
bool isDefaultDatabase(const QString& url);

// The SQLite file a URL names, or an empty string (PostgreSQL, :memory:, a
// file: URI).
QString sqliteFile(const QString& url);
// True for a SQLite file: URI (file:..., sqlite:file:...), which
// openDatabase refuses: a database is named by its path.
bool isFileUri(const QString& url);

struct OpenResult {
    bool ok = false;
    bool created = false;  // a new sample database was created and filled
    QString error;         // why the database could not be opened
};

// Connects host::sqlca to `url` and checks that the rights tables are there
// (schema::checkTables: a missing table and a check that failed, such as a
// table locked by another client, are told apart in the error).
// A SQLite file that does not exist is created with the tables and the sample
// data when `createIfMissing` is set and refused otherwise; an empty (0-byte)
// file and a file: URI are refused; an existing database is never changed.
// A `readOnly` connection writes nothing at all (host::Transaction::connect);
// a sample it had to create is opened again read-only.
OpenResult openDatabase(const QString& url, bool createIfMissing, bool readOnly = false);

// Where the host's log goes: next to a SQLite database file, otherwise in the
// folder of the sample database.
QString logFileFor(const QString& url);

}  // namespace app

#pragma once
// Statements prepared once on a SQLite connection's own handle, for the reads
// that run hundreds of times per user action (the right lookup): binding text
// and reading one value through the sqlite3 API costs a third of a round
// through QSqlQuery. The handle is Qt's own connection (QSqlDriver::handle()),
// so these statements see exactly what the connection's other statements see,
// inside its transactions too.

#include "host_database/export.h"

#include <QHash>
#include <QList>
#include <QVariantList>
#include <QString>
#include <QStringList>

struct sqlite3;
struct sqlite3_stmt;

namespace host {

class TextRows;

class WMS_HOST_DATABASE_EXPORT SqliteStatements {
public:
    SqliteStatements() = default;
    ~SqliteStatements();
    SqliteStatements(const SqliteStatements&) = delete;
    SqliteStatements& operator=(const SqliteStatements&) = delete;

    // The handle to prepare on; null drops every statement (before the
    // connection closes).
    void attach(sqlite3* handle);
    bool attached() const { return handle_ != nullptr; }

    // Runs `sql` with `params` bound as text (a null string as SQL null) and
    // reads the first column of the first row into `value` (null for SQL
    // null). Returns 0 with a row, 100 without, -1 on error (`error` set).
    int selectFirst(const QString& sql, const QStringList& params, QString* value, QString* error);
    // Runs `sql` and appends every row to `rows`, each column as text (null
    // for SQL null). Returns 0 (rows read, maybe none) or -1 on error.
    int selectRows(const QString& sql, const QStringList& params, QList<QVariantList>* rows, QString* error);
    // The same into `rows` (emptied first; empty after an error) as the
    // database's text, made into strings when a row is read.
    int readRows(const QString& sql, const QStringList& params, TextRows* rows, QString* error);

private:
    // The statement for `sql` with `params` bound, or null (`error` set).
    sqlite3_stmt* bound(const QString& sql, const QStringList& params, QString* error);

    sqlite3* handle_ = nullptr;
    QHash<QString, sqlite3_stmt*> statements_;
    QString lastText_;
    sqlite3_stmt* last_ = nullptr;
};

}  // namespace host

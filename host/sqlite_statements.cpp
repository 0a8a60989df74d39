#include "host/sqlite_statements.h"

#include "host/text_rows.h"

#include <string>
#include <string_view>
#include <vector>

#include <sqlite3.h>

namespace host {

SqliteStatements::~SqliteStatements()
{
    attach(nullptr);
}

void SqliteStatements::attach(sqlite3* handle)
{
    for (sqlite3_stmt* statement : std::as_const(statements_))
        sqlite3_finalize(statement);
    statements_.clear();
    lastText_.clear();
    last_ = nullptr;
    handle_ = handle;
}

sqlite3_stmt* SqliteStatements::bound(const QString& sql, const QStringList& params, QString* error)
{
    if (!handle_) {
        *error = QStringLiteral("not connected");
        return nullptr;
    }
    // The same statement text as last time (the same shared string, as a
    // constant is) needs no hash lookup.
    sqlite3_stmt* statement = sql.constData() == lastText_.constData() ? last_ : statements_.value(sql);
    if (!statement) {
        const QByteArray text = sql.toUtf8();
        if (sqlite3_prepare_v2(handle_, text.constData(), int(text.size()), &statement, nullptr) != SQLITE_OK) {
            *error = QString::fromUtf8(sqlite3_errmsg(handle_));
            sqlite3_finalize(statement);
            return nullptr;
        }
        statements_.insert(sql, statement);
    }
    lastText_ = sql;
    last_ = statement;
    for (int i = 0; i < params.size(); ++i) {
        const QString& param = params.at(i);
        // UTF-8, the database's own encoding: nothing to translate while comparing.
        const QByteArray text = param.toUtf8();
        const int rc = param.isNull() ? sqlite3_bind_null(statement, i + 1)
                                      : sqlite3_bind_text(statement, i + 1, text.constData(), int(text.size()),
                                                          SQLITE_TRANSIENT);
        if (rc != SQLITE_OK) {
            *error = QString::fromUtf8(sqlite3_errmsg(handle_));
            sqlite3_reset(statement);
            sqlite3_clear_bindings(statement);
            return nullptr;
        }
    }
    return statement;
}

namespace {

QString columnText(sqlite3_stmt* statement, int column)
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    return QString::fromUtf8(text, sqlite3_column_bytes(statement, column));
}

// Reset at once: no read lock or snapshot stays after the statement.
void release(sqlite3_stmt* statement)
{
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
}

}  // namespace

int SqliteStatements::selectFirst(const QString& sql, const QStringList& params, QString* value, QString* error)
{
    *value = QString();
    sqlite3_stmt* statement = bound(sql, params, error);
    if (!statement)
        return -1;
    const int rc = sqlite3_step(statement);
    int status = 100;
    if (rc == SQLITE_ROW) {
        status = 0;
        if (sqlite3_column_type(statement, 0) != SQLITE_NULL)
            *value = columnText(statement, 0);
    } else if (rc != SQLITE_DONE) {
        *error = QString::fromUtf8(sqlite3_errmsg(handle_));
        status = -1;
    }
    release(statement);
    return status;
}

int SqliteStatements::selectRows(const QString& sql, const QStringList& params, QList<QVariantList>* rows,
                                 QString* error)
{
    sqlite3_stmt* statement = bound(sql, params, error);
    if (!statement)
        return -1;
    const int columns = sqlite3_column_count(statement);
    // A column often repeats the value of the row before (the group of every
    // row of a group's rights, a level): the string is shared, not copied.
    std::vector<std::string> lastBytes(size_t(qMax(columns, 0)));
    QVariantList last(columns);
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        QVariantList row;
        row.reserve(columns);
        for (int c = 0; c < columns; ++c) {
            if (sqlite3_column_type(statement, c) == SQLITE_NULL) {
                row.append(QVariant());
                continue;
            }
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, c));
            const QByteArrayView bytes(text, sqlite3_column_bytes(statement, c));
            std::string& previous = lastBytes[size_t(c)];
            if (last.at(c).isNull() || std::string_view(text, size_t(bytes.size())) != previous) {
                previous.assign(text, size_t(bytes.size()));
                last[c] = QVariant(QString::fromUtf8(bytes));
            }
            row.append(last.at(c));
        }
        rows->append(std::move(row));
    }
    const bool failed = rc != SQLITE_DONE;
    if (failed)
        *error = QString::fromUtf8(sqlite3_errmsg(handle_));
    release(statement);
    return failed ? -1 : 0;
}

int SqliteStatements::readRows(const QString& sql, const QStringList& params, TextRows* rows, QString* error)
{
    sqlite3_stmt* statement = bound(sql, params, error);
    if (!statement)
        return -1;
    const int columns = sqlite3_column_count(statement);
    rows->reset(columns);
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        for (int c = 0; c < columns; ++c) {
            // Text first, then its length (the order sqlite3 documents); no
            // text is SQL null, or memory sqlite3 could not get.
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, c));
            if (text)
                rows->append(text, sqlite3_column_bytes(statement, c));
            else if (sqlite3_column_type(statement, c) == SQLITE_NULL)
                rows->append(nullptr, 0);
            else
                break;
        }
        if (sqlite3_errcode(handle_) == SQLITE_NOMEM) {
            rc = SQLITE_NOMEM;
            break;
        }
    }
    const bool failed = rc != SQLITE_DONE;
    if (failed) {
        *error = QString::fromUtf8(sqlite3_errmsg(handle_));
        rows->reset(columns);
    }
    release(statement);
    return failed ? -1 : 0;
}

}  // namespace host

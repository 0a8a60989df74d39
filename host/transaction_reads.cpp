// The reads of a transaction: one value, every row, or the rows kept as the
// database's text (SQLite through the connection's own handle, PostgreSQL
// through the driver's libpq result).
#include "host/transaction.h"

#include "host/postgres_rows.h"
#include "host/sqlite_statements.h"
#include "host/text_rows.h"

#include <QSqlError>
#include <QSqlRecord>

namespace host {

int Transaction::selectText(const QString& sql, const QStringList& params, QString* value)
{
    *value = QString();
    if (dialect_ == Dialect::Sqlite && sqliteStatements_->attached()) {
        QString error;
        const int status = sqliteStatements_->selectFirst(sql, params, value, &error);
        if (status == kError)
            recordSqliteError(error);
        else
            recordSuccess(status == kSuccess ? 1 : 0, status);
        return status;
    }
    QSqlQuery* query = prepared(sql);
    QVariantList values;
    values.reserve(params.size());
    for (const QString& param : params)
        values << param;
    if (!query || !run(*query, values))
        return kError;
    const bool found = query->next();
    const QVariant read = found ? query->value(0) : QVariant();
    if (!finishSelect(*query, found ? 1 : 0))
        return kError;
    if (found && !read.isNull())
        *value = read.toString();
    return sqlcode;
}

int Transaction::selectRows(const QString& sql, const QVariantList& params, QList<QVariantList>* rows)
{
    const qsizetype before = rows->size();
    if (dialect_ == Dialect::Sqlite && sqliteStatements_->attached()) {
        QString error;
        if (sqliteStatements_->selectRows(sql, textParameters(params), rows, &error) != kSuccess) {
            rows->resize(before);
            recordSqliteError(error);
            return kError;
        }
        recordSuccess(long(rows->size() - before));
        return kSuccess;
    }
    QSqlQuery* query = startRows(sql, params);
    if (!query)
        return kError;
    const long count = takeRows(*query, [rows](QVariantList&& row) { rows->append(std::move(row)); });
    if (!finishSelect(*query, count)) {
        rows->resize(before);
        return kError;
    }
    recordSuccess(long(rows->size() - before));
    return kSuccess;
}

int Transaction::readRows(const QString& sql, const QVariantList& params, TextRows* rows)
{
    rows->reset(0);
    if (dialect_ == Dialect::Sqlite && sqliteStatements_->attached()) {
        QString error;
        if (sqliteStatements_->readRows(sql, textParameters(params), rows, &error) != kSuccess) {
            recordSqliteError(error);
            return kError;
        }
        recordSuccess(long(rows->rowCount()));
        return kSuccess;
    }
    QSqlQuery* query = startRows(sql, params);
    if (!query)
        return kError;
    if (dialect_ != Dialect::Postgres || !readPostgresText(*query, rows))
        takeRows(*query, [rows](QVariantList&& row) { rows->appendRow(std::move(row)); });
    if (!finishSelect(*query, long(rows->rowCount()))) {
        rows->reset(0);
        return kError;
    }
    recordSuccess(long(rows->rowCount()));
    return kSuccess;
}

QStringList Transaction::textParameters(const QVariantList& params)
{
    QStringList texts;
    texts.reserve(params.size());
    for (const QVariant& param : params)
        texts << (param.isNull() ? QString() : param.toString());
    return texts;
}

void Transaction::recordSqliteError(const QString& error)
{
    recordError(error.contains(QLatin1String("database is locked"))
                    ? QStringLiteral("数据库正被其他连接锁定，请稍后再试 (database is locked)")
                    : error);
}

QSqlQuery* Transaction::startRows(const QString& sql, const QVariantList& params)
{
    QSqlQuery* query = prepared(sql);
    if (!query)
        return nullptr;
    // All rows at once: forward-only, the PostgreSQL driver fetches them one
    // result at a time (single-row mode), which costs more than the rows.
    query->setForwardOnly(false);
    return run(*query, params) ? query : nullptr;
}

long Transaction::takeRows(QSqlQuery& query, const std::function<void(QVariantList&&)>& take)
{
    const int columns = query.record().count();
    long count = 0;
    while (query.next()) {
        QVariantList row;
        row.reserve(columns);
        for (int c = 0; c < columns; ++c) {
            QVariant value = query.value(c);
            if (value.isNull())
                row.append(QVariant());
            else if (value.typeId() == QMetaType::QString)
                row.append(std::move(value));
            else
                row.append(QVariant(value.toString()));
        }
        take(std::move(row));
        ++count;
    }
    return count;
}

}  // namespace host

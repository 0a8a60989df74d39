// A transaction's statements and its state: read and write transactions,
// running a statement and recording its outcome, COMMIT and ROLLBACK.
#include "host/transaction.h"

#include "host/change_log.h"
#include "host/functions.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlRecord>
#include <utility>

namespace host {

namespace {

// A null value, or a null string, reaches the database as SQL null (a null
// QString would otherwise be bound as '' by some drivers).
QVariant boundValue(const QVariant& value)
{
    if (value.isNull() || (value.typeId() == QMetaType::QString && value.toString().isNull()))
        return QVariant(QMetaType::fromType<QString>());
    return value;
}

}  // namespace

bool Transaction::beginRead()
{
    if (inWrite_ || inRead_ || writeLost_ || !reopenIfLost() || !isConnected())
        return false;
    QSqlQuery begin(database());
    if (!begin.exec(dialect_ == Dialect::Sqlite ? QStringLiteral("BEGIN") : QStringLiteral("BEGIN READ ONLY"))) {
        recordError(begin);
        return false;
    }
    inRead_ = true;
    return true;
}

void Transaction::endRead()
{
    if (!inRead_)
        return;
    inRead_ = false;
    if (!isConnected())
        return;
    QSqlQuery end(database());
    // Nothing was written: COMMIT only releases the snapshot and the locks.
    if (!end.exec(QStringLiteral("COMMIT")))
        noteLostConnection();
}

bool Transaction::beginWrite()
{
    if (inRead_) {
        recordError(QStringLiteral("a read transaction is open: nothing may be written in it"));
        return false;
    }
    if (writeLost_) {
        recordError(QStringLiteral("与数据库的连接已断开，未完成的操作已放弃"));
        return false;
    }
    if (inWrite_)
        return true;
    if (!reopenIfLost())
        return false;
    if (!isConnected()) {
        recordError(QStringLiteral("not connected"));
        return false;
    }
    QSqlDatabase db = database();
    if (dialect_ == Dialect::Sqlite) {
        // IMMEDIATE takes the write lock at once, so two clients never
        // deadlock upgrading a read lock.
        QSqlQuery begin(db);
        if (!begin.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
            recordError(begin);
            return false;
        }
    } else if (!db.transaction()) {
        recordError(errorText(db.lastError()));
        noteLostConnection();
        return false;
    }
    inWrite_ = true;
    if (!announceOperator()) {
        const QString reason = sqlerrtext;
        (void)rollback();
        recordError(reason);
        return false;
    }
    return true;
}

bool Transaction::run(QSqlQuery& query, const QVariantList& params)
{
    for (int i = 0; i < params.size(); ++i)
        query.bindValue(i, boundValue(params.at(i)));
    return recordExec(query, query.exec());
}

bool Transaction::recordExec(QSqlQuery& query, bool executed)
{
    if (!executed) {
        recordError(query);
        query.finish();
        return false;
    }
    if (!query.isSelect()) {
        recordSuccess(query.numRowsAffected());
        if (inWrite_ && logChanges)
            changes_.append({query.lastQuery(), query.boundValues()});
        query.finish();
    } else {
        recordSuccess(0);
    }
    return true;
}

bool Transaction::finishSelect(QSqlQuery& query, long rows)
{
    const bool failed = query.lastError().isValid();
    if (failed)
        recordError(query);
    else
        recordSuccess(rows, rows == 0 ? kNotFound : kSuccess);
    // No read snapshot or lock may stay open after a select.
    query.finish();
    return !failed;
}

int Transaction::selectInto(const QString& sql, const QVariantList& params, QVariantList& into)
{
    into.clear();
    const bool writes = isWriteStatement(sql);
    if (writes && !beginWrite())
        return kError;
    // Statements with values are prepared once and re-bound; those without
    // (DDL among them, which PostgreSQL cannot prepare) run directly.
    std::unique_ptr<QSqlQuery> direct;
    QSqlQuery* query = nullptr;
    if (params.isEmpty()) {
        if (!reopenIfLost())
            return kError;
        if (!isConnected()) {
            recordError(QStringLiteral("not connected"));
            return kError;
        }
        direct = std::make_unique<QSqlQuery>(database());
        direct->setForwardOnly(true);
        query = direct.get();
        const bool executed = query->exec(sql);
        // A table created or dropped may be the journal's operator table.
        static const QRegularExpression ddl(QStringLiteral("^\\s*(create|drop|alter)\\b"),
                                            QRegularExpression::CaseInsensitiveOption);
        if (ddl.match(sql).hasMatch())
            operatorTable_ = OperatorTable::Unknown;
        if (!recordExec(*query, executed))
            return kError;
    } else {
        query = prepared(sql);
        if (!query || !run(*query, params))
            return kError;
    }
    if (query->isSelect()) {
        long rows = 0;
        if (query->next()) {
            const int columns = query->record().count();
            for (int c = 0; c < columns; ++c)
                into.append(query->value(c));
            rows = 1;
        }
        if (!finishSelect(*query, rows))
            into.clear();
    }
    return sqlcode;
}

int Transaction::execute(const QString& sql, const QVariantList& params)
{
    QVariantList ignored;
    return selectInto(sql, params, ignored);
}

QVariant Transaction::selectValue(const QString& sql, const QVariantList& params)
{
    QVariantList row;
    if (selectInto(sql, params, row) != kSuccess || row.isEmpty())
        return {};
    return row.first();
}

int Transaction::commit()
{
    if (writeLost_) {
        writeLost_ = false;
        inWrite_ = false;
        changes_.clear();
        recordError(QStringLiteral("与数据库的连接已断开，操作未能保存"));
        return kError;
    }
    if (!isConnected()) {
        inWrite_ = false;
        changes_.clear();
        recordError(QStringLiteral("not connected"));
        return kError;
    }
    if (!inWrite_) {
        recordSuccess(0);
        return kSuccess;
    }
    QSqlDatabase db = database();
    QString error;
    bool ok = withdrawOperator();
    if (!ok) {
        error = sqlerrtext;  // nothing is committed with the operator still named
    } else if (dialect_ == Dialect::Sqlite) {
        QSqlQuery end(db);
        ok = end.exec(QStringLiteral("COMMIT"));
        if (!ok)
            error = errorText(end.lastError());
    } else {
        ok = db.commit();
        if (!ok)
            error = errorText(db.lastError());
    }
    if (!ok) {
        // A commit that fails leaves nothing half written: undo the rest.
        // (SQLite keeps the transaction open after a refused COMMIT.)
        (void)rollback();
        recordError(error);
        noteLostConnection();
        return kError;
    }
    inWrite_ = false;
    const QList<Change> committed = std::exchange(changes_, {});
    for (const Change& change : committed)
        logLine(QStringLiteral("变更: ") + describeChange(change.sql, change.values));
    recordSuccess(0);
    return kSuccess;
}

int Transaction::rollback()
{
    changes_.clear();
    if (writeLost_) {
        // The server ended the transaction with the connection.
        writeLost_ = false;
        inWrite_ = false;
        recordSuccess(0);
        return kSuccess;
    }
    if (!isConnected()) {
        inWrite_ = false;
        recordError(QStringLiteral("not connected"));
        return kError;
    }
    if (!inWrite_) {
        recordSuccess(0);
        return kSuccess;
    }
    QSqlDatabase db = database();
    bool ok;
    QString error;
    if (dialect_ == Dialect::Sqlite) {
        QSqlQuery end(db);
        ok = end.exec(QStringLiteral("ROLLBACK"));
        if (!ok)
            error = errorText(end.lastError());
    } else {
        ok = db.rollback();
        if (!ok)
            error = errorText(db.lastError());
    }
    inWrite_ = false;
    if (!ok) {
        recordError(error);
        return kError;
    }
    recordSuccess(0);
    return kSuccess;
}

}  // namespace host

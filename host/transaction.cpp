#include "host/transaction.h"

#include <QAtomicInt>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlRecord>
#include <QUrl>
#include <QUrlQuery>

namespace host {

Transaction sqlca;

namespace {

QString nextConnectionName()
{
    static QAtomicInt counter;
    return QStringLiteral("wms-rights-%1").arg(counter.fetchAndAddRelaxed(1));
}

bool isLockedError(const QSqlError& error)
{
    return error.nativeErrorCode() == QLatin1String("5")      // SQLITE_BUSY
           || error.nativeErrorCode() == QLatin1String("6")   // SQLITE_LOCKED
           || error.databaseText().contains(QLatin1String("database is locked"));
}

}  // namespace

Transaction::~Transaction()
{
    disconnect();
}

bool Transaction::connect(const QString& url)
{
    disconnect();
    connectionName_ = nextConnectionName();
    url_ = url;

    QSqlDatabase db;
    QString searchPath;
    const bool postgres = url.startsWith(QLatin1String("postgresql://"))
                          || url.startsWith(QLatin1String("postgres://"));
    if (postgres) {
        const QUrl parsed(url);
        searchPath = QUrlQuery(parsed).queryItemValue(QStringLiteral("schema"));
        db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connectionName_);
        db.setHostName(parsed.host().isEmpty() ? QStringLiteral("127.0.0.1") : parsed.host());
        db.setPort(parsed.port(5432));
        db.setUserName(parsed.userName());
        db.setPassword(parsed.password());
        db.setDatabaseName(parsed.path().mid(1));
        db.setConnectOptions(QStringLiteral("connect_timeout=5"));
        dialect_ = Dialect::Postgres;
    } else {
        QString path = url;
        if (path.startsWith(QLatin1String("sqlite:")))
            path = path.mid(7);
        db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName_);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs));
        dialect_ = Dialect::Sqlite;
    }

    if (!db.isValid()) {
        const QString driver = postgres ? QStringLiteral("QPSQL") : QStringLiteral("QSQLITE");
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(connectionName_);
        connectionName_.clear();
        dialect_ = Dialect::None;
        recordError(QStringLiteral("数据库驱动 %1 不可用").arg(driver));
        return false;
    }
    if (!db.open()) {
        const QString text = errorText(db.lastError());
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(connectionName_);
        connectionName_.clear();
        dialect_ = Dialect::None;
        recordError(QStringLiteral("无法打开数据库 %1: %2").arg(url, text));
        return false;
    }

    if (dialect_ == Dialect::Sqlite) {
        QSqlQuery pragma(db);
        // A file that is not a database only shows itself at the first read.
        if (!pragma.exec(QStringLiteral("PRAGMA schema_version"))) {
            const QString text = errorText(pragma.lastError());
            pragma = QSqlQuery();
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(connectionName_);
            connectionName_.clear();
            dialect_ = Dialect::None;
            recordError(QStringLiteral("无法打开数据库 %1: %2").arg(url, text));
            return false;
        }
        pragma.finish();
        if (isFileUrl(url))
            pragma.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
        pragma.finish();
    }
    if (dialect_ == Dialect::Postgres && !searchPath.isEmpty()) {
        // A schema of its own (the tests give one to every test).
        QSqlQuery set(db);
        if (!set.exec(QStringLiteral("set search_path to \"%1\"").arg(searchPath.remove(QLatin1Char('"'))))) {
            const QString text = errorText(set.lastError());
            set = QSqlQuery();
            disconnect();
            recordError(text);
            return false;
        }
    }
    inWrite_ = false;
    recordSuccess(0);
    return true;
}

bool Transaction::isFileUrl(const QString& url)
{
    return url != QLatin1String(":memory:") && !url.isEmpty()
           && !url.contains(QLatin1String("mode=memory"));
}

void Transaction::disconnect()
{
    statements_.clear();
    if (!connectionName_.isEmpty()) {
        {
            QSqlDatabase db = QSqlDatabase::database(connectionName_, false);
            if (db.isOpen()) {
                if (inWrite_)
                    db.rollback();
                db.close();
            }
        }
        QSqlDatabase::removeDatabase(connectionName_);
    }
    connectionName_.clear();
    dialect_ = Dialect::None;
    inWrite_ = false;
    sqlcode = kError;
    sqlerrtext = QStringLiteral("not connected");
    sqlnrows = 0;
}

bool Transaction::isConnected() const
{
    return !connectionName_.isEmpty() && QSqlDatabase::database(connectionName_, false).isOpen();
}

QSqlDatabase Transaction::database() const
{
    if (connectionName_.isEmpty())
        return {};
    return QSqlDatabase::database(connectionName_, false);
}

bool Transaction::isWriteStatement(const QString& sql)
{
    static const QRegularExpression head(QStringLiteral("^\\s*(\\w+)"));
    const auto match = head.match(sql);
    if (!match.hasMatch())
        return false;
    const QString word = match.captured(1).toLower();
    return word == QLatin1String("insert") || word == QLatin1String("update")
           || word == QLatin1String("delete");
}

QString Transaction::errorText(const QSqlError& error) const
{
    if (dialect_ == Dialect::Sqlite && isLockedError(error))
        return QStringLiteral("数据库正被其他连接锁定，请稍后再试 (database is locked)");
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = error.text().trimmed();
    if (text.isEmpty())
        text = error.driverText().trimmed();
    return text;
}

void Transaction::recordSuccess(long nrows, int code)
{
    sqlcode = code;
    sqlnrows = nrows;
    sqlerrtext.clear();
}

void Transaction::recordError(const QSqlQuery& query)
{
    recordError(errorText(query.lastError()));
}

void Transaction::recordError(const QString& text)
{
    sqlcode = kError;
    sqlnrows = 0;
    sqlerrtext = text.isEmpty() ? QStringLiteral("unknown database error") : text;
}

QSqlQuery* Transaction::prepared(const QString& sql)
{
    if (!isConnected()) {
        recordError(QStringLiteral("not connected"));
        return nullptr;
    }
    auto found = statements_.find(sql);
    if (found != statements_.end())
        return found->get();
    auto query = std::make_shared<QSqlQuery>(database());
    query->setForwardOnly(true);
    if (!query->prepare(sql)) {
        recordError(*query);
        return nullptr;
    }
    statements_.insert(sql, query);
    return query.get();
}

bool Transaction::beginWrite()
{
    if (inWrite_)
        return true;
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
        return false;
    }
    inWrite_ = true;
    return true;
}

int Transaction::finishOrError(QSqlQuery& query)
{
    recordError(query);
    query.finish();
    return kError;
}

int Transaction::selectInto(const QString& sql, const QVariantList& params, QVariantList& into)
{
    into.clear();
    if (isWriteStatement(sql) && !beginWrite())
        return kError;
    // Statements with values are prepared once and re-bound; those without
    // (DDL among them, which PostgreSQL cannot prepare) run directly.
    std::unique_ptr<QSqlQuery> direct;
    QSqlQuery* query = nullptr;
    if (params.isEmpty()) {
        if (!isConnected()) {
            recordError(QStringLiteral("not connected"));
            return kError;
        }
        direct = std::make_unique<QSqlQuery>(database());
        direct->setForwardOnly(true);
        query = direct.get();
        if (!query->exec(sql))
            return finishOrError(*query);
    } else {
        query = prepared(sql);
        if (!query)
            return kError;
        for (int i = 0; i < params.size(); ++i)
            query->bindValue(i, params.at(i));
        if (!query->exec())
            return finishOrError(*query);
    }
    if (query->isSelect()) {
        if (query->next()) {
            const int columns = query->record().count();
            for (int c = 0; c < columns; ++c)
                into.append(query->value(c));
            query->finish();
            recordSuccess(1);
        } else {
            const bool failed = query->lastError().isValid();
            if (failed)
                return finishOrError(*query);
            query->finish();
            recordSuccess(0, kNotFound);
        }
    } else {
        recordSuccess(query->numRowsAffected());
        query->finish();
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
    if (!isConnected()) {
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
        rollback();
        recordError(error);
        return kError;
    }
    inWrite_ = false;
    recordSuccess(0);
    return kSuccess;
}

int Transaction::rollback()
{
    if (!isConnected()) {
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

// ---- Cursor ----------------------------------------------------------------

Cursor::Cursor(Transaction& trans, QString sql) : trans_(trans), sql_(std::move(sql)) {}

Cursor::~Cursor()
{
    if (query_)
        query_->finish();
}

int Cursor::open(const QVariantList& params)
{
    close();
    if (!trans_.isConnected()) {
        trans_.recordError(QStringLiteral("not connected"));
        return Transaction::kError;
    }
    auto query = std::make_unique<QSqlQuery>(trans_.database());
    query->setForwardOnly(true);
    if (!query->prepare(sql_)) {
        trans_.recordError(*query);
        return Transaction::kError;
    }
    for (int i = 0; i < params.size(); ++i)
        query->bindValue(i, params.at(i));
    if (!query->exec()) {
        trans_.recordError(*query);
        return Transaction::kError;
    }
    query_ = std::move(query);
    trans_.recordSuccess(0);
    return Transaction::kSuccess;
}

int Cursor::fetch(QVariantList& into)
{
    into.clear();
    if (!query_) {
        trans_.recordError(QStringLiteral("cursor is not open"));
        return Transaction::kError;
    }
    if (query_->next()) {
        const int columns = query_->record().count();
        for (int c = 0; c < columns; ++c)
            into.append(query_->value(c));
        trans_.recordSuccess(1);
        return Transaction::kSuccess;
    }
    if (query_->lastError().isValid()) {
        trans_.recordError(*query_);
        return Transaction::kError;
    }
    trans_.recordSuccess(0, Transaction::kNotFound);
    return Transaction::kNotFound;
}

int Cursor::close()
{
    if (query_) {
        query_->finish();
        query_.reset();
    }
    trans_.recordSuccess(0);
    return Transaction::kSuccess;
}

}  // namespace host

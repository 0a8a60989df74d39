#include "host/transaction.h"

#include "host/change_log.h"
#include "host/functions.h"
#include "host/postgres_rows.h"
#include "host/sqlite_statements.h"
#include "host/text_rows.h"

#include <QAtomicInt>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlRecord>
#include <QUrl>
#include <QUrlQuery>
#include <utility>

namespace host {

Transaction sqlca;

namespace {

QString nextConnectionName()
{
    static QAtomicInt counter;
    return QStringLiteral("wms-rights-%1").arg(counter.fetchAndAddRelaxed(1));
}

bool isLockedError(Dialect dialect, const QSqlError& error)
{
    if (dialect == Dialect::Postgres)
        return error.nativeErrorCode() == QLatin1String("55P03");  // lock_not_available (lock_timeout)
    return error.nativeErrorCode() == QLatin1String("5")      // SQLITE_BUSY
           || error.nativeErrorCode() == QLatin1String("6")   // SQLITE_LOCKED
           || error.databaseText().contains(QLatin1String("database is locked"));
}

// A null value, or a null string, reaches the database as SQL null (a null
// QString would otherwise be bound as '' by some drivers).
QVariant boundValue(const QVariant& value)
{
    if (value.isNull() || (value.typeId() == QMetaType::QString && value.toString().isNull()))
        return QVariant(QMetaType::fromType<QString>());
    return value;
}

// The URI a SQLite file is opened read-only with, or an empty string and the
// reason in `error`. SQLite would make the -wal and -shm files of a database
// in WAL mode even for a read-only connection, and leave them behind; when no
// client has the file open (no -wal file, so everything is in the file
// itself) it is opened as immutable instead, which reads the file alone.
QString readOnlyUri(const QString& path, QString& error)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        error = QStringLiteral("文件不存在");
        return {};
    }
    if (!info.isFile()) {
        error = QStringLiteral("不是文件");
        return {};
    }
    if (info.size() == 0) {
        error = QStringLiteral("文件为空, 不是数据库");
        return {};
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return {};
    }
    const QByteArray header = file.read(100);
    file.close();
    // Bytes 18 and 19 of the header, the write and read versions, are 2 in WAL mode.
    const bool wal = header.size() >= 20 && header.at(18) == 2 && header.at(19) == 2;
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("mode"), QStringLiteral("ro"));
    if (wal && !QFileInfo::exists(path + QLatin1String("-wal")))
        query.addQueryItem(QStringLiteral("immutable"), QStringLiteral("1"));
    QUrl uri = QUrl::fromLocalFile(info.absoluteFilePath());
    uri.setQuery(query);
    return uri.toString(QUrl::FullyEncoded);
}

}  // namespace

Transaction::Transaction() : sqliteStatements_(std::make_unique<SqliteStatements>()) {}

Transaction::~Transaction()
{
    disconnect();
}

bool Transaction::connect(const QString& url, bool readOnly)
{
    disconnect();
    connectionName_ = nextConnectionName();
    url_ = url;
    readOnly_ = readOnly;

    const auto fail = [this](const QString& reason) {
        {
            QSqlDatabase db = QSqlDatabase::database(connectionName_, false);
            if (db.isOpen())
                db.close();
        }
        QSqlDatabase::removeDatabase(connectionName_);
        connectionName_.clear();
        dialect_ = Dialect::None;
        recordError(reason);
        return false;
    };
    const auto cannotOpen = [this, &fail](const QString& reason) {
        return fail(QStringLiteral("无法打开数据库 %1: %2").arg(redactedUrl(url_), withoutUrlSecrets(reason, url_)));
    };

    QSqlDatabase db;
    QString searchPath;
    const bool postgres = isPostgresUrl(url);
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
        QStringList options{QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs)};
        if (readOnly) {
            options << QStringLiteral("QSQLITE_OPEN_READONLY");
            if (path.startsWith(QLatin1String("file:"))) {
                options << QStringLiteral("QSQLITE_OPEN_URI");
            } else if (isFileUrl(path)) {
                QString error;
                path = readOnlyUri(path, error);
                if (path.isEmpty())
                    return cannotOpen(error);
                options << QStringLiteral("QSQLITE_OPEN_URI");
            }
        }
        db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName_);
        db.setDatabaseName(path);
        db.setConnectOptions(options.join(QLatin1Char(';')));
        dialect_ = Dialect::Sqlite;
    }

    if (!db.isValid()) {
        db = QSqlDatabase();
        return fail(QStringLiteral("数据库驱动 %1 不可用").arg(postgres ? QStringLiteral("QPSQL") : QStringLiteral("QSQLITE")));
    }
    if (!db.open()) {
        const QString text = errorText(db.lastError());
        db = QSqlDatabase();
        return cannotOpen(text);
    }

    if (dialect_ == Dialect::Sqlite) {
        QSqlQuery pragma(db);
        // A file that is not a database only shows itself at the first read.
        if (!pragma.exec(QStringLiteral("PRAGMA schema_version"))) {
            const QString text = errorText(pragma.lastError());
            pragma = QSqlQuery();
            db = QSqlDatabase();
            return cannotOpen(text);
        }
        pragma.finish();
        if (!readOnly && isFileUrl(url))
            pragma.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
        pragma.finish();
        // The connection's own handle, for the statements read most often.
        const QVariant handle = db.driver()->handle();
        if (handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0)
            sqliteStatements_->attach(*static_cast<sqlite3* const*>(handle.constData()));
    }
    if (dialect_ == Dialect::Postgres && !openSession(db, searchPath)) {
        const QString text = withoutUrlSecrets(sqlerrtext, url_);
        db = QSqlDatabase();
        disconnect();
        recordError(text);
        return false;
    }
    inWrite_ = false;
    operatorTable_ = OperatorTable::Unknown;
    recordSuccess(0);
    return true;
}

bool Transaction::openSession(QSqlDatabase& db, const QString& searchPath)
{
    if (!searchPath.isEmpty()) {
        // A schema of its own (the tests give one to every test).
        QSqlQuery set(db);
        if (!set.prepare(QStringLiteral("select set_config('search_path', ?, false)"))) {
            recordError(set);
            return false;
        }
        set.addBindValue(QString(QLatin1Char('"') + QString(searchPath).remove(QLatin1Char('"')) + QLatin1Char('"')));
        if (!set.exec()) {
            recordError(set);
            return false;
        }
    }
    // A row locked by another client fails the statement after the same wait
    // as SQLite's busy timeout, instead of hanging the window.
    QSqlQuery timeout(db);
    if (!timeout.prepare(QStringLiteral("select set_config('lock_timeout', ?, false)"))) {
        recordError(timeout);
        return false;
    }
    timeout.addBindValue(QString::number(busyTimeoutMs));
    if (!timeout.exec()) {
        recordError(timeout);
        return false;
    }
    if (readOnly_) {
        QSqlQuery readOnly(db);
        if (!readOnly.prepare(QStringLiteral("select set_config('default_transaction_read_only', ?, false)"))) {
            recordError(readOnly);
            return false;
        }
        readOnly.addBindValue(QStringLiteral("on"));
        if (!readOnly.exec()) {
            recordError(readOnly);
            return false;
        }
    }
    return true;
}

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

bool Transaction::isFileUrl(const QString& url)
{
    return url != QLatin1String(":memory:") && !url.isEmpty()
           && !url.contains(QLatin1String("mode=memory"));
}

void Transaction::disconnect()
{
    statements_.clear();
    sqliteStatements_->attach(nullptr);
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
    inRead_ = false;
    lost_ = false;
    writeLost_ = false;
    changes_.clear();
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
    if (isLockedError(dialect_, error)) {
        if (dialect_ == Dialect::Sqlite)
            return QStringLiteral("数据库正被其他连接锁定，请稍后再试 (database is locked)");
        // The server's own words, e.g. "canceling statement due to lock timeout".
        const QString reason = error.databaseText().trimmed();
        return QStringLiteral("数据库正被其他连接锁定，请稍后再试 (%1)")
            .arg(reason.isEmpty() ? QStringLiteral("lock timeout") : reason);
    }
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = error.text().trimmed();
    if (text.isEmpty())
        text = error.driverText().trimmed();
    return text;
}

void Transaction::recordSuccess(long nrows, int code)
{
    changedMeanwhile_ = false;
    sqlcode = code;
    sqlnrows = nrows;
    sqlerrtext.clear();
}

void Transaction::recordError(const QSqlQuery& query)
{
    recordError(errorText(query.lastError()));
    noteLostConnection();
}

void Transaction::noteLostConnection()
{
    // Only a server can go away; a failed statement is followed by a probe,
    // so that a dropped connection is told apart from a refused statement.
    if (dialect_ != Dialect::Postgres || lost_ || connectionName_.isEmpty())
        return;
    QSqlDatabase db = database();
    bool alive = db.isOpen();
    if (alive) {
        QSqlQuery probe(db);
        alive = probe.exec(QStringLiteral("select 1"));
        // In a failed transaction PostgreSQL refuses every statement; that
        // still proves the server is there.
        if (!alive)
            alive = probe.lastError().nativeErrorCode() == QLatin1String("25P02");
    }
    if (alive)
        return;
    lost_ = true;
    writeLost_ = inWrite_;
    sqlerrtext = QStringLiteral("与数据库的连接已断开，下一次操作时将重新连接 (%1)").arg(sqlerrtext);
}

bool Transaction::reopenIfLost()
{
    if (!lost_)
        return true;
    if (writeLost_) {
        // The operation that was under way when the connection dropped must
        // be ended (ROLLBACK) before anything else runs: a new connection
        // must never carry on half of it.
        recordError(QStringLiteral("与数据库的连接已断开，未完成的操作已放弃"));
        return false;
    }
    const QString url = url_;
    if (!connect(url, readOnly_)) {
        lost_ = true;  // try again at the next statement
        return false;
    }
    return true;
}

void Transaction::recordError(const QString& text)
{
    changedMeanwhile_ = false;
    sqlcode = kError;
    sqlnrows = 0;
    sqlerrtext = text.isEmpty() ? QStringLiteral("unknown database error") : text;
}

void Transaction::recordChangedMeanwhile(const QString& text)
{
    recordError(text);
    changedMeanwhile_ = true;
}

QSqlQuery* Transaction::prepared(const QString& sql)
{
    if (!reopenIfLost())
        return nullptr;
    // Statements live only as long as their connection (disconnect() drops
    // them), so a statement found is one of the open connection.
    auto found = statements_.constFind(sql);
    if (found != statements_.constEnd())
        return found->get();
    if (!isConnected()) {
        recordError(QStringLiteral("not connected"));
        return nullptr;
    }
    auto query = std::make_shared<QSqlQuery>(database());
    query->setForwardOnly(true);
    if (!query->prepare(sql)) {
        recordError(*query);
        return nullptr;
    }
    statements_.insert(sql, query);
    return query.get();
}

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
    if (!trans_.reopenIfLost())
        return Transaction::kError;
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
    if (!trans_.run(*query, params))
        return Transaction::kError;
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
    if (!trans_.finishSelect(*query_, 0))
        return Transaction::kError;
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

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

}  // namespace host

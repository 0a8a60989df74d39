#include "app/database_setup.h"

#include "host/operation.h"
#include "host/password.h"
#include "host/transaction.h"
#include "schema/database.h"

#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>
#include <QStandardPaths>
#include <utility>

namespace app {

QString defaultDatabasePath()
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return QDir(base).filePath(QStringLiteral("wms-rights/sample.db"));
}

bool isDefaultDatabase(const QString& url)
{
    const QString path = sqliteFile(url);
    return !path.isEmpty() && QFileInfo(path).absoluteFilePath() == QFileInfo(defaultDatabasePath()).absoluteFilePath();
}

QString sqliteFile(const QString& url)
{
    if (host::isPostgresUrl(url) || isFileUri(url))
        return {};
    QString path = url;
    if (path.startsWith(QLatin1String("sqlite:")))
        path = path.mid(7);
    if (path.isEmpty() || path == QLatin1String(":memory:"))
        return {};
    return path;
}

bool isFileUri(const QString& url)
{
    const QStringView path = url.startsWith(QLatin1String("sqlite:")) ? QStringView(url).mid(7) : QStringView(url);
    return path.startsWith(QLatin1String("file:"), Qt::CaseInsensitive);
}

namespace {

OpenResult failure(const QString& error)
{
    OpenResult result;
    result.error = error;
    return result;
}

// The sample operators' passwords are stored as hashes, as the login expects
// them, in one operation; false with the reason in sqlca when that fails.
bool hashSamplePasswords()
{
    QList<QPair<QString, QString>> users;
    host::Cursor cursor(host::sqlca, QStringLiteral("select id, password from s_user"));
    if (cursor.open() != host::Transaction::kSuccess)
        return false;
    QVariantList row;
    int code = host::Transaction::kSuccess;
    while ((code = cursor.fetch(row)) == host::Transaction::kSuccess)
        users.append({row.value(0).toString(), row.value(1).toString()});
    cursor.close();
    if (code == host::Transaction::kError)
        return false;

    host::Operation operation;
    for (const auto& [id, password] : users) {
        if (password.isEmpty() || host::isPasswordHash(password))
            continue;
        const QString hash = host::hashPassword(password);
        if (hash.isEmpty()) {
            host::sqlca.recordError(QStringLiteral("无法计算密码的散列值"));
            return false;
        }
        if (operation.execute(QStringLiteral("update s_user set password = ? where id = ?"), {hash, id}) !=
            host::Transaction::kSuccess)
            return false;
    }
    return operation.commit() == host::Transaction::kSuccess;
}

// An empty file readable and writable by its owner only: SQLite fills it, and
// gives the -wal and -shm files it creates beside it the same mode.
bool createPrivateFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::NewOnly | QIODevice::WriteOnly))
        return false;
    file.close();
    if (file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        return true;
    file.remove();
    return false;
}

OpenResult createSample(const QString& url, const QString& path)
{
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath()))
        return failure(QStringLiteral("无法创建目录 %1").arg(info.absolutePath()));
    if (!createPrivateFile(path))
        return failure(QStringLiteral("无法创建示例数据库 %1").arg(path));
    host::sqlca.disconnect();
    if (!host::sqlca.connect(url)) {
        const QString error = host::sqlca.sqlerrtext;
        QFile::remove(path);
        return failure(error);
    }
    // Setting up the sample is no change an operator made: the journal's
    // triggers come last.
    if (!schema::createTables(host::sqlca, false) || !schema::loadSampleData(host::sqlca) || !hashSamplePasswords()
        || !schema::createJournal(host::sqlca)) {
        const QString error = host::sqlca.sqlerrtext;
        host::sqlca.disconnect();
        for (const char* suffix : {"", "-wal", "-shm"})
            QFile::remove(path + QLatin1String(suffix));
        return failure(QStringLiteral("无法创建示例数据库 %1: %2").arg(path, error));
    }
    OpenResult result;
    result.ok = true;
    result.created = true;
    return result;
}

}  // namespace

OpenResult openDatabase(const QString& url, bool createIfMissing, bool readOnly)
{
    if (url.trimmed().isEmpty())
        return failure(QStringLiteral("没有给出数据库 (数据库地址为空)"));
    // A URI's options (mode=rwc among them) would decide what SQLite creates
    // and writes; a path leaves that to the rules below.
    if (isFileUri(url))
        return failure(QStringLiteral("无法打开数据库 %1: 不接受 file: URI, 请给出数据库文件的路径")
                           .arg(host::redactedUrl(url)));
    const QString path = sqliteFile(url);
    bool created = false;
    if (!path.isEmpty() && !QFileInfo::exists(path)) {
        // SQLite would quietly create an empty file: only the sample is created on purpose.
        if (!createIfMissing)
            return failure(QStringLiteral("无法打开数据库 %1: 文件不存在").arg(host::redactedUrl(path)));
        OpenResult sample = createSample(url, path);
        if (!sample.ok || !readOnly)
            return sample;
        created = true;
    } else if (!path.isEmpty() && QFileInfo(path).isFile() && QFileInfo(path).size() == 0) {
        // SQLite would take an empty file for a new database and write into it.
        return failure(QStringLiteral("无法打开数据库 %1: 文件为空, 不是数据库").arg(host::redactedUrl(path)));
    }
    host::sqlca.disconnect();
    if (!host::sqlca.connect(url, readOnly))
        return failure(host::sqlca.sqlerrtext);
    QStringList missing;
    const schema::TablesCheck tables = schema::checkTables(host::sqlca, &missing);
    if (tables != schema::TablesCheck::Present) {
        const QString error = host::sqlca.sqlerrtext;
        host::sqlca.disconnect();
        if (tables == schema::TablesCheck::Missing)
            return failure(QStringLiteral("数据库 %1 中没有权限表: 缺少 %2")
                               .arg(host::redactedUrl(url), missing.join(QStringLiteral(", "))));
        // A lock or a refusal is not a missing table: its reason is what to fix.
        return failure(QStringLiteral("无法检查数据库 %1 中的权限表: %2").arg(host::redactedUrl(url), error));
    }
    OpenResult result;
    result.ok = true;
    result.created = created;
    return result;
}

QString logFileFor(const QString& url)
{
    QString path = sqliteFile(url);
    if (path.isEmpty())
        path = defaultDatabasePath();
    return QFileInfo(path).absoluteDir().filePath(QStringLiteral("wms-rights.log"));
}

}  // namespace app

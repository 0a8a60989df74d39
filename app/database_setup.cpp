#include "app/database_setup.h"

#include "host/transaction.h"
#include "schema/database.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

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
    if (url.startsWith(QLatin1String("postgresql://")) || url.startsWith(QLatin1String("postgres://")))
        return {};
    QString path = url;
    if (path.startsWith(QLatin1String("sqlite:")))
        path = path.mid(7);
    if (path.isEmpty() || path == QLatin1String(":memory:") || path.startsWith(QLatin1String("file:")))
        return {};
    return path;
}

namespace {

OpenResult failure(const QString& error)
{
    OpenResult result;
    result.error = error;
    return result;
}

OpenResult createSample(const QString& url, const QString& path)
{
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath()))
        return failure(QStringLiteral("无法创建目录 %1").arg(info.absolutePath()));
    host::sqlca.disconnect();
    if (!host::sqlca.connect(url))
        return failure(host::sqlca.sqlerrtext);
    if (!schema::createTables(host::sqlca) || !schema::loadSampleData(host::sqlca)) {
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
    const QString path = sqliteFile(url);
    bool created = false;
    if (!path.isEmpty() && !QFileInfo::exists(path)) {
        // SQLite would quietly create an empty file: only the sample is created on purpose.
        if (!createIfMissing)
            return failure(QStringLiteral("无法打开数据库 %1: 文件不存在").arg(path));
        OpenResult sample = createSample(url, path);
        if (!sample.ok || !readOnly)
            return sample;
        created = true;
    } else if (!path.isEmpty() && QFileInfo(path).isFile() && QFileInfo(path).size() == 0) {
        // SQLite would take an empty file for a new database and write into it.
        return failure(QStringLiteral("无法打开数据库 %1: 文件为空, 不是数据库").arg(path));
    }
    host::sqlca.disconnect();
    if (!host::sqlca.connect(url, readOnly))
        return failure(host::sqlca.sqlerrtext);
    if (!schema::tablesExist(host::sqlca)) {
        const QString error = host::sqlca.sqlerrtext;
        host::sqlca.disconnect();
        return failure(QStringLiteral("数据库 %1 中没有权限表: %2").arg(host::redactedUrl(url), error));
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

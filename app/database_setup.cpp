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

OpenResult openDatabase(const QString& url, bool createIfMissing)
{
    const QString path = sqliteFile(url);
    if (!path.isEmpty() && !QFileInfo::exists(path)) {
        // SQLite would quietly create an empty file: only the sample is created on purpose.
        if (!createIfMissing)
            return failure(QStringLiteral("无法打开数据库 %1: 文件不存在").arg(path));
        return createSample(url, path);
    }
    host::sqlca.disconnect();
    if (!host::sqlca.connect(url))
        return failure(host::sqlca.sqlerrtext);
    if (!schema::tablesExist(host::sqlca)) {
        const QString error = host::sqlca.sqlerrtext;
        host::sqlca.disconnect();
        return failure(QStringLiteral("数据库 %1 中没有权限表: %2").arg(url, error));
    }
    OpenResult result;
    result.ok = true;
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

// wms-rights-ddl sqlite|postgresql FILE: writes the CREATE TABLE script of the
// rights tables for that database.
#include "host/transaction.h"
#include "schema/database.h"

#include <QFile>
#include <QString>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fputs("usage: wms-rights-ddl sqlite|postgresql FILE\n", stderr);
        return 2;
    }
    const QString kind = QString::fromLocal8Bit(argv[1]);
    host::Dialect dialect = host::Dialect::None;
    if (kind == QLatin1String("sqlite"))
        dialect = host::Dialect::Sqlite;
    else if (kind == QLatin1String("postgresql"))
        dialect = host::Dialect::Postgres;
    else {
        std::fprintf(stderr, "wms-rights-ddl: unknown database %s\n", argv[1]);
        return 2;
    }
    QFile file(QString::fromLocal8Bit(argv[2]));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        std::fprintf(stderr, "wms-rights-ddl: cannot write %s\n", argv[2]);
        return 1;
    }
    const QByteArray script = schema::createScript(dialect).toUtf8();
    if (file.write(script) != script.size() || !file.flush())
        return 1;
    return 0;
}

// make_sample FILE: a new SQLite database with the rights tables and the sample data.
#include <QCoreApplication>
#include "host/transaction.h"
#include "schema/database.h"
#include <cstdio>
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2 || !host::sqlca.connect(QString::fromLocal8Bit(argv[1])))
        return 2;
    const bool ok = schema::createTables(host::sqlca) && schema::loadSampleData(host::sqlca);
    if (!ok)
        std::fprintf(stderr, "make_sample: %s\n", qPrintable(host::sqlca.sqlerrtext));
    host::sqlca.disconnect();
    return ok ? 0 : 1;
}

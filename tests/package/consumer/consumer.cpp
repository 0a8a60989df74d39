#include <QCoreApplication>
#include "host/transaction.h"
#include "rights/f_check_right.h"
#include <cstdio>
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 5 || !host::sqlca.connect(QString::fromLocal8Bit(argv[1])))
        return 2;
    const bool held = rights::f_check_right(QString::fromLocal8Bit(argv[3]), QString::fromLocal8Bit(argv[4]),
                                            QString::fromLocal8Bit(argv[2]));
    std::puts(held ? "yes" : "no");
    host::sqlca.disconnect();
    return held ? 0 : 1;
}

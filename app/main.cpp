// wms-rights: the demo host of the rights module, and its console commands.
#include "app/commands.h"
#include "app/gui.h"
#include "app/options.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    // The console commands and --help need no display.
    if (app::isConsoleCommand(arguments)) {
        QCoreApplication core(argc, argv);
        QTextStream out(stdout);
        QTextStream err(stderr);
        return app::runConsole(arguments, out, err);
    }
    QApplication application(argc, argv);
    return app::runGui(QApplication::arguments().mid(1));
}

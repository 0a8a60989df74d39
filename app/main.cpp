// wms-rights: the demo host of the rights module, and its console commands.
#include "app/commands.h"
#include "app/gui.h"
#include "app/options.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>
#include <cstdlib>

namespace {

const char kNoDisplay[] =
    "wms-rights: 没有可用的图形显示, 无法打开窗口 (%1).\n"
    "wms-rights: 请在图形桌面中运行, 或设置 DISPLAY / WAYLAND_DISPLAY; 不需要窗口时可设置"
    " QT_QPA_PLATFORM=offscreen, 查询权限请用 check / level 命令 (见 --help).\n";

void reportNoDisplay(const QString& reason)
{
    const QByteArray text = QString::fromUtf8(kNoDisplay).arg(reason).toLocal8Bit();
    std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), stderr);
    std::fflush(stderr);
}

// The platform the window mode would start on, as Qt picks it: -platform,
// then QT_QPA_PLATFORM; empty for Qt's default.
QString requestedPlatform(const QStringList& arguments)
{
    const qsizetype at = arguments.indexOf(QLatin1String("-platform"));
    if (at >= 0 && at + 1 < arguments.size())
        return arguments.at(at + 1);
    return qEnvironmentVariable("QT_QPA_PLATFORM");
}

// Why the windows cannot be shown, or an empty string when they can be tried.
QString missingDisplay(const QStringList& arguments)
{
    const QString platform = requestedPlatform(arguments);
    const bool x11 = !qEnvironmentVariableIsEmpty("DISPLAY");
    const bool wayland = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (platform.isEmpty())
        return x11 || wayland ? QString() : QStringLiteral("未设置 DISPLAY 或 WAYLAND_DISPLAY");
    if (platform.startsWith(QLatin1String("xcb")) && !x11)
        return QStringLiteral("QT_QPA_PLATFORM=%1, 但未设置 DISPLAY").arg(platform);
    return {};
}

// A platform plugin that cannot start ends in qFatal, which would abort the
// program; while the application object is being made, it exits with 2 and
// the reason instead.
void platformFailure(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type != QtFatalMsg) {
        const QByteArray text = message.toLocal8Bit() + '\n';
        std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), stderr);
        return;
    }
    reportNoDisplay(message.section(QLatin1Char('\n'), 0, 0).trimmed());
    std::_Exit(app::kExitError);
}

}  // namespace

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
    if (const QString reason = missingDisplay(arguments); !reason.isEmpty()) {
        // A wrong command line is the first thing to say (with a display, the
        // window mode says it after Qt took its own options away).
        QString error;
        if (!app::parseOptions(arguments, error)) {
            QTextStream(stderr) << "wms-rights: " << error << "\n\n" << app::usage() << Qt::flush;
            return app::kExitError;
        }
        reportNoDisplay(reason);
        return app::kExitError;
    }
    const QtMessageHandler previous = qInstallMessageHandler(platformFailure);
    QApplication application(argc, argv);
    qInstallMessageHandler(previous);
    return app::runGui(QApplication::arguments().mid(1));
}

#include "app/gui.h"

#include "app/commands.h"
#include "app/database_setup.h"
#include "app/help_viewer.h"
#include "app/login_dialog.h"
#include "app/main_window.h"
#include "app/module_windows.h"
#include "app/options.h"
#include "app/translations.h"
#include "host/functions.h"
#include "host/transaction.h"
#include "host/window_registry.h"

#include <QApplication>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QTextStream>

namespace app {

namespace {

// Logs in from the command line or through the dialog; an empty id when the
// operator gave up or was refused.
QString login(const Options& options, const std::optional<QString>& password)
{
    if (options.operatorId && password) {
        const LoginResult result = checkLogin(*options.operatorId, *password);
        if (result.outcome == LoginOutcome::Accepted)
            return result.operatorId;
        reportLoginFailure(result);
        return {};
    }
    LoginDialog dialog(options.operatorId.value_or(QString()));
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.operatorId();
}

}  // namespace

host::Window* openFromCommandLine(QWidget& frame, const QString& windowClass)
{
    host::Window* window = openWindow(windowClass);
    // Bottom right of the frame, clear of the rights overview.
    if (window) {
        const QRect area = frame.geometry();
        window->move(area.right() - window->width() - 16, area.bottom() - window->height() - 36);
    }
    return window;
}

int runGui(const QStringList& arguments)
{
    QTextStream err(stderr);
    QString error;
    const auto options = parseOptions(arguments, error);
    if (!options || options->command != Command::Gui) {
        err << "wms-rights: " << (options ? QStringLiteral("命令不能在这里使用") : error) << "\n\n"
            << usage() << Qt::flush;
        return kExitError;
    }
    // Read once, first: nothing started from here inherits it, nobody reads it.
    const std::optional<QString> password = loginPassword(*options);
    forgetPasswordVariable();
    QApplication::setApplicationName(QStringLiteral("wms-rights"));
    installTranslations(*QCoreApplication::instance());

    const QString url = options->db.value_or(defaultDatabasePath());
    // Only the sample database is created; any other file must exist.
    const bool createSample = isDefaultDatabase(url);
    const OpenResult opened = openDatabase(url, createSample);
    if (!opened.ok) {
        err << "wms-rights: " << opened.error << Qt::endl;
        if (!createSample && !sqliteFile(url).isEmpty() && !QFileInfo::exists(sqliteFile(url)))
            err << "wms-rights: 只有默认的示例数据库 " << defaultDatabasePath() << " 会自动创建" << Qt::endl;
        return kExitError;
    }
    if (opened.created)
        err << "wms-rights: 已创建示例数据库 " << host::redactedUrl(url) << Qt::endl;
    host::setLogFile(logFileFor(url));

    HelpViewerService help;
    host::setHelpService(&help);
    registerWindows();

    int code = 0;
    const QString operatorId = login(*options, password);
    if (operatorId.isEmpty()) {
        code = options->operatorId && password ? kExitNo : 0;
    } else {
        host::gs_user_id = operatorId;  // the login wrote its own line to the log
        MainWindow frame(url);
        QObject::connect(&frame, &MainWindow::closed, qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        frame.show();
        if (options->openWindow)
            QTimer::singleShot(0, &frame, [&frame, name = *options->openWindow] { openFromCommandLine(frame, name); });
        if (options->showMenu) {
            QTimer::singleShot(500, &frame, [&frame, name = *options->showMenu] {
                if (auto* menu = frame.menuBar()->findChild<QMenu*>(name)) {
                    frame.activateWindow();
                    frame.menuBar()->setActiveAction(menu->menuAction());
                }
            });
        }
        code = QApplication::exec();
        host::f_log(QStringLiteral("退出"));
        host::WindowRegistry::closeAll();
    }
    host::setHelpService(nullptr);
    host::sqlca.disconnect();
    return code;
}

}  // namespace app

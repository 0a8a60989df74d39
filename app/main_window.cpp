#include "app/main_window.h"

#include "app/login.h"
#include "app/login_dialog.h"
#include "app/main_menu.h"
#include "app/module_windows.h"
#include "app/rights_overview.h"
#include "host/functions.h"
#include "host/help.h"
#include "host/messages.h"
#include "host/transaction.h"
#include "host/window_registry.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>

namespace app {

MainWindow::MainWindow(const QString& database, QWidget* parent) : host::w_main(parent)
{
    setWindowTitle(QStringLiteral("仓库管理系统"));
    resize(1000, 720);

    MenuHandlers handlers;
    handlers.openWindow = [](const QString& windowClass) { openWindow(windowClass); };
    handlers.showHelp = [this](const QString& topic) { showHelp(topic); };
    handlers.about = [this] { about(); };
    handlers.exit = [this] { close(); };
    handlers.switchOperator = [this] { switchOperator(); };
    handlers.checkFailed = [this](const QString& reason) {
        statusBar()->showMessage(QStringLiteral("权限读取失败, 相关菜单项已禁用: ") + reason);
    };
    buildMainMenu(menuBar(), handlers);

    overview_ = new RightsOverview(this);
    setCentralWidget(overview_);
    overview_->refresh();

    user_ = new QLabel(this);
    user_->setObjectName(QStringLiteral("st_operator"));
    user_->setTextFormat(Qt::PlainText);
    showOperator();
    auto* db = new QLabel(QStringLiteral("数据库: %1").arg(host::redactedUrl(database)), this);
    db->setObjectName(QStringLiteral("st_database"));
    db->setTextFormat(Qt::PlainText);
    statusBar()->addWidget(user_);
    statusBar()->addPermanentWidget(db);
}

void MainWindow::showOperator()
{
    user_->setText(QStringLiteral("操作员: %1 %2").arg(host::gs_user_id, operatorName(host::gs_user_id)));
}

bool MainWindow::switchOperator()
{
    // Every window of the operator leaving closes first, also those opened
    // from inside another window (权限查询 from 权限管理, a dialog, a window
    // whose owner closed before it): the next operator must not find them.
    // Each is asked as when it is closed by hand (the rights editor may hold
    // unsaved rows); one that stays open stops the switch.
    if (!host::WindowRegistry::closeEveryWindow())
        return false;
    LoginDialog dialog({}, this);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    host::f_log(QStringLiteral("切换操作员: %1 -> %2").arg(host::gs_user_id, dialog.operatorId()));
    host::gs_user_id = dialog.operatorId();
    showOperator();
    checkMainMenu(menuBar());
    overview_->refresh();
    return true;
}

void MainWindow::showHelp(const QString& topic)
{
    host::htmlhelpa(this, host::kHelpFile, 0, topic);
}

void MainWindow::about()
{
    host::MessageBox(QStringLiteral("关于"),
                     QStringLiteral("仓库管理系统 (演示)\n\n"
                                    "权限管理模块的演示宿主: 菜单项按登录操作员的权限启用,"
                                    " 窗口按钮按 f_button_right 的级别启用.\n"
                                    "操作员: %1")
                         .arg(host::gs_user_id),
                     host::Icon::Information);
}

bool MainWindow::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        overview_->refresh();
    return host::w_main::event(event);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // The frame closes with every window, each asked; one that stays open
    // keeps the frame open too.
    if (!host::WindowRegistry::closeEveryWindow()) {
        event->ignore();
        return;
    }
    event->accept();
    Q_EMIT closed();
}

}  // namespace app

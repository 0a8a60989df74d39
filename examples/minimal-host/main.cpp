// minimal-host DATABASE OPERATOR [--check]
//
// The smallest host of the rights module: it connects sqlca, logs the
// operator in (the password from WMS_PASSWORD, else asked for), builds a main
// frame whose menu f_check_menu gates, and opens the module's two manager
// windows and a window of its own whose buttons follow f_button_right.
// --check prints what the operator got and quits once everything has shown.
#include "department/register_windows.h"
#include "host/functions.h"
#include "host/password.h"
#include "host/transaction.h"
#include "host/w_main.h"
#include "host/window.h"
#include "host/window_registry.h"
#include "rights/administrators.h"
#include "rights/f_button_right.h"
#include "rights/f_check_menu.h"
#include "rights/menu_item.h"
#include "rightsetup/register_windows.h"
#include "dataviews/dataviews.h"
#include "usergroup/register_windows.h"

#include <QApplication>
#include <QInputDialog>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <cstdio>
#include <utility>

namespace {

void say(const QString& line)
{
    std::puts(line.toUtf8().constData());
}

// The host's login: an operator who may log in (status "1") and whose stored
// hash (or, in an old database, plain password) matches. An empty stored
// password never matches. Every refusal verifies one hash, the stand-in when
// there is no stored one, so that its time does not tell which ids exist.
bool logIn(const QString& operatorId, const QString& password)
{
    QVariantList row;
    const bool found = host::sqlca.selectInto(QStringLiteral("select password from s_user where id = ? and status = ?"),
                                              {operatorId, QStringLiteral("1")}, row) == host::Transaction::kSuccess;
    const QString stored = found ? row.value(0).toString() : QString();
    bool ok = false;
    if (stored.isEmpty() || password.isEmpty())
        host::verifyStandIn(password);
    else
        ok = host::isPasswordHash(stored) ? host::verifyPassword(stored, password)
                                          : host::plainPasswordMatches(stored, password);
    if (ok)
        host::gs_user_id = operatorId;
    return ok;
}

// A window of the host: 库存盘点 (module item w204). Its buttons need level 2.
class StockCheckWindow : public host::Window {
public:
    StockCheckWindow()
    {
        setWindowTitle(QStringLiteral("库存盘点"));
        auto* layout = new QVBoxLayout(this);
        save_ = new QPushButton(QStringLiteral("保存"), this);
        layout->addWidget(save_);
    }
    void openEvent(const QString& parameter) override
    {
        host::Window::openEvent(parameter);
        save_->setEnabled(rights::f_button_right(this) >= 2);
    }
    bool saveEnabled() const { return save_->isEnabled(); }

private:
    QPushButton* save_;
};

// Every window opens with its module item code as its tag.
void registerWindow(const QString& windowClass, const QString& code, host::WindowRegistry::Factory make)
{
    host::WindowRegistry::registerClass(windowClass, [make, code] {
        host::Window* window = make();
        if (window)
            window->setTag(code);
        return window;
    });
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fputs("usage: minimal-host DATABASE OPERATOR [--check]\n", stderr);
        return 2;
    }
    const bool check = args.contains(QLatin1String("--check"));
    if (!host::sqlca.connect(args.at(1))) {
        std::fprintf(stderr, "minimal-host: %s\n", host::sqlca.sqlerrtext.toUtf8().constData());
        return 2;
    }
    host::setLogFile(QStringLiteral("minimal-host.log"));

    QString password = qEnvironmentVariable("WMS_PASSWORD");
    if (password.isEmpty() && !check)
        password = QInputDialog::getText(nullptr, QStringLiteral("登录"), QStringLiteral("密码:"), QLineEdit::Password);
    if (!logIn(args.at(2), password)) {
        std::fputs("minimal-host: 操作员编号或密码错误.\n", stderr);
        host::sqlca.disconnect();  // while the application object still exists
        return 1;
    }

    // The module's windows, and the items whose level-2 holders administer rights.
    dataviews::registerDataViews();
    rights::setAdministrationItems({QStringLiteral("m102"), QStringLiteral("003")});
    usergroup::registerWindows();
    rightsetup::registerWindows();
    department::registerWindows();
    registerWindow(QStringLiteral("w_right_setup"), QStringLiteral("m102"),
                   host::WindowRegistry::factory(QStringLiteral("w_right_setup")));
    registerWindow(QStringLiteral("w_right_department_manage"), QStringLiteral("m101"),
                   host::WindowRegistry::factory(QStringLiteral("w_right_department_manage")));
    registerWindow(QStringLiteral("w_stock_check"), QStringLiteral("w204"), [] { return new StockCheckWindow; });

    // The main frame and its menu, each entry tagged with its module item.
    host::w_main frame;
    frame.setWindowTitle(QStringLiteral("仓库管理"));
    QMenu* admin = frame.menuBar()->addMenu(QStringLiteral("系统"));
    QMenu* stock = frame.menuBar()->addMenu(QStringLiteral("仓库"));
    const QList<std::pair<QMenu*, QStringList>> entries = {
        {admin, {QStringLiteral("权限管理"), QStringLiteral("m102"), QStringLiteral("w_right_setup")}},
        {admin, {QStringLiteral("部门管理"), QStringLiteral("m101"), QStringLiteral("w_right_department_manage")}},
        {stock, {QStringLiteral("库存盘点"), QStringLiteral("w204"), QStringLiteral("w_stock_check")}},
    };
    QList<QAction*> actions;
    for (const auto& [menu, entry] : entries) {
        QAction* action = menu->addAction(entry.at(0));
        rights::setTag(action, entry.at(1));
        QObject::connect(action, &QAction::triggered, &frame,
                         [windowClass = entry.at(2)] { host::WindowRegistry::open(windowClass); });
        actions << action;
    }
    rights::f_check_menu(frame.menuBar());
    frame.show();

    if (check) {
        QTimer::singleShot(0, &app, [&] {
            for (QAction* action : std::as_const(actions)) {
                say(QStringLiteral("%1 %2").arg(action->text(), action->isEnabled() ? QStringLiteral("enabled")
                                                                                     : QStringLiteral("disabled")));
                if (!action->isEnabled())
                    continue;
                action->trigger();
                const QString windowClass = entries.at(actions.indexOf(action)).second.at(2);
                host::Window* window = host::WindowRegistry::instance(windowClass);
                say(QStringLiteral("%1 %2").arg(windowClass, window && window->isVisible() ? QStringLiteral("open")
                                                                                           : QStringLiteral("not open")));
                if (auto* stockWindow = dynamic_cast<StockCheckWindow*>(window))
                    say(QStringLiteral("保存 %1").arg(stockWindow->saveEnabled() ? QStringLiteral("enabled")
                                                                               : QStringLiteral("disabled")));
            }
            host::WindowRegistry::closeAll();
            app.quit();
        });
    }
    const int code = app.exec();
    host::sqlca.disconnect();
    return code;
}

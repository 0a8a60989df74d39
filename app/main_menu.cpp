#include "app/main_menu.h"

#include "app/module_windows.h"
#include "host/transaction.h"
#include "rights/f_check_menu.h"
#include "rights/menu_item.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace app {

namespace {

QMenu* submenu(QWidget* parent, const char* name, const QString& title)
{
    QMenu* menu = nullptr;
    if (auto* bar = qobject_cast<QMenuBar*>(parent))
        menu = bar->addMenu(title);
    else
        menu = static_cast<QMenu*>(parent)->addMenu(title);
    menu->setObjectName(QLatin1String(name));
    menu->menuAction()->setObjectName(QLatin1String(name));
    return menu;
}

QAction* entry(QMenu* menu, const char* name, const QString& text, const QString& tag = {})
{
    QAction* action = menu->addAction(text);
    action->setObjectName(QLatin1String(name));
    if (!tag.isNull())
        rights::setTag(action, tag);
    return action;
}

void opens(QAction* action, const MenuHandlers& handlers, const QString& windowClass)
{
    QObject::connect(action, &QAction::triggered, action,
                     [open = handlers.openWindow, windowClass] { open(windowClass); });
}

void addModuleEntry(QMenu* menu, const MenuHandlers& handlers, const char* name, const HostModule& module)
{
    opens(entry(menu, name, module.title, module.code), handlers, module.windowClass);
}

}  // namespace

void buildMainMenu(QMenuBar* bar, const MenuHandlers& h)
{
    QMenu* system = submenu(bar, "m_system", QStringLiteral("系统(&S)"));
    addModuleEntry(system, h, "m_department", moduleOfWindow(kDepartmentWindow));
    addModuleEntry(system, h, "m_right_setup", moduleOfWindow(kRightSetupWindow));
    addModuleEntry(system, h, "m_right_query", moduleOfWindow(kRightQueryWindow));
    addModuleEntry(system, h, "m_right_matrix", moduleOfWindow(kRightMatrixWindow));
    addModuleEntry(system, h, "m_right_journal", moduleOfWindow(kJournalWindow));
    system->addSeparator();
    QAction* switchOperator = entry(system, "m_switch_operator", QStringLiteral("切换操作员(&O)"));
    if (h.switchOperator)
        QObject::connect(switchOperator, &QAction::triggered, bar, h.switchOperator);
    QObject::connect(entry(system, "m_exit", QStringLiteral("退出(&X)")), &QAction::triggered, bar, h.exit);

    QMenu* warehouse = submenu(bar, "m_warehouse", QStringLiteral("仓储作业(&W)"));
    addModuleEntry(warehouse, h, "m_stock_in", demoModule("w201"));
    addModuleEntry(warehouse, h, "m_stock_out", demoModule("w202"));
    warehouse->addSeparator();
    addModuleEntry(warehouse, h, "m_stock_check", demoModule("w204"));
    addModuleEntry(warehouse, h, "m_location", demoModule("w205"));

    QMenu* query = submenu(bar, "m_query", QStringLiteral("查询统计(&Q)"));
    addModuleEntry(query, h, "m_stock_query", demoModule("w203"));
    QMenu* reports = submenu(query, "m_reports", QStringLiteral("报表"));
    addModuleEntry(reports, h, "m_io_report", demoModule("w301"));
    QMenu* finance = submenu(reports, "m_finance", QStringLiteral("财务"));
    addModuleEntry(finance, h, "m_fee_settle", demoModule("w302"));

    QMenu* help = submenu(bar, "m_help", QStringLiteral("帮助(&H)"));
    QObject::connect(entry(help, "m_help_right_setup", QStringLiteral("权限管理帮助")), &QAction::triggered, bar,
                     [show = h.showHelp] { show(kRightSetupTopic); });
    QObject::connect(entry(help, "m_help_department", QStringLiteral("部门管理帮助")), &QAction::triggered, bar,
                     [show = h.showHelp] { show(kDepartmentTopic); });
    help->addSeparator();
    QObject::connect(entry(help, "m_about", QStringLiteral("关于(&A)")), &QAction::triggered, bar, h.about);

    // A sub-menu is disabled when the walk left none of its entries enabled.
    const auto check = [failed = h.checkFailed](QMenu* menu) {
        rights::f_check_menu(menu);
        const bool readFailed = host::sqlca.sqlcode == host::Transaction::kError;
        const QString reason = host::sqlca.sqlerrtext;
        disableEmptySubmenus(menu);
        if (readFailed && failed)
            failed(reason);
    };
    for (QMenu* menu : {system, warehouse, query, help})
        QObject::connect(menu, &QMenu::aboutToShow, menu, [menu, check] { check(menu); });
    checkMainMenu(bar);
    if (host::sqlca.sqlcode == host::Transaction::kError && h.checkFailed)
        h.checkFailed(host::sqlca.sqlerrtext);
}

bool disableEmptySubmenus(QMenu* menu)
{
    bool any = false;
    for (QAction* action : menu->actions()) {
        if (QMenu* sub = action->menu()) {
            const bool enabled = disableEmptySubmenus(sub);
            action->setEnabled(enabled);
            any = any || enabled;
        } else if (!action->isSeparator() && action->isVisible()) {
            any = any || action->isEnabled();
        }
    }
    return any;
}

void checkMainMenu(QMenuBar* bar)
{
    rights::f_check_menu(bar);
    for (QAction* top : bar->actions())
        if (top->menu())
            disableEmptySubmenus(top->menu());
}

}  // namespace app

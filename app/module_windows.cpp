#include "app/module_windows.h"

#include "app/demo_window.h"
#include "host/functions.h"
#include "host/messages.h"
#include "host/transaction.h"
#include "host/window_registry.h"
#include "rights/administrators.h"
#include "rights/change_items.h"
#include "rights/f_check_right.h"
#include "dataviews/dataviews.h"

#include "usergroup/register_windows.h"
#include "rightsetup/register_windows.h"
#include "department/register_windows.h"
#include "journal/register_windows.h"

namespace app {

const QList<HostModule>& hostModules()
{
    static const QList<HostModule> modules = {
        {kRightSetupItem, QStringLiteral("权限管理"), kRightSetupWindow},
        // Reads only: whoever may look at 权限管理 may ask who can do what.
        {kRightSetupItem, QStringLiteral("权限查询"), kRightQueryWindow},
        // Changes group rights as the group rights editor does: its code.
        {kRightsEditorItem, QStringLiteral("权限矩阵"), kRightMatrixWindow},
        // Viewing needs what 权限管理 needs; reverting needs its level 2.
        {kRightSetupItem, QStringLiteral("权限变更记录"), kJournalWindow},
        {QStringLiteral("m101"), QStringLiteral("部门管理"), kDepartmentWindow},
        {QStringLiteral("w201"), QStringLiteral("入库登记"), QStringLiteral("w_stock_in")},
        {QStringLiteral("w202"), QStringLiteral("出库登记"), QStringLiteral("w_stock_out")},
        {QStringLiteral("w203"), QStringLiteral("库存查询"), QStringLiteral("w_stock_query")},
        {QStringLiteral("w204"), QStringLiteral("库存盘点"), QStringLiteral("w_stock_check")},
        {QStringLiteral("w205"), QStringLiteral("库位管理"), QStringLiteral("w_location")},
        {QStringLiteral("w301"), QStringLiteral("进出库报表"), QStringLiteral("w_io_report")},
        {QStringLiteral("w302"), QStringLiteral("费用结算"), QStringLiteral("w_fee_settle")},
    };
    return modules;
}

const QList<HostModule>& demoModules()
{
    // After the module's own five windows.
    static const QList<HostModule> modules = hostModules().mid(5);
    return modules;
}

HostModule demoModule(const QString& code)
{
    for (const HostModule& module : hostModules()) {
        if (module.code == code)
            return module;
    }
    return {};
}

HostModule moduleOfWindow(const QString& windowClass)
{
    for (const HostModule& module : hostModules()) {
        if (module.windowClass == windowClass)
            return module;
    }
    return {};
}

void registerWindows()
{
    // The module's windows bind their data views by name.
    dataviews::registerDataViews();
    // Whoever holds level 2 on 权限管理 and on the group rights editor
    // administers rights; the module keeps at least one such operator.
    rights::setAdministrationItems({kRightSetupItem, kRightsEditorItem});
    // Undoing a change from the journal needs level 2 where the change is made.
    rights::setChangeItems({{QStringLiteral("s_group_power"), kRightsEditorItem},
                            {QStringLiteral("s_group"), kRightSetupItem},
                            {QStringLiteral("s_user_group"), kRightSetupItem},
                            {QStringLiteral("s_user"), kRightSetupItem},
                            {QStringLiteral("s_dept"), QStringLiteral("m101")},
                            {QStringLiteral("s_employee"), QStringLiteral("m101")}});
    for (const HostModule& module : demoModules()) {
        host::WindowRegistry::registerClass(module.windowClass,
                                            [module] { return new DemoWindow(module.code, module.title); });
    }
    usergroup::registerWindows();
    rightsetup::registerWindows();
    department::registerWindows();
    journal::registerWindows();
    // Every window of the table is made with its code as its tag, before its
    // open handling runs and before it shows, whoever opens it.
    for (const HostModule& module : hostModules()) {
        host::WindowRegistry::Factory make = host::WindowRegistry::factory(module.windowClass);
        if (!make)
            continue;
        host::WindowRegistry::registerClass(module.windowClass, [make, code = module.code] {
            host::Window* window = make();
            if (window)
                window->setTag(code);
            return window;
        });
    }
}

host::Window* openWindow(const QString& windowClass)
{
    const QString title = QStringLiteral("提示");
    const HostModule module = moduleOfWindow(windowClass);
    if (module.code.isEmpty()) {
        host::MessageBox(title, QStringLiteral("「%1」不是本程序菜单中的窗口, 不能打开.").arg(windowClass),
                         host::Icon::Information);
        return nullptr;
    }
    // The menu's rule, whichever way the window is asked for: a menu entry
    // enabled before the right was withdrawn, --open, or a caller of this.
    host::sqlca.sqlcode = host::Transaction::kSuccess;
    host::sqlca.sqlerrtext.clear();
    if (!rights::f_check_right(module.code, QStringLiteral("1"), host::gs_user_id)) {
        if (host::sqlca.sqlcode == host::Transaction::kError)
            host::MessageBox(title,
                             QStringLiteral("无法读取您对「%1」的权限, 不能打开: %2").arg(module.title, host::sqlca.sqlerrtext),
                             host::Icon::Exclamation);
        else
            host::MessageBox(title, QStringLiteral("您没有打开「%1」的权限.").arg(module.title), host::Icon::Information);
        return nullptr;
    }
    if (!host::WindowRegistry::isRegistered(windowClass)) {
        host::MessageBox(title, QStringLiteral("%1窗口 (%2) 尚未安装到本程序.").arg(module.title, windowClass),
                         host::Icon::Information);
        return nullptr;
    }
    host::Window* window = host::WindowRegistry::open(windowClass);
    // The windows look the operator's level up on their tag; registerWindows()
    // gives it to them as they are made, and a window that was open already
    // gets it here all the same.
    if (window)
        window->setTag(module.code);
    return window;
}

}  // namespace app

#include "app/module_windows.h"

#include "app/demo_window.h"
#include "host/messages.h"
#include "host/window_registry.h"
#include "rights/administrators.h"
#include "schema/dataviews.h"

#ifdef WMS_HAVE_USERGROUP
#include "usergroup/register_windows.h"
#endif
#ifdef WMS_HAVE_RIGHTSETUP
#include "rightsetup/register_windows.h"
#endif
#ifdef WMS_HAVE_DEPARTMENT
#include "department/register_windows.h"
#endif

namespace app {

const QList<DemoModule>& demoModules()
{
    static const QList<DemoModule> modules = {
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

DemoModule demoModule(const QString& code)
{
    for (const DemoModule& module : demoModules()) {
        if (module.code == code)
            return module;
    }
    return {};
}

void registerWindows()
{
    // The module's windows bind their data views by name.
    schema::registerDataViews();
    // Whoever holds level 2 on 权限管理 and on the group rights editor
    // administers rights; the module keeps at least one such operator.
    rights::setAdministrationItems({kRightSetupItem, kRightsEditorItem});
    for (const DemoModule& module : demoModules()) {
        host::WindowRegistry::registerClass(module.windowClass,
                                            [module] { return new DemoWindow(module.code, module.title); });
    }
#ifdef WMS_HAVE_USERGROUP
    usergroup::registerWindows();
#endif
#ifdef WMS_HAVE_RIGHTSETUP
    rightsetup::registerWindows();
#endif
#ifdef WMS_HAVE_DEPARTMENT
    department::registerWindows();
#endif
}

void openWindow(const QString& windowClass)
{
    if (!host::WindowRegistry::isRegistered(windowClass)) {
        const QString name = windowClass == kRightSetupWindow   ? QStringLiteral("权限管理")
                             : windowClass == kDepartmentWindow ? QStringLiteral("部门管理")
                                                                : windowClass;
        host::MessageBox(QStringLiteral("提示"),
                         QStringLiteral("%1窗口 (%2) 尚未安装到本程序.").arg(name, windowClass),
                         host::Icon::Information);
        return;
    }
    host::WindowRegistry::open(windowClass);
}

}  // namespace app

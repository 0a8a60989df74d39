#pragma once
// The windows the demo host opens by class name: the module's two manager
// windows (registered by their libraries when they are built in) and one demo
// window per warehouse module item.

#include <QList>
#include <QString>

namespace app {

inline const QString kRightSetupWindow = QStringLiteral("w_right_setup");
inline const QString kDepartmentWindow = QStringLiteral("w_right_department_manage");
// The module item codes that administer rights: the 权限管理 menu entry's and
// the group rights editor's.
inline const QString kRightSetupItem = QStringLiteral("m102");
inline const QString kRightsEditorItem = QStringLiteral("003");

struct DemoModule {
    QString code;         // the module item code, the window's tag
    QString title;        // its name in s_moudle_item
    QString windowClass;  // the class name it is registered under
};

const QList<DemoModule>& demoModules();
// The demo module with `code`; a module with an empty code if there is none.
DemoModule demoModule(const QString& code);

// Registers the demo windows and the manager windows that are built in.
void registerWindows();

// Opens a window by class name; a class that is not built in gets a notice.
void openWindow(const QString& windowClass);

}  // namespace app

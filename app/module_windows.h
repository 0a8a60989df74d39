#pragma once
// The windows the demo host opens by class name: the module's two manager
// windows (registered by their libraries when they are built in) and one demo
// window per warehouse module item.

#include <QList>
#include <QString>

namespace host {
class Window;
}

namespace app {

inline const QString kRightSetupWindow = QStringLiteral("w_right_setup");
inline const QString kRightQueryWindow = QStringLiteral("w_right_query");
inline const QString kRightMatrixWindow = QStringLiteral("w_right_matrix");
inline const QString kJournalWindow = QStringLiteral("w_right_journal");
inline const QString kDepartmentWindow = QStringLiteral("w_right_department_manage");
// The module item codes that administer rights: the 权限管理 menu entry's and
// the group rights editor's.
inline const QString kRightSetupItem = QStringLiteral("m102");
inline const QString kRightsEditorItem = QStringLiteral("003");

struct HostModule {
    QString code;         // the module item code: the menu entry's and the window's tag
    QString title;        // its name in s_moudle_item
    QString windowClass;  // the class name it is registered under
};

// Every window the host opens, with the module item code that gates it: the
// two manager windows first, then the demo windows. The one table of codes.
const QList<HostModule>& hostModules();
// The demo windows alone.
const QList<HostModule>& demoModules();
// The module with `code`, or the one opened as `windowClass`; a module with an
// empty code if there is none.
HostModule demoModule(const QString& code);
HostModule moduleOfWindow(const QString& windowClass);

// Registers the demo windows and the manager windows that are built in.
void registerWindows();

// Opens a window by class name, as the menus, --open and every other way of
// the host do, under the menu's rule: the logged-in operator's level on the
// window's module item must be above 0 (admin may open everything). A window
// the host does not know, or one the operator may not open, is refused with a
// message and not opened; a class that is not built in gets a notice. The
// window gets its module item code as its tag. Returns the window, or null.
host::Window* openWindow(const QString& windowClass);

}  // namespace app

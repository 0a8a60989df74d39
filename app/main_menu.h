#pragma once
// The menus of the demo warehouse application. Every entry that stands for a
// module item carries the item's code in its tag; f_check_menu enables them
// by the logged-in operator's rights.

#include <QString>
#include <functional>

class QMenu;
class QMenuBar;

namespace app {

struct MenuHandlers {
    std::function<void(const QString& windowClass)> openWindow;
    std::function<void(const QString& topic)> showHelp;
    std::function<void()> about;
    std::function<void()> exit;
    // 切换操作员: another operator logs in without a restart.
    std::function<void()> switchOperator;
    // The rights could not be read: the entries stay disabled, and the
    // operator is told why.
    std::function<void(const QString& reason)> checkFailed;
};

// Fills `bar` with the application's menus. Entries are named (objectName)
// m_...; each top-level menu re-checks its entries every time it opens, so a
// right changed meanwhile is honoured.
void buildMainMenu(QMenuBar* bar, const MenuHandlers& handlers);

// Checks every entry of the menus for the logged-in operator (f_check_menu)
// and disables each sub-menu whose entries are all disabled.
void checkMainMenu(QMenuBar* bar);
// Disables the sub-menus of `menu` (not `menu` itself) that hold no enabled
// entry, and enables the others; true when `menu` holds an enabled entry.
bool disableEmptySubmenus(QMenu* menu);

// Help topics of the two manager windows (their titles followed by ".mht").
inline const QString kRightSetupTopic = QStringLiteral("权限管理.mht");
inline const QString kDepartmentTopic = QStringLiteral("部门管理.mht");

}  // namespace app

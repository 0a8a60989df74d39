#pragma once
// Enables or disables the tagged leaf items of a menu by the logged-in
// operator's (host::gs_user_id) level on the module code in each item's tag.

#include "rights/export.h"

class QMenu;
class QMenuBar;

namespace rights {

class MenuItem;

// Depth first over the sub-items of `menu_item`: an item with sub-items is
// descended into and its own enabled flag is left as it is; a leaf whose tag,
// trimmed of blanks, is a code and that is visible is enabled when the
// operator's level on that code is above "0" and disabled otherwise: the
// level f_check_right's lookup gives, read for all the leaves of the walk in
// one statement (rights::lookupLevels). The exact id "admin" then enables the
// leaf whatever the read said. Untagged and invisible items keep their state.
// When the read failed (every leaf but admin's is then disabled), host::sqlca
// holds -1 and its error afterwards, so that the host can say why.
WMS_RIGHTS_EXPORT void f_check_menu(MenuItem& menu_item);
WMS_RIGHTS_EXPORT void f_check_menu(QMenu* menu_item);
WMS_RIGHTS_EXPORT void f_check_menu(QMenuBar* menu_item);

}  // namespace rights

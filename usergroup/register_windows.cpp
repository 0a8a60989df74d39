#include "usergroup/register_windows.h"

#include "host/window_registry.h"
#include "usergroup/open_manager.h"
#include "usergroup/w_right_group_add.h"
#include "usergroup/w_right_query.h"
#include "usergroup/w_right_select_group.h"
#include "usergroup/w_right_set_password.h"
#include "usergroup/w_right_setup.h"
#include "usergroup/w_right_user_add.h"
#include "usergroup/window_names.h"

namespace usergroup {

namespace {

host::Window* tagged(host::Window* dialog)
{
    dialog->setTag(managerTag());
    return dialog;
}

}  // namespace

void registerWindows()
{
    host::WindowRegistry::registerClass(kSetup, [] { return new w_right_setup; });
    // The dialogs change data under the manager's module item code.
    host::WindowRegistry::registerClass(kGroupAdd, [] { return tagged(new w_right_group_add); });
    host::WindowRegistry::registerClass(kUserAdd, [] { return tagged(new w_right_user_add); });
    host::WindowRegistry::registerClass(kSelectGroup, [] { return tagged(new w_right_select_group); });
    host::WindowRegistry::registerClass(kSetPassword, [] { return tagged(new w_right_set_password); });
    host::WindowRegistry::registerClass(kQuery, [] { return tagged(new w_right_query); });
}

}  // namespace usergroup

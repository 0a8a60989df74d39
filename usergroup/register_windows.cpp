#include "usergroup/register_windows.h"

#include "host/window_registry.h"
#include "usergroup/w_right_group_add.h"
#include "usergroup/w_right_select_group.h"
#include "usergroup/w_right_set_password.h"
#include "usergroup/w_right_setup.h"
#include "usergroup/w_right_user_add.h"
#include "usergroup/window_names.h"

namespace usergroup {

void registerWindows()
{
    host::WindowRegistry::registerClass(kSetup, [] { return new w_right_setup; });
    host::WindowRegistry::registerClass(kGroupAdd, [] { return new w_right_group_add; });
    host::WindowRegistry::registerClass(kUserAdd, [] { return new w_right_user_add; });
    host::WindowRegistry::registerClass(kSelectGroup, [] { return new w_right_select_group; });
    host::WindowRegistry::registerClass(kSetPassword, [] { return new w_right_set_password; });
}

}  // namespace usergroup

#pragma once
// Registers the windows of the user and group administration with the host's
// window registry: w_right_setup, w_right_group_add, w_right_user_add and
// w_right_select_group. The host calls it once at start.

#include "usergroup/export.h"

namespace usergroup {

WMS_USERGROUP_EXPORT void registerWindows();

}  // namespace usergroup

#pragma once
// Registers the windows of the user and group administration with the host's
// window registry: w_right_setup, w_right_group_add, w_right_user_add and
// w_right_select_group. The host calls it once at start.

namespace usergroup {

void registerWindows();

}  // namespace usergroup

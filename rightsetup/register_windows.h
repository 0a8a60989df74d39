#pragma once
// Registers the group rights windows with the host's window registry:
// w_right_right_setup (opened by the user and group manager),
// w_right_module_list (opened by the editor), w_right_matrix (opened by the
// host) and w_right_group_copy (opened by the matrix). The host calls it once at start.

#include "rightsetup/export.h"

namespace rightsetup {

WMS_RIGHTSETUP_EXPORT void registerWindows();

}  // namespace rightsetup

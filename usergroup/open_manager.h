#pragma once

#include "usergroup/export.h"

#include <QString>
// The open manager, for the dialogs of the user and group administration.

namespace usergroup {

class w_right_setup;

// The open user and group manager, or null.
WMS_USERGROUP_EXPORT w_right_setup* openManager();
// The module item code the dialogs are checked against: the open manager's
// tag (the host may have given it), or the manager's own.
WMS_USERGROUP_EXPORT QString managerTag();

}  // namespace usergroup

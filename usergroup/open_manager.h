#pragma once
// The open manager, for the dialogs of the user and group administration.

namespace usergroup {

class w_right_setup;

// The open user and group manager, or null.
w_right_setup* openManager();

}  // namespace usergroup

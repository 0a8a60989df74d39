#pragma once
// The open manager, for the dialogs of the department administration.

namespace department {

class w_right_department_manage;

// The open department manager, or null.
w_right_department_manage* openManager();

}  // namespace department

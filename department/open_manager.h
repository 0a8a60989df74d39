#pragma once

#include <QString>
// The open manager, for the dialogs of the department administration.

namespace department {

class w_right_department_manage;

// The open department manager, or null.
w_right_department_manage* openManager();
// The module item code the dialogs are checked against: the open manager's
// tag (the host may have given it), or the manager's own.
QString managerTag();

}  // namespace department

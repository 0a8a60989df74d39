#pragma once

#include "department/export.h"

#include <QString>
// The open manager, for the dialogs of the department administration.

namespace department {

class w_right_department_manage;

// The open department manager, or null.
WMS_DEPARTMENT_EXPORT w_right_department_manage* openManager();
// The module item code the dialogs are checked against: the open manager's
// tag (the host may have given it), or the manager's own.
WMS_DEPARTMENT_EXPORT QString managerTag();

}  // namespace department

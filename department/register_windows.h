#pragma once
// Registers the windows of the department and employee administration with
// the host's window registry: the manager, its department and employee
// dialogs and the two batch dialogs. The host calls it once at start.

#include "department/export.h"

namespace department {

WMS_DEPARTMENT_EXPORT void registerWindows();

}  // namespace department

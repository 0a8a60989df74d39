#pragma once
// The logged-in operator's level inside the module's windows. A window's tag
// holds its module item code; everything that changes data needs level 2 on
// it (f_button_right), level 1 is for viewing. The level is asked afresh at
// every call, so a right taken away counts at once.

#include "common/export.h"

class QWidget;

namespace common {

// Level 2 on the window's tag ("admin" always).
WMS_COMMON_EXPORT bool canModify(QWidget* window);
// canModify(), and when it is not so, tells the operator.
WMS_COMMON_EXPORT bool ensureCanModify(QWidget* window);

}  // namespace common

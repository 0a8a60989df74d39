#pragma once

#include "rights/export.h"

#include <QString>

namespace rights {

// Does `vs_operator` hold at least level `vs_operate` ("0", "1" or "2",
// compared as strings) on module item `vs_module`? "admin" in any letter case
// holds everything without a lookup. A null level (no row), a null required
// level and a failed lookup all mean no right.
WMS_RIGHTS_EXPORT bool f_check_right(const QString& vs_module, const QString& vs_operate, const QString& vs_operator);

// The operator's level on a module item as 0, 1 or 2, mapped as f_button_right
// maps it; "admin" in any letter case gets 2 without a lookup.
WMS_RIGHTS_EXPORT int operatorLevel(const QString& vs_module, const QString& vs_operator);

}  // namespace rights

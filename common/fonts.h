#pragma once
// The fonts of the windows: "宋体" (with CJK fallbacks where it is missing)
// and "Arial", at the given point size, normal weight.

#include "common/export.h"

#include <QFont>

namespace common {

WMS_COMMON_EXPORT QFont songti(int points = 9);
WMS_COMMON_EXPORT QFont arial(int points = 10);

}  // namespace common

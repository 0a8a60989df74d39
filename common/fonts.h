#pragma once
// The fonts of the windows: "宋体" (with CJK fallbacks where it is missing)
// and "Arial", at the given point size, normal weight.

#include <QFont>

namespace common {

QFont songti(int points = 9);
QFont arial(int points = 10);

}  // namespace common

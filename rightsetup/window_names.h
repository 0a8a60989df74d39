#pragma once
// Class names of the group rights windows in the host's window registry.

#include <QString>

namespace rightsetup {

inline const QString kRightRightSetup = QStringLiteral("w_right_right_setup");
inline const QString kModuleList = QStringLiteral("w_right_module_list");

}  // namespace rightsetup

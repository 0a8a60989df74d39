#pragma once
// Class names of the group rights windows in the host's window registry.

#include <QString>

namespace rightsetup {

inline const QString kRightRightSetup = QStringLiteral("w_right_right_setup");
inline const QString kModuleList = QStringLiteral("w_right_module_list");
inline const QString kMatrix = QStringLiteral("w_right_matrix");
inline const QString kGroupCopy = QStringLiteral("w_right_group_copy");
// The user and group manager, whose selected group the editor edits; reached
// through its frame (common::ManagerFrame) only.
inline const QString kUserGroupManager = QStringLiteral("w_right_setup");

}  // namespace rightsetup

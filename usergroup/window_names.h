#pragma once
// The class names under which the windows of the user and group
// administration are registered and opened.

#include <QString>

namespace usergroup {

inline const QString kSetup = QStringLiteral("w_right_setup");
inline const QString kGroupAdd = QStringLiteral("w_right_group_add");
inline const QString kUserAdd = QStringLiteral("w_right_user_add");
inline const QString kSelectGroup = QStringLiteral("w_right_select_group");
inline const QString kSetPassword = QStringLiteral("w_right_set_password");
inline const QString kQuery = QStringLiteral("w_right_query");
// The group rights editor, registered by its own subsystem.
inline const QString kRightSetup = QStringLiteral("w_right_right_setup");
// 权限变更记录, registered by its own library (journal/).
inline const QString kJournal = QStringLiteral("w_right_journal");

}  // namespace usergroup

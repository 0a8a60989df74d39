#pragma once
// The privileged operator "admin", recognised two ways: f_check_right and
// f_button_right ignore letter case, f_check_menu wants the exact id.

#include <QString>

namespace rights {

inline const QString kAdmin = QStringLiteral("admin");

// Not null and equal to "admin" in its lower-case form.
inline bool isAdminAnyCase(const QString& id)
{
    return !id.isNull() && id.size() == kAdmin.size() && id.toLower() == kAdmin;
}

// Exactly "admin".
inline bool isAdminExact(const QString& id)
{
    return id == kAdmin;
}

}  // namespace rights

#pragma once
// The logged-in operator's (host::gs_user_id) level, 0, 1 or 2, on the module
// code in a window's tag, for the window to enable its buttons by.

#include "rights/export.h"

#include <QPointer>

#include <QWidget>

namespace rights {

class WindowRef;

// "admin" in any letter case gets 2 without a lookup; a window that is no
// longer open gets 0; otherwise the level on the window's tag, untrimmed
// ("0" 0, "1" 1, "2" 2, anything else, no row or a failed lookup 0).
WMS_RIGHTS_EXPORT int f_button_right(const WindowRef& vs_win);
WMS_RIGHTS_EXPORT int f_button_right(const QPointer<QWidget>& vs_win);
WMS_RIGHTS_EXPORT int f_button_right(QWidget* vs_win);

}  // namespace rights

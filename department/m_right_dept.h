#pragma once
// The popup menu of the department manager: one top-level item m_operate
// ("操作") with four department commands, the separator m_0 and six
// employee commands. Commands that open a window open it through the window
// registry; the others trigger an event of the open w_right_department_manage
// and do nothing when none is open.

#include "department/export.h"

#include "common/popup_menu.h"

namespace department {

class WMS_DEPARTMENT_EXPORT m_right_dept : public common::PopupMenu {
    Q_OBJECT
public:
    explicit m_right_dept(QWidget* parent = nullptr);
};

}  // namespace department

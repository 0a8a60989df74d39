#pragma once
// The popup menu of the user and group manager: one top-level item m_操作
// ("操作") with nine commands. Commands that open a window open it through
// the window registry; the others trigger an event of the open w_right_setup
// and do nothing when none is open.

#include "usergroup/export.h"

#include "common/popup_menu.h"

namespace usergroup {

class WMS_USERGROUP_EXPORT m_right_setup : public common::PopupMenu {
    Q_OBJECT
public:
    explicit m_right_setup(QWidget* parent = nullptr);
};

}  // namespace usergroup

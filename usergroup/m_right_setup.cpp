#include "usergroup/m_right_setup.h"

#include "host/window_registry.h"
#include "usergroup/w_right_setup.h"
#include "usergroup/window_names.h"

namespace usergroup {

namespace {

// Runs `event` on the open manager; nothing when none is open.
void onManager(void (w_right_setup::*event)())
{
    if (w_right_setup* manager = host::WindowRegistry::instanceOf<w_right_setup>(kSetup))
        (manager->*event)();
}

void openWindow(const QString& className)
{
    host::WindowRegistry::open(className);
}

}  // namespace

m_right_setup::m_right_setup(QWidget* parent)
    : common::PopupMenu(QStringLiteral("m_right"), QStringLiteral("m_操作"), QStringLiteral("操作"), parent)
{
    setObjectName(QStringLiteral("m_right_setup"));
    const auto opens = [](const QString& className) { return [className] { openWindow(className); }; };
    const auto triggers = [](void (w_right_setup::*action)()) { return [action] { onManager(action); }; };

    connect(addCommand(QStringLiteral("m_add_group"), QStringLiteral("增加组"), QStringLiteral("增加用户组")),
            &QAction::triggered, this, opens(kGroupAdd));
    connect(addCommand(QStringLiteral("m_mod_group"), QStringLiteral("重命名")), &QAction::triggered, this,
            triggers(&w_right_setup::ue_rename));
    connect(addCommand(QStringLiteral("m_delete_group"), QStringLiteral("删除组")), &QAction::triggered, this,
            triggers(&w_right_setup::ue_delete_lvi));
    connect(addCommand(QStringLiteral("m_add_operator"), QStringLiteral("增加操作员")), &QAction::triggered, this,
            opens(kUserAdd));
    connect(addCommand(QStringLiteral("m_mod_operator"), QStringLiteral("修改姓名")), &QAction::triggered, this,
            triggers(&w_right_setup::ue_rename));
    connect(addCommand(QStringLiteral("m_delete_operator"), QStringLiteral("删除操作员")), &QAction::triggered,
            this, triggers(&w_right_setup::ue_delete_lvi));
    connect(addCommand(QStringLiteral("m_group_right"), QStringLiteral("权限设置")), &QAction::triggered, this,
            opens(kRightSetup));
    connect(addCommand(QStringLiteral("m_换组"), QStringLiteral("全组更换")), &QAction::triggered, this,
            triggers(&w_right_setup::ue_changegroup));
    connect(addCommand(QStringLiteral("m_set_password"), QStringLiteral("设置密码")), &QAction::triggered, this,
            triggers(&w_right_setup::ue_set_password));
    connect(addCommand(QStringLiteral("m_right_query"), QStringLiteral("权限查询")), &QAction::triggered, this,
            triggers(&w_right_setup::ue_query));
    // Checks its own level for 撤销; opens only when it is built in.
    connect(addCommand(QStringLiteral("m_right_journal"), QStringLiteral("权限变更记录")), &QAction::triggered, this,
            opens(kJournal));
    connect(addCommand(QStringLiteral("m_refresh"), QStringLiteral("刷新")), &QAction::triggered, this,
            triggers(&w_right_setup::refresh));
}

}  // namespace usergroup

#include "department/m_right_dept.h"

#include "department/open_manager.h"
#include "department/w_right_department_manage.h"
#include "department/window_names.h"
#include "host/window_registry.h"

namespace department {

namespace {

// Runs `event` on the open manager; nothing when none is open.
void onManager(void (w_right_department_manage::*event)())
{
    if (w_right_department_manage* manager = openManager())
        (manager->*event)();
}

}  // namespace

m_right_dept::m_right_dept(QWidget* parent)
    : common::PopupMenu(QString(), QStringLiteral("m_operate"), QStringLiteral("操作"), parent)
{
    setObjectName(QStringLiteral("m_right_dept"));
    const auto opens = [](const QString& className) { return [className] { host::WindowRegistry::open(className); }; };
    const auto triggers = [](void (w_right_department_manage::*action)()) { return [action] { onManager(action); }; };
    using M = w_right_department_manage;

    connect(addCommand(QStringLiteral("m_add_dept"), QStringLiteral("增加部门")), &QAction::triggered, this,
            opens(kDepartmentAdd));
    connect(addCommand(QStringLiteral("m_modify_dept"), QStringLiteral("修改名称")), &QAction::triggered, this,
            triggers(&M::ue_rename));
    connect(addCommand(QStringLiteral("m_编辑部门"), QStringLiteral("编辑部门")), &QAction::triggered, this,
            triggers(&M::ue_edit));
    connect(addCommand(QStringLiteral("m_delete_dept"), QStringLiteral("删除部门")), &QAction::triggered, this,
            triggers(&M::ue_delete_lvi));
    addSeparatorItem(QStringLiteral("m_0"));
    connect(addCommand(QStringLiteral("m_add_employee"), QStringLiteral("增加员工")), &QAction::triggered, this,
            opens(kEmployeeAdd));
    connect(addCommand(QStringLiteral("m_modify_employee"), QStringLiteral("修改姓名")), &QAction::triggered, this,
            triggers(&M::ue_rename));
    connect(addCommand(QStringLiteral("m_edit_employee"), QStringLiteral("编辑员工")), &QAction::triggered, this,
            triggers(&M::ue_edit));
    connect(addCommand(QStringLiteral("m_delete_employee"), QStringLiteral("删除员工")), &QAction::triggered, this,
            triggers(&M::ue_delete_lvi));
    connect(addCommand(QStringLiteral("m_batchadd"), QStringLiteral("批导入员工")), &QAction::triggered, this,
            triggers(&M::ue_batchadd));
    connect(addCommand(QStringLiteral("m_batchdel"), QStringLiteral("批删除员工")), &QAction::triggered, this,
            triggers(&M::ue_batchdel));
    connect(addCommand(QStringLiteral("m_refresh"), QStringLiteral("刷新")), &QAction::triggered, this,
            triggers(&M::refresh));
}

}  // namespace department

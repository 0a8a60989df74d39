#include "department/w_right_employee_add.h"

#include "department/open_manager.h"
#include "department/w_right_department_manage.h"
#include "host/messages.h"
#include "platform/datawindow.h"

namespace department {

namespace {
// A new employee starts as "新员工".
const QString kNewEmployeeStatus = QStringLiteral("0");
}  // namespace

w_right_employee_add::w_right_employee_add(QWidget* parent)
    : common::RecordDialog({.title = QStringLiteral("增加员工"),
                            .size = {1563, 588},
                            .dataObject = QStringLiteral("d_right_employee_freeform"),
                            .form = {18, 24, 987, 428},
                            .actionText = QStringLiteral("增加(&A)"),
                            .buttonsX = 1083},
                           parent)
{
}

void w_right_employee_add::openEvent(const QString& parameter)
{
    common::RecordDialog::openEvent(parameter);
    if (w_right_department_manage* manager = openManager()) {
        // "(无部门)" is no department: an employee added there would belong
        // to none.
        if (w_right_department_manage::isNoDepartment(manager->currentTreeItem())) {
            host::f_box(QStringLiteral("(无部门) 不是部门, 不能在其下增加员工.\n请先在左边选择员工所在的部门."));
            close();
            return;
        }
        is_department_id = common::ManagerFrame::itemData(manager->currentTreeItem());
    }
    newRecord();
}

void w_right_employee_add::newRecord()
{
    common::RecordDialog::newRecord();
    dw_1()->setItem(1, QStringLiteral("dept_id"), is_department_id);
    dw_1()->setItem(1, QStringLiteral("status"), kNewEmployeeStatus);
}

void w_right_employee_add::cb1Clicked()
{
    // An employee code is unique over every department.
    addRecord({.idColumn = QStringLiteral("id"),
               .nameColumn = QStringLiteral("name"),
               .emptyId = QStringLiteral("员工编号不能为空."),
               .emptyName = QStringLiteral("员工名称不能为空."),
               .countStatement = QStringLiteral("select count ( *) from s_employee where id = ?"),
               .duplicateId = QStringLiteral("该员工编号已存在，请改用其它编号.")});
}

void w_right_employee_add::recordAdded(const QString& id, const QString& name)
{
    if (w_right_department_manage* manager = openManager())
        manager->lv_1()->addItem(name, id, 2);
}

}  // namespace department

#include "department/w_right_employee_edit.h"

#include "platform/datawindow.h"

namespace department {

w_right_employee_edit::w_right_employee_edit(QWidget* parent)
    : common::RecordDialog({.title = QStringLiteral("编辑员工信息"),
                            .size = {1563, 588},
                            .dataObject = QStringLiteral("d_right_employee_edit"),
                            .form = {18, 24, 987, 428},
                            .actionText = QStringLiteral("修改(&E)"),
                            .buttonsX = 1083},
                           parent)
{
}

void w_right_employee_edit::openEvent(const QString& parameter)
{
    common::RecordDialog::openEvent(parameter);
    readRecord();
}

void w_right_employee_edit::readRecord()
{
    dw_1()->retrieve({stringParm()});
}

void w_right_employee_edit::cb1Clicked()
{
    saveRecord(QStringLiteral("name"), QStringLiteral("员工名称不能为空."), QStringLiteral("员工 ") + stringParm() + QStringLiteral(" 的记录"));
}

}  // namespace department

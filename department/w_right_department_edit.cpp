#include "department/w_right_department_edit.h"

#include "platform/datawindow.h"

namespace department {

w_right_department_edit::w_right_department_edit(QWidget* parent)
    : common::RecordDialog({.title = QStringLiteral("编辑部门信息"),
                            .size = {1499, 508},
                            .dataObject = QStringLiteral("d_right_department_edit"),
                            .form = {18, 24, 987, 352},
                            .actionText = QStringLiteral("修改(&E)"),
                            .buttonsX = 1083},
                           parent)
{
}

void w_right_department_edit::openEvent(const QString& parameter)
{
    common::RecordDialog::openEvent(parameter);
    readRecord();
}

void w_right_department_edit::readRecord()
{
    dw_1()->retrieve({stringParm()});
}

void w_right_department_edit::cb1Clicked()
{
    saveRecord(QStringLiteral("dept_name"), QStringLiteral("部门名称不能为空."), QStringLiteral("部门 ") + stringParm() + QStringLiteral(" 的记录"));
}

}  // namespace department

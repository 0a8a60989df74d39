#include "department/w_right_department_add.h"

#include "department/open_manager.h"
#include "department/w_right_department_manage.h"

namespace department {

w_right_department_add::w_right_department_add(QWidget* parent)
    : common::RecordDialog({.title = QStringLiteral("增加部门"),
                            .size = {1499, 508},
                            .dataObject = QStringLiteral("d_right_department_freeform"),
                            .form = {18, 24, 987, 352},
                            .actionText = QStringLiteral("增加(&A)"),
                            .buttonsX = 1083},
                           parent)
{
}

void w_right_department_add::openEvent(const QString& parameter)
{
    common::RecordDialog::openEvent(parameter);
    newRecord();
}

void w_right_department_add::cb1Clicked()
{
    addRecord({.idColumn = QStringLiteral("dept_id"),
               .nameColumn = QStringLiteral("dept_name"),
               .emptyId = QStringLiteral("部门编号不能为空."),
               .emptyName = QStringLiteral("部门名称不能为空."),
               .countStatement = QStringLiteral("select count ( *) from s_dept where dept_id = ?"),
               .duplicateId = QStringLiteral("该部门编号已存在，请改用其它编号.")});
}

void w_right_department_add::recordAdded(const QString& id, const QString& name)
{
    if (w_right_department_manage* manager = openManager())
        manager->wf_insert_tvi(name, id);
}

}  // namespace department

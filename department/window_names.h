#pragma once
// The class names under which the windows of the department and employee
// administration are registered and opened.

#include <QString>

namespace department {

inline const QString kManage = QStringLiteral("w_right_department_manage");
inline const QString kDepartmentAdd = QStringLiteral("w_right_department_add");
inline const QString kDepartmentEdit = QStringLiteral("w_right_department_edit");
inline const QString kEmployeeAdd = QStringLiteral("w_right_employee_add");
inline const QString kEmployeeEdit = QStringLiteral("w_right_employee_edit");
inline const QString kBatchAdd = QStringLiteral("w_right_employee_batchadd");
inline const QString kBatchDel = QStringLiteral("w_right_employee_batchdel");

}  // namespace department

#include "department/register_windows.h"

#include "department/w_right_department_add.h"
#include "department/w_right_department_edit.h"
#include "department/w_right_department_manage.h"
#include "department/w_right_employee_add.h"
#include "department/w_right_employee_batchadd.h"
#include "department/w_right_employee_batchdel.h"
#include "department/w_right_employee_edit.h"
#include "department/window_names.h"
#include "host/window_registry.h"

namespace department {

void registerWindows()
{
    host::WindowRegistry::registerClass(kManage, [] { return new w_right_department_manage; });
    host::WindowRegistry::registerClass(kDepartmentAdd, [] { return new w_right_department_add; });
    host::WindowRegistry::registerClass(kDepartmentEdit, [] { return new w_right_department_edit; });
    host::WindowRegistry::registerClass(kEmployeeAdd, [] { return new w_right_employee_add; });
    host::WindowRegistry::registerClass(kEmployeeEdit, [] { return new w_right_employee_edit; });
    host::WindowRegistry::registerClass(kBatchAdd, [] { return new w_right_employee_batchadd; });
    host::WindowRegistry::registerClass(kBatchDel, [] { return new w_right_employee_batchdel; });
}

}  // namespace department

#include "department/register_windows.h"

#include "department/open_manager.h"
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

namespace {

host::Window* tagged(host::Window* dialog)
{
    dialog->setTag(managerTag());
    return dialog;
}

}  // namespace

void registerWindows()
{
    host::WindowRegistry::registerClass(kManage, [] { return new w_right_department_manage; });
    // The dialogs change data under the manager's module item code.
    host::WindowRegistry::registerClass(kDepartmentAdd, [] { return tagged(new w_right_department_add); });
    host::WindowRegistry::registerClass(kDepartmentEdit, [] { return tagged(new w_right_department_edit); });
    host::WindowRegistry::registerClass(kEmployeeAdd, [] { return tagged(new w_right_employee_add); });
    host::WindowRegistry::registerClass(kEmployeeEdit, [] { return tagged(new w_right_employee_edit); });
    host::WindowRegistry::registerClass(kBatchAdd, [] { return tagged(new w_right_employee_batchadd); });
    host::WindowRegistry::registerClass(kBatchDel, [] { return tagged(new w_right_employee_batchdel); });
}

}  // namespace department

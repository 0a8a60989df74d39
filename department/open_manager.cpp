#include "department/open_manager.h"

#include "department/w_right_department_manage.h"
#include "department/window_names.h"
#include "host/window_registry.h"

namespace department {

w_right_department_manage* openManager()
{
    return host::WindowRegistry::instanceOf<w_right_department_manage>(kManage);
}

}  // namespace department

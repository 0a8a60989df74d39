#include "department/open_manager.h"

#include "department/w_right_department_manage.h"
#include "department/window_names.h"
#include "host/window_registry.h"

namespace department {

w_right_department_manage* openManager()
{
    return host::WindowRegistry::instanceOf<w_right_department_manage>(kManage);
}

QString managerTag()
{
    if (w_right_department_manage* manager = openManager())
        return manager->tag();
    return w_right_department_manage::frameParameters().tag;
}

}  // namespace department

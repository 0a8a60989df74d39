#include "rightsetup/register_windows.h"

#include "host/window_registry.h"
#include "rightsetup/w_right_module_list.h"
#include "rightsetup/w_right_right_setup.h"
#include "rightsetup/window_names.h"

namespace rightsetup {

void registerWindows()
{
    host::WindowRegistry::registerClass(kRightRightSetup, [] { return new w_right_right_setup; });
    host::WindowRegistry::registerClass(kModuleList, [] { return new w_right_module_list; });
}

}  // namespace rightsetup

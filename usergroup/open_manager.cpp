#include "usergroup/open_manager.h"

#include "host/window_registry.h"
#include "usergroup/w_right_setup.h"
#include "usergroup/window_names.h"

namespace usergroup {

w_right_setup* openManager()
{
    return host::WindowRegistry::instanceOf<w_right_setup>(kSetup);
}

QString managerTag()
{
    if (w_right_setup* manager = openManager())
        return manager->tag();
    return w_right_setup::frameParameters().tag;
}

}  // namespace usergroup

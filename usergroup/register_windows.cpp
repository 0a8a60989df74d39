#include "usergroup/register_windows.h"

#include "host/window_registry.h"

namespace usergroup {

void registerWindows()
{
    // The windows are registered as they are built.
}

}  // namespace usergroup

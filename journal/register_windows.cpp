#include "journal/register_windows.h"

#include "host/window_registry.h"
#include "journal/w_right_journal.h"

namespace journal {

void registerWindows()
{
    // The host gives the window its module item code as its tag.
    host::WindowRegistry::registerClass(kJournalWindow, [] { return new w_right_journal; });
}

}  // namespace journal

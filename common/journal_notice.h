#pragma once
// Tells the operator, once per database and session, that changes are not
// journaled because the database has no s_right_journal table or not all of
// its triggers (journal_core/journal.h). The windows
// that change data call it as they open.

#include "common/export.h"

namespace common {

WMS_COMMON_EXPORT void tellIfJournalOff();

}  // namespace common

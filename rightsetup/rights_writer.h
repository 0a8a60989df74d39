#pragma once
// Writes a list of right changes to s_group_power as one guarded operation:
// inserts, level updates and deletes, then the lock-out guard, then COMMIT.
// Either every change is committed or none is; the operator is told why when
// none is (the database's reason, the lock-out guard's explanation, or a row
// another client changed since it was read).

#include "rightsetup/export.h"

#include "rightsetup/rights_diff.h"

namespace rightsetup {

// True when every change was committed (also for an empty list).
WMS_RIGHTSETUP_EXPORT bool writeChanges(const QList<RightChange>& changes);

}  // namespace rightsetup

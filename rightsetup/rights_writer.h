#pragma once
// Writes a list of right changes to s_group_power as one guarded operation:
// inserts, level updates and deletes, then the lock-out guard, then COMMIT.
// Either every change is committed or none is; the operator is told why when
// none is (the database's reason, the lock-out guard's explanation, or a row
// another client changed since it was read).
//
// Each change names the level the window read (RightChange::before): an
// update or delete matches the row only while it still holds that level, and
// an insert is written only while the group still has no row for the item,
// checked inside the operation's transaction. A cell another client changed,
// deleted or added meanwhile refuses the whole list; the operator is asked
// whether to read again. Cells the list does not name are left as they are.

#include "rightsetup/export.h"

#include "rightsetup/rights_diff.h"

#include <functional>

namespace rightsetup {

enum class WriteResult {
    // Every change was committed (also for an empty list).
    Written,
    // Nothing was written; the operator was told why. The changes are still
    // pending where the window keeps them.
    Refused,
    // Nothing was written because another client changed the rows meanwhile,
    // and the operator chose to read again: the window reads the database.
    ReadAgain,
};

struct WriteRequest {
    // The window's own failure message, the first line of the question after
    // a change made meanwhile ("保存失败."); empty where the window has none.
    QString failure;
    // Asked inside the operation's transaction before anything is written:
    // does the state the list was made from still hold? When it returns
    // false, `changedWhat` names what was changed meanwhile; a read that
    // failed leaves its error on sqlca (sqlcode -1) and is reported as the
    // database's.
    std::function<bool()> stillHolds;
    QString changedWhat;
};

WMS_RIGHTSETUP_EXPORT WriteResult writeChanges(const QList<RightChange>& changes, const WriteRequest& request = {});

}  // namespace rightsetup

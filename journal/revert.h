#pragma once
// 撤销 of 权限变更记录 without the window: the journal's revert with the
// logged-in operator's levels. Every entry needs level "2" on the module
// item of its table (rights::changeItem), asked when the revert runs;
// without it the whole revert is refused, naming the entry and the item.

#include "journal/export.h"

#include "journal_core/journal_revert.h"

#include <QList>
#include <QString>

namespace journal {

// Undoes `ids` in the open write transaction of `trans` as
// journal::revertJournalEntries does, for gs_user_id (levels read through
// sqlca). The caller commits or rolls back.
[[nodiscard]] WMS_JOURNAL_EXPORT int revertChanges(host::Transaction& trans, const QList<qint64>& ids,
                                                   journal::RevertOutcome* outcome);

// The operator's notice after a committed revert of `count` entries: its
// first line "已撤销 N 条变更.", then what happened to passwords.
WMS_JOURNAL_EXPORT QString revertNotice(qsizetype count, const journal::RevertOutcome& outcome);

}  // namespace journal

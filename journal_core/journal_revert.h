#pragma once
// Undoing entries of the change journal: an insert is deleted, a delete
// inserted again, an update set back to its before-state, each with a
// journaled statement, all in the caller's write transaction.
//
// Nothing from the journal is ever written to a password column (it holds
// "***" there, not the password): an update's revert keeps the row's current
// password, and a deleted operator comes back with an empty one, which cannot
// log in until an administrator sets a new one.

#include "journal_core/export.h"

#include "journal_core/journal.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace host {
class Transaction;
}

namespace journal {

// Asked for every entry of a revert before anything is written: empty when
// the entry may be reverted, otherwise the reason for refusing the revert.
using RevertPermission = std::function<QString(const JournalEntry& entry)>;

struct RevertOutcome {
    // Why the revert was refused.
    QString reason;
    // The keys (id) of operators inserted again without a password.
    QStringList restoredWithoutPassword;
    // The keys of operators whose password change the revert left as it is.
    QStringList passwordKept;
};

// Undoes the entries `ids` in the open write transaction of `trans` (it is
// opened if none is), newest first. Refused (-1, the reason in
// outcome->reason, nothing more written; the caller rolls back) when an entry
// does not exist, is not a whole row of its table before or after, is not
// permitted by `permitted`, when a row no longer equals the entry's
// after-state (passwords aside), or when a statement fails. The caller
// commits or rolls back.
[[nodiscard]] WMS_JOURNAL_CORE_EXPORT int revertJournalEntries(host::Transaction& trans, QList<qint64> ids,
                                                                const RevertPermission& permitted,
                                                                RevertOutcome* outcome);

}  // namespace journal

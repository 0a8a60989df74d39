#pragma once
// Who can still administer rights. The host names the module items an
// operator needs at level "2" to do so (the one its menu opens the user and
// group manager with, and the group rights editor's); the module refuses an
// operation that would leave nobody but the built-in "admin" able to.

#include "rights/export.h"

#include <QStringList>

namespace host {
class Transaction;
}

namespace rights {

// Set by the host at start; empty (the default) leaves the guard off.
WMS_RIGHTS_EXPORT void setAdministrationItems(const QStringList& items);
WMS_RIGHTS_EXPORT QStringList administrationItems();

// The key of the transaction-scoped PostgreSQL advisory lock that every
// guarded operation of every client of the module takes before it counts
// (pg_advisory_xact_lock(2003661682), "wmsr" in ASCII): two guarded
// operations never count at the same time; the second waits, up to the
// session's lock_timeout, until the first has committed or rolled back.
inline constexpr long long kAdministrationLockKey = 0x776D7372;

// Opens `trans`'s write transaction if none is open and, on PostgreSQL, takes
// the administration lock in it; on SQLite the write transaction (BEGIN
// IMMEDIATE) already keeps every other writer out. False when either failed
// (trans's status says why).
[[nodiscard]] WMS_RIGHTS_EXPORT bool lockAdministration(host::Transaction& trans);

// Counts, as `trans` sees the data now (inside its open transaction too),
// the s_user rows that can administer rights: "admin" in any letter case, and
// every operator who can log in (status "1", a password that is not empty)
// holding level "2" on each administration item. -1 when the read failed
// (sqlca holds the reason).
WMS_RIGHTS_EXPORT long long administratorCount(host::Transaction& trans);

}  // namespace rights

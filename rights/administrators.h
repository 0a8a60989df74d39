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

// Counts, as `trans` sees the data now (inside its open transaction too),
// the s_user rows that can administer rights: "admin" in any letter case, and
// every operator who can log in (status "1", a password that is not empty)
// holding level "2" on each administration item. -1 when the read failed
// (sqlca holds the reason).
WMS_RIGHTS_EXPORT long long administratorCount(host::Transaction& trans);

}  // namespace rights

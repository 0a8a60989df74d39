#pragma once
// Keeps someone able to administer rights. Made before an operation's first
// statement, asked after its last one (inside the transaction, before the
// COMMIT). Made, it opens the operation's write transaction, takes the
// administration lock (rights::lockAdministration: guarded operations of all
// clients run one after the other) and counts inside it. An operation that would leave nobody but the built-in "admin" who
// can log in (s_user.status "1" and a password) with level 2 on the host's
// administration items is refused (rights::administratorCount). A database where
// nobody could administer before is not made worse by anything, and nothing
// is refused there. Off while the host names no administration items.

#include "common/export.h"

#include "host/transaction.h"

#include <QString>

namespace common {

class WMS_COMMON_EXPORT AdministrationGuard {
public:
    // On `trans` (sqlca for the windows; a client of its own in a thread).
    explicit AdministrationGuard(host::Transaction& trans = host::sqlca);

    // True when the operation may be committed. Otherwise reason() says why;
    // with `tell` the operator is told at once. The caller rolls back.
    bool allows(bool tell = true);
    QString reason() const { return reason_; }

private:
    host::Transaction& trans_;
    bool on_ = false;
    long long before_ = -1;
    QString reason_;
};

}  // namespace common

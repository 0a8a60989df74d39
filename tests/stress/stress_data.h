#pragma once
// The database the stress clients share: a small pool of groups, operators
// and module items that eight clients fight over, several administrators so
// that the lock-out guard has something to refuse, and one group of the
// clients' own operators (S1 … S8) that no operation touches.

#include "host/transaction.h"

#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>

namespace stress {

// The items that administer rights (rights::setAdministrationItems).
QStringList administrationItems();
// What the random operations choose from.
QStringList poolGroups();
QStringList poolOperators();
QStringList poolItems();
// The operator id of client `n` (1-based), its journal entries' operator.
QString clientOperator(int n);

// The rows the administrator count depends on, and that the journal replays.
struct RightsState {
    QMap<QString, QString> groupNames;                   // s_group
    QSet<QPair<QString, QString>> memberships;           // s_user_group (user, group)
    QMap<QPair<QString, QString>, QString> levels;       // s_group_power (group, item) → level
};

// The state the seed writes.
RightsState seedState(int clients);
// Writes it (unjournaled) on an empty database with the module's tables.
[[nodiscard]] bool seed(host::Transaction& trans, int clients);
// Reads the state back; false on a failed read (trans says why).
[[nodiscard]] bool readState(host::Transaction& trans, RightsState* state);

// The pool's operators who can administer in `state` (status 1, a password,
// level "2" on every administration item through their groups): what the
// lock-out guard keeps above zero. No s_user row "admin" is seeded.
int administrators(const RightsState& state);

}  // namespace stress

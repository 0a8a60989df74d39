#pragma once
// The user and group manager in the managers' shared fixture.

#include "tests/support/manager_fixture.h"
#include "usergroup/w_right_setup.h"

namespace usergroup_test {

using testing_support::RecordingHelp;

class ManagerTest : public testing_support::ManagerFixture {
protected:
    ManagerTest();

    usergroup::w_right_setup* openManager();
    usergroup::w_right_setup* manager() const { return qobject_cast<usergroup::w_right_setup*>(frame()); }

    // Selects the group with this id in the tree.
    void selectGroup(const QString& id) { selectTree(id); }
    // The members of a group in the database, sorted.
    QStringList members(const QString& group);
};

}  // namespace usergroup_test

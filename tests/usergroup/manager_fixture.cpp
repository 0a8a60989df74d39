#include "tests/usergroup/manager_fixture.h"

#include "usergroup/register_windows.h"

namespace usergroup_test {

ManagerTest::ManagerTest() : ManagerFixture(QStringLiteral("w_right_setup"), &usergroup::registerWindows) {}

usergroup::w_right_setup* ManagerTest::openManager()
{
    return qobject_cast<usergroup::w_right_setup*>(openFrame());
}

QStringList ManagerTest::members(const QString& group)
{
    return strings(QStringLiteral("select user_code from s_user_group where group_code = ? order by user_code"), group);
}

}  // namespace usergroup_test

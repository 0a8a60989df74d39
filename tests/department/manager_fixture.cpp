#include "tests/department/manager_fixture.h"

#include "department/register_windows.h"

namespace department_test {

DepartmentTest::DepartmentTest()
    : ManagerFixture(QStringLiteral("w_right_department_manage"), &department::registerWindows)
{
}

department::w_right_department_manage* DepartmentTest::openManager()
{
    return qobject_cast<department::w_right_department_manage*>(openFrame());
}

QStringList DepartmentTest::employees(const QString& dept)
{
    return strings(QStringLiteral("select id from s_employee where dept_id = ? order by id"), dept);
}

}  // namespace department_test

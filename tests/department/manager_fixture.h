#pragma once
// The department manager in the managers' shared fixture.

#include "department/w_right_department_manage.h"
#include "host/window_registry.h"
#include "tests/support/manager_fixture.h"

namespace department_test {

class DepartmentTest : public testing_support::ManagerFixture {
protected:
    DepartmentTest();

    department::w_right_department_manage* openManager();
    department::w_right_department_manage* manager() const
    {
        return qobject_cast<department::w_right_department_manage*>(frame());
    }
    // Opens a registered window with a parameter and runs posted events.
    template <class W>
    W* open(const QString& className, const QString& parameter = {});

    // The employee codes of a department in the database, sorted.
    QStringList employees(const QString& dept);
};

template <class W>
W* DepartmentTest::open(const QString& className, const QString& parameter)
{
    auto* window = qobject_cast<W*>(host::WindowRegistry::open(className, parameter));
    pump();
    return window;
}

}  // namespace department_test

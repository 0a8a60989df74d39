// The add employee dialog with the department manager (what every add
// dialog does is in tests/common/record_dialogs_test.cpp).
#include "tests/department/manager_fixture.h"

#include "department/w_right_employee_add.h"
#include "host/transaction.h"
#include "platform/datawindow.h"

#include <QLineEdit>
#include <QPushButton>

using namespace department_test;

class EmployeeAddTest : public DepartmentTest {
protected:
    department::w_right_employee_add* openDialog()
    {
        return open<department::w_right_employee_add>("w_right_employee_add");
    }
    void type(department::w_right_employee_add* dialog, const QString& id, const QString& name)
    {
        ASSERT_EQ(dialog->dw_1()->setItem(1, "id", id), 1);
        ASSERT_EQ(dialog->dw_1()->setItem(1, "name", name), 1);
    }
};

TEST_P(EmployeeAddTest, ProposesTheDepartmentOfTheManagersTree)
{
    openManager();
    selectTree("D02");
    auto* dialog = openDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), "增加员工");
    EXPECT_EQ(dialog->dw_1()->dataObject(), "d_right_employee_freeform");
    EXPECT_EQ(dialog->departmentId(), "D02");
    EXPECT_EQ(dialog->dw_1()->getItemString(1, "dept_id"), "D02");
    EXPECT_EQ(dialog->cb_1()->text(), "增加(&A)");
    EXPECT_TRUE(dialog->cb_1()->isDefault());
    dialog->close();
    pump();

    // At the root the proposal is the root's data.
    selectTree("000");
    auto* atRoot = openDialog();
    EXPECT_EQ(atRoot->departmentId(), "000");
    EXPECT_EQ(atRoot->dw_1()->getItemString(1, "dept_id"), "000");
}

TEST_P(EmployeeAddTest, StoresTheEmployeeAndAppendsItToTheManagersList)
{
    auto* w = openManager();
    selectTree("D02");
    auto* dialog = openDialog();
    type(dialog, " E100", "赵敏 ");
    ASSERT_EQ(dialog->dw_1()->setItem(1, "status", "1"), 1);
    dialog->cb1Clicked();
    // Another department than the proposed one: still appended.
    type(dialog, "E101", "钱多");
    ASSERT_EQ(dialog->dw_1()->setItem(1, "dept_id", "D03"), 1);
    dialog->cb1Clicked();
    EXPECT_EQ(messages.texts(), QStringList({"增加成功.", "增加成功."}));
    EXPECT_EQ(column("s_employee", "name", "id", "E100").toString(), "赵敏 ");
    EXPECT_EQ(column("s_employee", "dept_id", "id", "E100").toString(), "D02");
    EXPECT_EQ(column("s_employee", "status", "id", "E100").toString(), "1");
    EXPECT_EQ(column("s_employee", "dept_id", "id", "E101").toString(), "D03");
    EXPECT_EQ(listData(), QStringList({"E004", "E005", "E100", "E101"}));
    EXPECT_EQ(listLabels().mid(2), QStringList({"赵敏", "钱多"}));
    EXPECT_EQ(w->lv_1()->picture(3), 2);
    // The next record proposes the department again.
    EXPECT_EQ(dialog->dw_1()->getItemString(1, "dept_id"), "D02");
    EXPECT_TRUE(dialog->dw_1()->getItemString(1, "id").isEmpty());
    EXPECT_FALSE(host::sqlca.inWriteTransaction());
}

TEST_P(EmployeeAddTest, EmptyValuesAndACodeOfAnyDepartmentAreRefused)
{
    openManager();
    selectTree("D02");
    auto* dialog = openDialog();
    dialog->cb1Clicked();
    type(dialog, "E100", " ");
    dialog->cb1Clicked();
    type(dialog, "E001", "张伟二");  // E001 works in D01
    dialog->cb1Clicked();
    EXPECT_EQ(messages.texts(),
              QStringList({"员工编号不能为空.", "员工名称不能为空.", "该员工编号已存在，请改用其它编号."}));
    EXPECT_EQ(count("s_employee"), 7);
    EXPECT_EQ(listData(), QStringList({"E004", "E005"}));
}

TEST_P(EmployeeAddTest, WorksAfterTheManagerClosed)
{
    auto* w = openManager();
    selectTree("D01");
    auto* dialog = openDialog();
    w->close();
    pump();
    type(dialog, "E100", "赵敏");
    dialog->cb1Clicked();
    EXPECT_EQ(messages.texts(), QStringList({"增加成功."}));
    EXPECT_EQ(column("s_employee", "dept_id", "id", "E100").toString(), "D01");
}

TEST_P(EmployeeAddTest, AFailedSaveIsRolledBackAndKeepsTheInput)
{
    refuse("insert", "s_employee");
    openManager();
    selectTree("D01");
    auto* dialog = openDialog();
    type(dialog, "E100", "赵敏");
    dialog->cb1Clicked();
    EXPECT_EQ(messages.texts(), QStringList({"增加失败."}));
    EXPECT_EQ(dialog->dw_1()->getItemString(1, "id"), "E100");
    EXPECT_EQ(listData(), QStringList({"E001", "E002", "E003"}));
    EXPECT_FALSE(host::sqlca.inWriteTransaction());
}

WMS_INSTANTIATE_DB_TESTS(EmployeeAddTest);

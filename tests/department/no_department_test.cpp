// "(无部门)": the employees whose department does not exist.
#include "tests/department/manager_fixture.h"

#include "department/w_right_employee_edit.h"
#include "host/transaction.h"
#include "platform/datawindow.h"
#include "schema/tables.h"

#include <QPushButton>
#include <QTreeWidget>

using namespace department_test;
using department::w_right_department_manage;

class NoDepartmentTest : public DepartmentTest {
protected:
    void SetUp() override
    {
        DepartmentTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        // Left behind by a department deleted before deletes were refused,
        // and one that never had a department.
        exec("insert into s_employee (id, name, dept_id, status) values (?, ?, ?, ?)", {"E801", "孤甲", "D09", "1"});
        exec("insert into s_employee (id, name, dept_id, status) values (?, ?, ?, ?)", {"E802", "孤乙", {}, "1"});
        ASSERT_EQ(host::sqlca.commit(), 0);
    }
    const QString& key() const { return w_right_department_manage::noDepartmentKey(); }
};

TEST_P(NoDepartmentTest, ListsTheEmployeesOfNoExistingDepartmentUnderAnItemThatIsNoDepartment)
{
    auto* w = openManager();
    EXPECT_EQ(treeLabels(), QStringList({"仓储部", "财务部", "信息部", "(无部门)"}));
    // Not a department: not in the root's list, so never renamed, deleted or given a batch there.
    EXPECT_EQ(listData(), QStringList({"D01", "D02", "D03"}));
    // Its data can be no department's code.
    EXPECT_GT(key().size(), schema::len::dept_id);
    EXPECT_TRUE(w_right_department_manage::isNoDepartment(treeItem(key())));
    EXPECT_FALSE(w_right_department_manage::isNoDepartment(treeItem("D01")));

    selectTree(key());
    EXPECT_EQ(listData(), QStringList({"E801", "E802"}));
    EXPECT_EQ(listLabels(), QStringList({"孤甲", "孤乙"}));
    EXPECT_TRUE(w->pb_batch()->isHidden());
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_P(NoDepartmentTest, IsNotShownWhenEveryEmployeeHasADepartment)
{
    exec("delete from s_employee where id in (?, ?)", {"E801", "E802"});
    ASSERT_EQ(host::sqlca.commit(), 0);
    openManager();
    EXPECT_EQ(treeData(), QStringList({"D01", "D02", "D03"}));
}

TEST_P(NoDepartmentTest, TheEditDialogMovesAnEmployeeIntoARealDepartment)
{
    auto* w = openManager();
    selectTree(key());
    click(listIndex("E801"));
    w->pb_edit()->click();
    pump();  // ue_edit is posted
    auto* edit = host::WindowRegistry::instanceOf<department::w_right_employee_edit>("w_right_employee_edit");
    ASSERT_NE(edit, nullptr);
    ASSERT_EQ(edit->dw_1()->setItem(1, "dept_id", "D02"), 1);
    edit->cb1Clicked();
    EXPECT_EQ(messages.texts(), QStringList({"修改成功."}));
    edit->close();
    pump();

    selectTree("D02");
    EXPECT_EQ(listData(), QStringList({"E004", "E005", "E801"}));
    selectTree(key());
    EXPECT_EQ(listData(), QStringList({"E802"}));
}

TEST_P(NoDepartmentTest, ItsEmployeesAreRenamedAndDeletedLikeAnyOther)
{
    auto* w = openManager();
    selectTree(key());
    click(listIndex("E802"));
    w->popupMenuFor(listIndex("E802"))->command("m_modify_employee")->trigger();
    typeLabel("孤丙");
    EXPECT_EQ(column("s_employee", "name", "id", "E802").toString(), "孤丙");

    click(listIndex("E801"));
    messages.answer(host::Answer::Yes);
    w->popupMenuFor(listIndex("E801"))->command("m_delete_employee")->trigger();
    EXPECT_EQ(count("s_employee", "id = ?", {"E801"}), 0);
    EXPECT_EQ(listData(), QStringList({"E802"}));
    // The item stays: it is no department that could be deleted.
    EXPECT_NE(treeItem(key()), nullptr);
}

TEST_P(NoDepartmentTest, NoEmployeeIsAddedUnderIt)
{
    auto* w = openManager();
    selectTree(key());
    w->pb_add()->click();
    pump();
    w->popupMenuFor(0)->command("m_add_employee")->trigger();
    pump();
    EXPECT_EQ(host::WindowRegistry::instance("w_right_employee_add"), nullptr);
    ASSERT_EQ(messages.shown().size(), 2);
    EXPECT_EQ(messages.shown()[0].text, "(无部门) 不是部门, 不能在其下增加员工.\n请先在左边选择员工所在的部门.");
    EXPECT_EQ(count("s_employee"), 9);
}

TEST_P(NoDepartmentTest, DepartmentsAddedOrDeletedLeaveItAlone)
{
    auto* w = openManager();
    w->wf_insert_tvi("新部门", "D05");
    exec("insert into s_dept (dept_id, dept_name, memo) values (?, ?, ?)", {"D05", "新部门", ""});
    ASSERT_EQ(host::sqlca.commit(), 0);
    click(listIndex("D05"));
    messages.answer(host::Answer::Yes);
    w->ue_delete_lvi();
    EXPECT_EQ(count("s_dept", "dept_id = ?", {"D05"}), 0);
    EXPECT_EQ(treeLabels(), QStringList({"仓储部", "财务部", "信息部", "(无部门)"}));
}

WMS_INSTANTIATE_DB_TESTS(NoDepartmentTest);

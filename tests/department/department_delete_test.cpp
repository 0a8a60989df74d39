// Deleting a department: refused while it holds employees, counted inside
// the delete's own transaction.
#include "tests/department/manager_fixture.h"

#include "host/transaction.h"

#include <QElapsedTimer>
#include <QPushButton>

using namespace department_test;

class DepartmentDeleteTest : public DepartmentTest {
protected:
    // An empty department D04 in the tree, selected in the root's list.
    void emptyDepartment()
    {
        exec("insert into s_dept (dept_id, dept_name, memo) values (?, ?, ?)", {"D04", "空部门", ""});
        ASSERT_EQ(host::sqlca.commit(), 0);
        openManager();
        click(listIndex("D04"));
    }
};

TEST_P(DepartmentDeleteTest, ADepartmentWithEmployeesIsNotDeletedAndTheOperatorLearnsHowMany)
{
    auto* w = openManager();
    click(listIndex("D02"));
    messages.answer(host::Answer::Yes);
    w->pb_delete()->click();
    pump();  // ue_delete_lvi is posted
    ASSERT_EQ(messages.shown().size(), 2);
    EXPECT_EQ(messages.shown()[0].text, "确定进行删除操作吗?\n编号：D02, 名称：财务部");
    EXPECT_EQ(messages.shown()[1].title, "提示");
    EXPECT_EQ(messages.shown()[1].text, "该部门下还有2名员工, 请先删除员工或将其调到其他部门.");
    EXPECT_EQ(count("s_dept", "dept_id = ?", {"D02"}), 1);
    EXPECT_EQ(employees("D02"), QStringList({"E004", "E005"}));
    EXPECT_EQ(treeData(), QStringList({"D01", "D02", "D03"}));
    EXPECT_EQ(listData(), QStringList({"D01", "D02", "D03"}));
    EXPECT_FALSE(host::sqlca.inWriteTransaction());
}

TEST_P(DepartmentDeleteTest, AnEmptyDepartmentIsDeletedAfterTheQuestion)
{
    emptyDepartment();
    messages.answer(host::Answer::Yes);
    manager()->popupMenuFor(listIndex("D04"))->command("m_delete_dept")->trigger();
    EXPECT_EQ(messages.texts(), QStringList({"确定进行删除操作吗?\n编号：D04, 名称：空部门"}));
    EXPECT_EQ(messages.shown()[0].icon, host::Icon::Question);
    EXPECT_EQ(messages.shown()[0].defaultButton, host::Answer::No);
    EXPECT_EQ(count("s_dept", "dept_id = ?", {"D04"}), 0);
    EXPECT_EQ(treeData(), QStringList({"D01", "D02", "D03"}));
    EXPECT_EQ(listData(), QStringList({"D01", "D02", "D03"}));
    EXPECT_FALSE(host::sqlca.inWriteTransaction());
}

TEST_P(DepartmentDeleteTest, AnEmployeeAddedByAnotherClientMeanwhileIsCountedOrHoldsTheDeleteBack)
{
    emptyDepartment();
    // Another client adds an employee after the window read the department.
    {
        host::Transaction other;
        ASSERT_TRUE(other.connect(url()));
        ASSERT_EQ(other.execute("insert into s_employee (id, name, dept_id, status) values (?, ?, ?, ?)",
                                {"E900", "新人", "D04", "1"}),
                  0);
        ASSERT_EQ(other.commit(), 0);
    }
    messages.answer(host::Answer::Yes);
    manager()->ue_delete_lvi();
    EXPECT_EQ(messages.texts().last(), "该部门下还有1名员工, 请先删除员工或将其调到其他部门.");
    EXPECT_EQ(count("s_dept", "dept_id = ?", {"D04"}), 1);

    // One that is still adding (not committed yet) when the delete runs: the
    // delete waits for it and gives up, rather than leave its employee
    // without a department once it commits.
    exec("delete from s_employee where id = ?", {"E900"});
    ASSERT_EQ(host::sqlca.commit(), 0);
    if (backend() == testing_support::Backend::Postgres)
        ASSERT_FALSE(value("select set_config('lock_timeout', '300', false)").isNull());
    else
        exec("pragma busy_timeout = 300");
    host::Transaction other;
    ASSERT_TRUE(other.connect(url()));
    ASSERT_EQ(other.execute("insert into s_employee (id, name, dept_id, status) values (?, ?, ?, ?)",
                            {"E901", "新人", "D04", "1"}),
              0);
    messages.clear();
    messages.answer(host::Answer::Yes);
    click(listIndex("D04"));
    QElapsedTimer timer;
    timer.start();
    manager()->ue_delete_lvi();
    EXPECT_LT(timer.elapsed(), 4000);
    ASSERT_EQ(messages.shown().size(), 2);
    EXPECT_EQ(messages.shown()[1].title, "数据库错误");
    EXPECT_TRUE(messages.shown()[1].text.contains("锁定")) << messages.shown()[1].text.toStdString();
    EXPECT_FALSE(host::sqlca.inWriteTransaction());
    ASSERT_EQ(other.commit(), 0);
    EXPECT_EQ(count("s_dept", "dept_id = ?", {"D04"}), 1);
    EXPECT_EQ(employees("D04"), QStringList({"E901"}));
    EXPECT_EQ(treeData(), QStringList({"D01", "D02", "D03", "D04"}));
}

WMS_INSTANTIATE_DB_TESTS(DepartmentDeleteTest);

// The batch delete with another client at work between its question and its
// run: an employee of the series changed, deleted or made an operator since
// the question counted it refuses the run before anything is deleted (no
// journal entry), and 是 asks the question anew on what the database holds.
// A change to an employee outside the series is kept.
#include "tests/department/manager_fixture.h"

#include "department/w_right_employee_batchdel.h"
#include "host/transaction.h"

#include <QLineEdit>

using namespace department_test;

class BatchMeanwhileTest : public DepartmentTest {
protected:
    void otherClient(const QString& sql)
    {
        host::Transaction other;
        ASSERT_TRUE(other.connect(url())) << other.sqlerrtext.toStdString();
        ASSERT_EQ(other.execute(sql), 0) << other.sqlerrtext.toStdString();
        ASSERT_EQ(other.commit(), 0) << other.sqlerrtext.toStdString();
    }
    long long journal() { return count("s_right_journal"); }
    // Deletes E000 to E003 of D01; `meanwhile` runs at the first question.
    void runDelete(const std::function<void()>& meanwhile)
    {
        department::w_right_employee_batchdel del;
        del.openEvent("D01");
        del.em_3()->setText("E0");
        del.em_1()->setText("0");
        del.em_2()->setText("3");
        testing_support::ActionAtBox step("确定进行删除操作吗?", [&] {
            meanwhile();
            before_ = journal();
        });
        del.run();
        EXPECT_TRUE(step.ran());
    }

    const QString question = "确定进行删除操作吗?\n编号：E000 至 E003, 共 4 个\n"
                             "其中2名员工同时是操作员, 其操作员帐号和所属组将一并删除.";
    long long before_ = 0;
};

TEST_P(BatchMeanwhileTest, AnEmployeeChangedOrDeletedAfterTheQuestionStopsTheRunBeforeItDeletesAnything)
{
    const QString refused = "员工 E003 的记录已被其他用户修改, 本次修改全部未保存.\n是否重新读取?";
    messages.answer(host::Answer::Yes);
    messages.answer(host::Answer::No);
    runDelete([&] { otherClient("update s_employee set name = '改名' where id = 'E003'"); });
    EXPECT_EQ(messages.texts(), QStringList({question, refused}));
    EXPECT_EQ(employees("D01"), QStringList({"E001", "E002", "E003"}));
    EXPECT_EQ(count("s_user", "id in ('E001', 'E002')"), 2);
    EXPECT_EQ(journal(), before_);
    EXPECT_FALSE(host::sqlca.inWriteTransaction());

    messages.clear();
    messages.answer(host::Answer::Yes);
    messages.answer(host::Answer::No);
    runDelete([&] { otherClient("delete from s_employee where id = 'E003'"); });
    EXPECT_EQ(messages.texts(), QStringList({question, refused}));
    EXPECT_EQ(employees("D01"), QStringList({"E001", "E002"}));
    EXPECT_EQ(journal(), before_);
}

TEST_P(BatchMeanwhileTest, AnEmployeeMadeAnOperatorMeanwhileIsAskedAboutAgainOnYes)
{
    messages.answer(host::Answer::Yes);
    messages.answer(host::Answer::Yes);  // read again: the question is asked anew
    messages.answer(host::Answer::Yes);
    runDelete([&] { otherClient("insert into s_user (id, password, status) values ('E003', '', '1')"); });
    ASSERT_EQ(messages.texts().size(), 4);
    EXPECT_EQ(messages.texts()[1], "员工 E003 的记录已被其他用户修改, 本次修改全部未保存.\n是否重新读取?");
    EXPECT_EQ(messages.texts()[2], QString(question).replace("其中2名", "其中3名"));
    EXPECT_EQ(messages.texts()[3], "操作完成.\n共删除3名员工.");
    EXPECT_TRUE(employees("D01").isEmpty());
    EXPECT_EQ(count("s_user", "id in ('E001', 'E002', 'E003')"), 0);
}

TEST_P(BatchMeanwhileTest, AChangeOutsideTheSeriesMeanwhileIsKeptAndTheRunGoesOn)
{
    messages.answer(host::Answer::Yes);
    runDelete([&] {
        otherClient("update s_employee set name = '别人' where id = 'E004'");
        otherClient("insert into s_employee (id, name, dept_id, status) values ('E009', '新人', 'D01', '1')");
    });
    EXPECT_EQ(messages.texts(), QStringList({question, "操作完成.\n共删除3名员工."}));
    EXPECT_EQ(employees("D01"), QStringList({"E009"}));
    EXPECT_EQ(value("select name from s_employee where id = 'E004'").toString(), "别人");
}

WMS_INSTANTIATE_DB_TESTS(BatchMeanwhileTest);

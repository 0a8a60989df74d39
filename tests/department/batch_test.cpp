// The batch add and batch delete dialogs.
#include "tests/department/manager_fixture.h"

#include "department/employee_series.h"
#include "department/w_right_employee_batchadd.h"
#include "department/w_right_employee_batchdel.h"
#include "host/transaction.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>

using namespace department_test;

TEST(EmployeeSeries, AReportNamesTheFirstTwentyItemsAndHowManyThereAre)
{
    QStringList codes;
    for (int n = 1; n <= 20; ++n)
        codes << department::seriesCode("A", n, "");
    EXPECT_EQ(department::boundedList(codes, ", "), codes.join(", "));
    codes << "A21";
    EXPECT_EQ(department::boundedList(codes, ", "), codes.first(20).join(", ") + "…等21个");
    EXPECT_EQ(department::boundedList(codes, "\n"), codes.first(20).join("\n") + "\n…等21个");
}

TEST(EmployeeSeries, CodesHaveATwoDigitNumberFromZeroToNine)
{
    EXPECT_EQ(department::seriesCode("A", 0, ""), "A00");
    EXPECT_EQ(department::seriesCode("A", 7, "x"), "A07x");
    EXPECT_EQ(department::seriesCode("", 12, ""), "12");
    EXPECT_EQ(department::seriesCode("AB", 99, "Z"), "AB99Z");
}

class BatchTest : public DepartmentTest {
protected:
    template <class W>
    void fill(W& dialog, const QString& head, const QString& end, const QString& begin, const QString& stop)
    {
        dialog.em_3()->setText(head);
        dialog.em_4()->setText(end);
        dialog.em_1()->setText(begin);
        dialog.em_2()->setText(stop);
    }
    QStringList allEmployees() { return employees("D01") + employees("D02") + employees("D03"); }
    // Opens a dialog made on the stack for `dept` and shows it, active.
    template <class W>
    void showOnStack(W& dialog, const QString& dept)
    {
        dialog.setAttribute(Qt::WA_DeleteOnClose, false);
        dialog.openEvent(dept);
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    }
};

TEST_P(BatchTest, TheWindowHasItsFieldsLabelsAndButtons)
{
    department::w_right_employee_batchadd add;
    add.openEvent("D01");
    EXPECT_EQ(add.windowTitle(), "批量增加员工 - D01 仓储部");
    EXPECT_EQ(add.departmentId(), "D01");
    EXPECT_EQ(add.cb_add()->objectName(), "cb_add");
    EXPECT_EQ(add.cb_add()->text(), "增加");
    EXPECT_EQ(add.cb_cancel()->text(), "取消");
    EXPECT_TRUE(add.cb_add()->isDefault());
    QStringList labels;
    for (const char* name : {"st_1", "st_2", "st_3", "st_4"})
        labels << add.findChild<QLabel*>(name)->text();
    EXPECT_EQ(labels, QStringList({"编号前缀：", "后缀：", "变化位起：", "至："}));

    department::w_right_employee_batchdel del;
    del.openEvent("D01");
    EXPECT_EQ(del.windowTitle(), "批量删除员工 - D01 仓储部");
    EXPECT_EQ(del.cb_del()->objectName(), "cb_del");
    EXPECT_EQ(del.cb_del()->text(), "删除");
}

TEST_P(BatchTest, NumberFieldsTakeAtMostTwoDigits)
{
    department::w_right_employee_batchadd add;
    add.openEvent("D01");
    QTest::keyClicks(add.em_1(), "1a-234");
    EXPECT_EQ(add.em_1()->text(), "12");
    QTest::keyClicks(add.em_3(), "A-1");
    EXPECT_EQ(add.em_3()->text(), "A-1");
}

TEST_P(BatchTest, AddsASeriesNamedLikeTheCodesWithStatusEmployed)
{
    department::w_right_employee_batchadd add;
    add.openEvent("D01");
    fill(add, "  A ", "", "1", "3");
    add.run();
    EXPECT_EQ(messages.texts(), QStringList({"操作完成.\n共增加3名员工."}));
    EXPECT_EQ(messages.titles(), QStringList({"提示"}));
    EXPECT_EQ(employees("D01"), QStringList({"A01", "A02", "A03", "E001", "E002", "E003"}));
    EXPECT_EQ(column("s_employee", "name", "id", "A02").toString(), "A02");
    EXPECT_EQ(column("s_employee", "status", "id", "A02").toString(), "1");
    EXPECT_FALSE(host::sqlca.inWriteTransaction());
    // The fields stay for another run.
    EXPECT_EQ(add.em_3()->text(), "  A ");
}

TEST_P(BatchTest, EmptyNumbersMeanZeroAndTwoDigitNumbersFollowNine)
{
    department::w_right_employee_batchadd add;
    add.openEvent("D02");
    fill(add, "B", " x ", "", "");
    add.run();
    EXPECT_EQ(count("s_employee", "id = ?", {"B00x"}), 1);
    fill(add, "C", "", "0", "0");
    add.run();
    fill(add, "C", "", "8", "12");
    add.run();
    EXPECT_EQ(employees("D02"),
              QStringList({"B00x", "C00", "C08", "C09", "C10", "C11", "C12", "E004", "E005"}));
}

TEST_P(BatchTest, PrefixAndSuffixTogetherMayHaveEightCharacters)
{
    department::w_right_employee_batchadd add;
    add.openEvent("D03");
    add.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&add));
    add.cb_cancel()->setFocus();
    fill(add, "ABCDE", "FGHI", "1", "1");
    add.run();
    EXPECT_EQ(messages.texts(), QStringList({"编号前缀+后缀字符总长度不能超过8位."}));
    EXPECT_EQ(QApplication::focusWidget(), add.em_3());
    EXPECT_EQ(count("s_employee"), 7);

    messages.clear();
    fill(add, "ABCDE ", " FGH", "1", "1");
    add.run();
    EXPECT_EQ(messages.texts(), QStringList({"操作完成.\n共增加1名员工."}));
    EXPECT_EQ(count("s_employee", "id = ?", {"ABCDE01FGH"}), 1);
}

TEST_P(BatchTest, AFirstNumberAboveTheLastIsRefused)
{
    department::w_right_employee_batchadd add;
    add.openEvent("D03");
    add.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&add));
    add.cb_cancel()->setFocus();
    fill(add, "A", "", "5", "4");
    add.run();
    EXPECT_EQ(messages.texts(), QStringList({"变化位部分开始不能大于结束."}));
    EXPECT_EQ(QApplication::focusWidget(), add.em_1());
    EXPECT_EQ(count("s_employee"), 7);
}

TEST_P(BatchTest, ExistingCodesAreReportedOrSkippedAndTheOthersAdded)
{
    exec("insert into s_employee (id, name, dept_id, status) values (?, ?, ?, ?)", {"A02", "甲", "D01", "1"});
    exec("insert into s_employee (id, name, dept_id, status) values (?, ?, ?, ?)", {"A03", "乙", "D02", "1"});
    EXPECT_EQ(host::sqlca.commit(), 0);
    department::w_right_employee_batchadd add;
    add.openEvent("D01");
    fill(add, "A", "", "1", "4");
    add.run();
    // A02 is in the department: skipped; A03 is in another: its insert fails.
    // One message at the end names both, A03 with the database's reason.
    ASSERT_EQ(messages.texts().size(), 1);
    const QString head = "操作完成.\n共增加2名员工.\n该部门已存在编号为：A02的员工\n以下1个编号未能处理:\nA03: ";
    EXPECT_TRUE(messages.texts().first().startsWith(head)) << messages.texts().first().toStdString();
    EXPECT_GT(messages.texts().first().size(), head.size());
    EXPECT_EQ(employees("D01"), QStringList({"A01", "A02", "A04", "E001", "E002", "E003"}));
    EXPECT_EQ(column("s_employee", "name", "id", "A02").toString(), "甲");
    EXPECT_EQ(column("s_employee", "dept_id", "id", "A03").toString(), "D02");
    EXPECT_FALSE(host::sqlca.inWriteTransaction());
}

TEST_P(BatchTest, DeletesOnlyTheDepartmentsCodesWithTheirOperatorAccountsAfterOneConfirmation)
{
    exec("insert into s_employee (id, name, dept_id, status) values (?, ?, ?, ?)", {"E007", "外部", "D02", "1"});
    EXPECT_EQ(host::sqlca.commit(), 0);
    department::w_right_employee_batchdel del;
    del.openEvent("D01");
    fill(del, "E0", "", "0", "7");
    messages.answer(host::Answer::Yes);
    del.run();
    // E001 and E002 are operators.
    EXPECT_EQ(messages.texts(), QStringList({"确定进行删除操作吗?\n编号：E000 至 E007, 共 8 个\n"
                                             "其中2名员工同时是操作员, 其操作员帐号和所属组将一并删除.",
                                             "操作完成.\n共删除3名员工."}));
    EXPECT_EQ(messages.shown()[0].icon, host::Icon::Question);
    EXPECT_EQ(messages.shown()[0].defaultButton, host::Answer::No);
    EXPECT_TRUE(employees("D01").isEmpty());
    EXPECT_EQ(employees("D02"), QStringList({"E004", "E005", "E007"}));
    // E001 and E002 were operators: a deleted employee must not log in any more.
    EXPECT_EQ(count("s_user", "id in (?, ?)", {"E001", "E002"}), 0);
    EXPECT_EQ(count("s_user_group", "user_code in (?, ?)", {"E001", "E002"}), 0);
    // E004 of another department keeps its account.
    EXPECT_EQ(count("s_user", "id = ?", {"E004"}), 1);
    EXPECT_FALSE(host::sqlca.inWriteTransaction());
}

TEST_P(BatchTest, DeletingARangeWithoutEmployeesOnlyReportsTheEnd)
{
    department::w_right_employee_batchdel del;
    del.openEvent("D02");
    fill(del, "X", "Y", "1", "20");
    messages.answer(host::Answer::Yes);
    del.run();
    EXPECT_EQ(messages.texts().last(), "操作完成.\n共删除0名员工.");
    EXPECT_EQ(count("s_employee"), 7);

    messages.clear();
    fill(del, "ABCDEFGHI", "", "1", "1");
    del.run();
    fill(del, "E", "", "9", "1");
    del.run();
    EXPECT_EQ(messages.texts(),
              QStringList({"编号前缀+后缀字符总长度不能超过8位.", "变化位部分开始不能大于结束."}));
    EXPECT_EQ(count("s_employee"), 7);
}

TEST_P(BatchTest, TheManagersBatchAddShowsItsEmployeesWhenTheDepartmentIsSelectedAgain)
{
    auto* w = openManager();
    click(listIndex("D03"));
    {
        testing_support::ModalResponder responder([&](QWidget* dialog) {
            auto* batch = qobject_cast<department::w_right_employee_batchadd*>(dialog);
            ASSERT_NE(batch, nullptr);
            QTest::keyClicks(batch->em_3(), "T");
            QTest::keyClicks(batch->em_1(), "1");
            QTest::keyClicks(batch->em_2(), "2");
            batch->cb_add()->click();
            batch->cb_cancel()->click();
        });
        w->popupMenuFor(listIndex("D03"))->command("m_batchadd")->trigger();
        EXPECT_TRUE(responder.handled());
    }
    EXPECT_EQ(messages.texts(), QStringList({"操作完成.\n共增加2名员工."}));
    EXPECT_EQ(listData(), QStringList({"D01", "D02", "D03"}));
    selectTree("D03");
    EXPECT_EQ(listData(), QStringList({"E006", "T01", "T02", "admin"}));
}

TEST_P(BatchTest, ThePreviewNamesFirstAndLastCodeAndTheirNumberOrWhyThereIsNone)
{
    department::w_right_employee_batchadd add;
    add.openEvent("D02");
    EXPECT_EQ(add.windowTitle(), "批量增加员工 - D02 财务部");
    EXPECT_EQ(add.st_preview()->textFormat(), Qt::PlainText);
    EXPECT_EQ(add.st_preview()->text(), "编号：00 至 00, 共 1 个");
    fill(add, "T", "x", "8", "12");
    EXPECT_EQ(add.st_preview()->text(), "编号：T08x 至 T12x, 共 5 个");
    add.em_1()->setText("13");
    EXPECT_EQ(add.st_preview()->text(), "变化位部分开始不能大于结束.");
    add.em_1()->setText("0");
    add.em_3()->setText("ABCDEFGH");
    EXPECT_EQ(add.st_preview()->text(), "编号前缀+后缀字符总长度不能超过8位.");
    EXPECT_TRUE(messages.shown().isEmpty());
    EXPECT_EQ(count("s_employee"), 7);
}

TEST_P(BatchTest, AnsweringNoToTheBatchDeleteQuestionDeletesNothing)
{
    department::w_right_employee_batchdel del;
    del.openEvent("D01");
    fill(del, "E", "", "0", "9");
    messages.answer(host::Answer::No);
    del.run();
    EXPECT_EQ(messages.texts(), QStringList({"确定进行删除操作吗?\n编号：E00 至 E09, 共 10 个"}));
    EXPECT_EQ(employees("D01"), QStringList({"E001", "E002", "E003"}));
}

TEST_P(BatchTest, EnterRunsTheSeriesAndEscClosesTheDialog)
{
    department::w_right_employee_batchadd add;
    showOnStack(add, "D03");
    fill(add, "K", "", "1", "2");
    add.em_2()->setFocus();
    QTest::keyClick(add.em_2(), Qt::Key_Return);
    pump();
    EXPECT_EQ(messages.texts(), QStringList({"操作完成.\n共增加2名员工."}));
    EXPECT_EQ(count("s_employee", "id in (?, ?)", {"K01", "K02"}), 2);
    EXPECT_TRUE(add.isVisible());
    QTest::keyClick(add.em_2(), Qt::Key_Escape);
    pump();
    EXPECT_FALSE(add.isVisible());
}

TEST_P(BatchTest, ALongRunShowsItsProgressAndACancelKeepsAndCountsWhatWasDone)
{
    department::w_right_employee_batchadd add;
    add.openEvent("D03");
    add.show();
    fill(add, "P", "", "0", "99");
    bool shown = false;
    QObject::connect(&add, &department::EmployeeSeriesWindow::codeProcessed, &add, [&](long processed, long total) {
        EXPECT_EQ(total, 100);
        ASSERT_NE(add.progress(), nullptr);
        EXPECT_EQ(add.progress()->maximum(), 100);
        if (processed == 1) {
            auto* label = add.progress()->findChild<QLabel*>("st_progress");
            ASSERT_NE(label, nullptr);
            EXPECT_EQ(label->textFormat(), Qt::PlainText);
            EXPECT_EQ(label->text(), "批量增加员工...\n编号：P00 至 P99, 共 100 个");
        }
        EXPECT_EQ(add.progress()->value(), processed);
        shown = shown || add.progress()->isVisible();
        if (processed == 3)
            add.progress()->cancel();
    });
    add.run();
    EXPECT_TRUE(shown);
    EXPECT_EQ(add.progress(), nullptr);
    EXPECT_EQ(messages.texts(), QStringList({"操作完成.\n共增加3名员工.\n操作已取消, 其余97个编号未处理."}));
    // What was done before the cancel is committed; nothing after it ran.
    EXPECT_EQ(count("s_employee", "id like ?", {"P%"}), 3);
    EXPECT_EQ(count("s_employee", "id = ?", {"P02"}), 1);
    EXPECT_FALSE(host::sqlca.inWriteTransaction());
}

TEST_P(BatchTest, NoBoxComesDuringALongRunWithExistingCodesAndTheReportNamesThemAtItsEnd)
{
    // A00 to A29 exist: the run over A00 to A39 skips them and adds the rest.
    for (int n = 0; n < 30; ++n) {
        const QString code = department::seriesCode("A", n, "");
        exec("insert into s_employee (id, name, dept_id, status) values (?, ?, ?, ?)", {code, code, "D01", "1"});
    }
    ASSERT_EQ(host::sqlca.commit(), 0);
    department::w_right_employee_batchadd add;
    showOnStack(add, "D01");
    fill(add, "A", "", "0", "39");
    long seen = 0;
    QObject::connect(&add, &department::EmployeeSeriesWindow::codeProcessed, &add, [&](long processed, long) {
        seen = processed;
        // Nothing waits for an answer under the progress dialog.
        EXPECT_TRUE(messages.shown().isEmpty()) << processed;
        ASSERT_NE(add.progress(), nullptr);
        EXPECT_TRUE(add.progress()->isVisible());
        EXPECT_EQ(QApplication::activeModalWidget(), add.progress());
        if (processed == 35)
            add.progress()->cancel();  // stops after the current code
    });
    add.em_2()->setFocus();
    QTest::keyClick(add.em_2(), Qt::Key_Return);
    pump();
    EXPECT_EQ(seen, 35);
    QStringList skipped;
    for (int n = 0; n < 20; ++n)
        skipped << department::seriesCode("A", n, "");
    EXPECT_EQ(messages.texts(), QStringList({"操作完成.\n共增加5名员工.\n操作已取消, 其余5个编号未处理.\n"
                                             "该部门已存在编号为：" + skipped.join(", ") + "…等30个的员工"}));
    EXPECT_EQ(count("s_employee", "id like ? and dept_id = ?", {"A%", "D01"}), 35);
    EXPECT_EQ(count("s_employee", "id = ?", {"A35"}), 0);
    EXPECT_FALSE(host::sqlca.inWriteTransaction());
}

WMS_INSTANTIATE_DB_TESTS(BatchTest);

// The add user dialog.
#include "tests/usergroup/manager_fixture.h"

#include "host/functions.h"
#include "host/password.h"
#include "host/transaction.h"
#include "host/window_registry.h"
#include "platform/datawindow.h"
#include "tests/support/modal_responder.h"
#include "usergroup/w_right_set_password.h"
#include "usergroup/w_right_user_add.h"

#include <QComboBox>
#include <algorithm>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QTemporaryDir>

using namespace usergroup_test;

class UserAddTest : public ManagerTest {
protected:
    usergroup::w_right_user_add* openDialogUnder(const QString& group)
    {
        openManager();
        selectGroup(group);
        manager()->pb_add()->click();
        pump();
        return qobject_cast<usergroup::w_right_user_add*>(host::WindowRegistry::instance("w_right_user_add"));
    }
    void choose(usergroup::w_right_user_add* dialog, const QString& id)
    {
        ASSERT_EQ(dialog->dw_1()->setItem(1, "user_code", id), 1);
    }
    // The success box of an operator without a password: it offers 设置密码.
    static constexpr const char* kAddedWithoutPassword =
        "增加成功.\n该操作员尚未设置密码, 设置之前不能登录.\n是否现在为该操作员设置密码?";
};

TEST_P(UserAddTest, OpensOnTheGroupCurrentInTheManager)
{
    auto* dialog = openDialogUnder("003");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), "增加操作员");
    EXPECT_EQ(dialog->groupId(), "003");
    EXPECT_EQ(dialog->dw_1()->dataObject(), "d_right_user_freeform");
    EXPECT_EQ(dialog->dw_1()->getItemString(1, "group_code"), "003");
    EXPECT_TRUE(dialog->rb_1()->isChecked());
    EXPECT_EQ(dialog->rb_1()->text(), "选取员工");
    EXPECT_EQ(dialog->rb_2()->text(), "选取操作员");
}

TEST_P(UserAddTest, TheEmployeeListOpensWideEnoughForIdAndNameAndLeavesOutWhoHasLeft)
{
    auto* dialog = openDialogUnder("003");
    ASSERT_NE(dialog, nullptr);
    auto* combo = qobject_cast<QComboBox*>(dialog->dw_1()->editorFor("user_code"));
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->findText("E005"), -1);  // 陈静 has left
    EXPECT_GE(combo->findText("E003"), 0);   // a new employee is offered
    combo->showPopup();
    auto* table = qobject_cast<QTableView*>(combo->view());
    ASSERT_NE(table, nullptr);
    // Every text of every shown column fits into the open list.
    int texts = 0;
    for (int c = 0; c < table->model()->columnCount(); ++c) {
        if (table->isColumnHidden(c))
            continue;
        int widest = 0;
        for (int r = 0; r < table->model()->rowCount(); ++r)
            widest = std::max(widest,
                              table->fontMetrics().horizontalAdvance(table->model()->index(r, c).data().toString()));
        EXPECT_GT(table->columnWidth(c), widest) << c;
        texts += widest;
    }
    EXPECT_EQ(table->model()->columnCount() - (table->isColumnHidden(0) ? 1 : 0), 2);
    EXPECT_TRUE(QTest::qWaitFor([&] { return table->viewport()->width() > texts; }, 1000))
        << table->viewport()->width() << " <= " << texts;
    combo->hidePopup();
}

TEST_P(UserAddTest, AMissingOrAlreadyMemberPersonIsRefused)
{
    auto* dialog = openDialogUnder("002");
    dialog->cb1Clicked();
    choose(dialog, " E001 ");
    dialog->cb1Clicked();
    EXPECT_EQ(messages.texts(), QStringList({"操作员不能为空.", "操作员在此组已存在，请选择其人员."}));
    EXPECT_EQ(messages.titles(), QStringList({"提示", "提示"}));
    EXPECT_EQ(members("002"), QStringList({"E001", "E002"}));
}

TEST_P(UserAddTest, AnEmployeeBecomesAnOperatorOnceAndAMemberOfEachGroup)
{
    auto* dialog = openDialogUnder("002");
    choose(dialog, "E003");
    messages.answer(host::Answer::No);  // no password now
    dialog->cb1Clicked();
    EXPECT_EQ(messages.texts(), QStringList({kAddedWithoutPassword}));
    EXPECT_EQ(count("s_user", "id = ?", {"E003"}), 1);
    EXPECT_EQ(value("select password from s_user where id = ?", {"E003"}).toString(), "");
    EXPECT_EQ(value("select status from s_user where id = ?", {"E003"}).toString(), "1");
    EXPECT_EQ(members("002"), QStringList({"E001", "E002", "E003"}));
    EXPECT_EQ(listData(), QStringList({"E001", "E002", "E003"}));
    EXPECT_EQ(listLabels().last(), "李娜");
    EXPECT_EQ(manager()->lv_1()->picture(3), 2);
    EXPECT_FALSE(host::sqlca.inWriteTransaction());
    // The form is ready for the next person of the same group.
    EXPECT_TRUE(dialog->dw_1()->getItemString(1, "user_code").isEmpty());
    EXPECT_EQ(dialog->dw_1()->getItemString(1, "group_code"), "002");
    dialog->close();
    pump();

    // Still without a password: the offer comes again.
    auto* second = openDialogUnder("004");
    choose(second, "E003");
    messages.answer(host::Answer::No);
    second->cb1Clicked();
    EXPECT_EQ(messages.texts().last(), kAddedWithoutPassword);
    EXPECT_EQ(count("s_user", "id = ?", {"E003"}), 1);
    EXPECT_EQ(members("004"), QStringList({"E003", "E004"}));
}

TEST_P(UserAddTest, AnExistingOperatorIsOnlyMadeAMember)
{
    auto* dialog = openDialogUnder("004");
    dialog->rb_2()->click();
    EXPECT_EQ(dialog->dw_1()->getItemString(1, "group_code"), "004");
    choose(dialog, "E001");
    dialog->cb1Clicked();
    EXPECT_EQ(messages.texts(), QStringList({"增加成功."}));
    EXPECT_EQ(count("s_user"), 5);
    EXPECT_EQ(members("004"), QStringList({"E001", "E004"}));
}

TEST_P(UserAddTest, TheNewOperatorsPasswordIsSetRightAfterTheAdd)
{
    auto* dialog = openDialogUnder("002");
    choose(dialog, "E003");
    const QList<testing_support::ShownBox>& boxes = messages.shown();
    messages.answer(host::Answer::Yes);
    {
        testing_support::ModalResponder responder([](QWidget* modal) {
            auto* setPassword = qobject_cast<usergroup::w_right_set_password*>(modal);
            ASSERT_NE(setPassword, nullptr);
            EXPECT_EQ(setPassword->userId(), "E003");
            setPassword->sle_password()->setText("Neu-7");
            setPassword->sle_confirm()->setText("Neu-7");
            setPassword->cb_ok()->click();
        });
        dialog->cb1Clicked();
        EXPECT_TRUE(responder.handled());
    }
    ASSERT_EQ(boxes.size(), 2);
    EXPECT_EQ(boxes.at(0).text, kAddedWithoutPassword);
    EXPECT_EQ(boxes.at(0).buttons, host::Buttons::YesNo);
    EXPECT_EQ(boxes.at(0).defaultButton, host::Answer::Yes);
    EXPECT_EQ(boxes.at(1).text, "设置密码成功.");
    EXPECT_TRUE(host::verifyPassword(value("select password from s_user where id = ?", {"E003"}).toString(), "Neu-7"));
    EXPECT_EQ(members("002"), QStringList({"E001", "E002", "E003"}));
    EXPECT_FALSE(host::sqlca.inWriteTransaction());
    // The dialog stays open for the next person.
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->dw_1()->getItemString(1, "group_code"), "002");
}

TEST_P(UserAddTest, SwitchingTheSourceDropsTheChoice)
{
    auto* dialog = openDialogUnder("002");
    choose(dialog, "E003");
    dialog->rb_2()->click();
    EXPECT_EQ(dialog->dw_1()->rowCount(), 1);
    EXPECT_TRUE(dialog->dw_1()->getItemString(1, "user_code").isEmpty());
    EXPECT_EQ(dialog->dw_1()->getItemString(1, "group_code"), "002");
    dialog->rb_1()->click();
    EXPECT_EQ(dialog->dw_1()->getItemString(1, "group_code"), "002");
}

TEST_P(UserAddTest, APersonWithoutEmployeeRowIsListedWithAnEmptyLabel)
{
    auto* dialog = openDialogUnder("002");
    choose(dialog, "X99");
    messages.answer(host::Answer::No);
    dialog->cb1Clicked();
    EXPECT_EQ(messages.texts(), QStringList({kAddedWithoutPassword}));
    EXPECT_EQ(listData().last(), "X99");
    EXPECT_EQ(listLabels().last(), "");
}

TEST_P(UserAddTest, AFailedMembershipSaveUndoesTheNewOperatorToo)
{
    refuse("insert", "s_user_group");
    auto* dialog = openDialogUnder("002");
    choose(dialog, "E005");
    dialog->cb1Clicked();
    EXPECT_EQ(messages.texts(), QStringList({"增加失败."}));
    // One operation: the operator row goes with the membership it was made for.
    EXPECT_EQ(count("s_user", "id = ?", {"E005"}), 0);
    EXPECT_EQ(members("002"), QStringList({"E001", "E002"}));
    EXPECT_EQ(listData(), QStringList({"E001", "E002"}));
    EXPECT_FALSE(host::sqlca.inWriteTransaction());
}

TEST_P(UserAddTest, AFailedOperatorInsertIsLoggedAndStopsTheAdd)
{
    QTemporaryDir dir;
    const QString previousLog = host::logFile();
    host::setLogFile(dir.filePath("test.log"));
    refuse("insert", "s_user");
    auto* dialog = openDialogUnder("002");
    choose(dialog, "E005");
    dialog->cb1Clicked();
    host::setLogFile(previousLog);
    // A membership without its operator row would name nobody who can log in.
    EXPECT_EQ(messages.texts(), QStringList({"增加失败."}));
    EXPECT_EQ(count("s_user", "id = ?", {"E005"}), 0);
    EXPECT_EQ(members("002"), QStringList({"E001", "E002"}));
    EXPECT_EQ(listData(), QStringList({"E001", "E002"}));
    EXPECT_FALSE(host::sqlca.inWriteTransaction());
    QFile log(dir.filePath("test.log"));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(log.readAll()).contains("向操作员表中插入员工IDE005时发生错误"));
}

TEST_P(UserAddTest, WithTheManagerClosedTheMembershipIsStillStored)
{
    auto* dialog = openDialogUnder("002");
    manager()->close();
    pump();
    choose(dialog, "E004");
    dialog->cb1Clicked();
    EXPECT_EQ(messages.texts(), QStringList({"增加成功."}));
    EXPECT_EQ(members("002"), QStringList({"E001", "E002", "E004"}));
}

WMS_INSTANTIATE_DB_TESTS(UserAddTest);

// Moving every operator of a group into another (ue_changegroup) and the
// select group dialog.
#include "tests/usergroup/manager_fixture.h"

#include "host/transaction.h"
#include "host/window_registry.h"
#include "platform/datawindow.h"
#include "usergroup/w_right_select_group.h"

#include <QPushButton>
#include <QTest>

using namespace usergroup_test;

namespace {

// Answers w_right_select_group with the group `target` ("" cancels).
testing_support::ModalResponder* chooseTarget(const QString& target, QStringList* listed = nullptr)
{
    return new testing_support::ModalResponder([target, listed](QWidget* modal) {
        auto* dialog = qobject_cast<usergroup::w_right_select_group*>(modal);
        ASSERT_NE(dialog, nullptr);
        platform::DataWindow* dw = dialog->dw_1();
        if (listed) {
            for (long row = 1; row <= dw->rowCount(); ++row)
                *listed << dw->getItemString(row, "group_id");
        }
        if (target.isEmpty()) {
            dialog->cb_cancel()->click();
            return;
        }
        const long row = dw->find("group_id = " + platform::quoteLiteral(target), 1, dw->rowCount());
        ASSERT_GT(row, 0);
        dw->setRow(row);
        dialog->cb_ok()->click();
    });
}

}  // namespace

class ChangeGroupTest : public ManagerTest {
protected:
    void move(const QString& source, const QString& target, QStringList* listed = nullptr)
    {
        click(listIndex(source));
        std::unique_ptr<testing_support::ModalResponder> responder(chooseTarget(target, listed));
        manager()->popupMenuFor(listIndex(source))->command("m_换组")->trigger();
        EXPECT_TRUE(responder->handled());
    }
    void addGroup(const QString& id, const QString& name)
    {
        exec("insert into s_group (group_id, group_name) values (?, ?)", {id, name});
        EXPECT_EQ(host::sqlca.commit(), 0);
    }
};

TEST_P(ChangeGroupTest, WithoutASelectedGroupAsksForOne)
{
    auto* w = openManager();
    w->lv_1()->clearSelection();
    w->ue_changegroup();
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown()[0].title, "提示");
    EXPECT_EQ(messages.shown()[0].text, "请选择要变换的起始组.");
}

TEST_P(ChangeGroupTest, AGroupWithoutOperatorsCannotBeMoved)
{
    addGroup("005", "空组");
    auto* w = openManager();
    click(listIndex("005"));
    w->ue_changegroup();
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown()[0].title, "提示");
    EXPECT_EQ(messages.shown()[0].text, "该组用户为空，请重新选择起始组.");
}

TEST_P(ChangeGroupTest, MovingIntoAnEmptyGroupAsksNamingSourceTargetAndCount)
{
    addGroup("005", "空组");
    openManager();
    QStringList listed;
    messages.answer(host::Answer::Yes);
    move("002", "005", &listed);
    EXPECT_EQ(listed, QStringList({"001", "003", "004", "005"}));
    EXPECT_EQ(messages.texts(), QStringList({"是否将起始组的全部操作员转移至目的组.\n"
                                             "起始组：002 仓库管理员, 操作员 2 个\n目的组：005 空组, 操作员 0 个",
                                             "更换组成功."}));
    EXPECT_EQ(messages.shown()[0].defaultButton, host::Answer::No);
    EXPECT_EQ(messages.titles(), QStringList({"提示", "提示"}));
    EXPECT_EQ(members("005"), QStringList({"E001", "E002"}));
    EXPECT_TRUE(members("002").isEmpty());
    EXPECT_EQ(count("s_group", "group_id = ?", {"002"}), 1);
    EXPECT_EQ(members("003"), QStringList({"E002", "E004"}));
    EXPECT_FALSE(host::sqlca.inWriteTransaction());
    EXPECT_EQ(listData(), QStringList({"001", "002", "003", "004", "005"}));
}

TEST_P(ChangeGroupTest, AnsweringNoForAnEmptyTargetMovesNobody)
{
    addGroup("005", "空组");
    openManager();
    messages.answer(host::Answer::No);
    move("001", "005");
    EXPECT_EQ(messages.shown().size(), 1);
    EXPECT_TRUE(members("005").isEmpty());
    EXPECT_EQ(members("001"), QStringList({"E006", "admin"}));
}

TEST_P(ChangeGroupTest, MovingIntoAGroupWithMembersAsksAndNoKeepsEverything)
{
    openManager();
    messages.answer(host::Answer::No);
    move("003", "002");
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown()[0].title, "提示");
    EXPECT_EQ(messages.shown()[0].text,
              "该目的组尚有其他用户，是否强制转移至该组.\n选择[是]则执行转移，选择[否]则不执行转移操作.\n"
              "起始组：003 查询员, 操作员 2 个\n目的组：002 仓库管理员, 操作员 2 个");
    EXPECT_EQ(messages.shown()[0].icon, host::Icon::Question);
    EXPECT_EQ(messages.shown()[0].buttons, host::Buttons::YesNo);
    EXPECT_EQ(messages.shown()[0].defaultButton, host::Answer::No);
    EXPECT_EQ(members("002"), QStringList({"E001", "E002"}));
    EXPECT_EQ(members("003"), QStringList({"E002", "E004"}));
}

TEST_P(ChangeGroupTest, YesMovesEveryOperatorAndASharedOneEndsInTheTargetOnce)
{
    openManager();
    messages.answer(host::Answer::Yes);
    move("003", "002");
    EXPECT_EQ(messages.texts().last(), "更换组成功.");
    EXPECT_EQ(members("002"), QStringList({"E001", "E002", "E004"}));
    EXPECT_TRUE(members("003").isEmpty());
    EXPECT_EQ(members("004"), QStringList({"E004"}));
    EXPECT_FALSE(host::sqlca.inWriteTransaction());
}

TEST_P(ChangeGroupTest, AFailedForcedMoveIsRolledBackAsAWhole)
{
    refuse("delete", "s_user_group");
    openManager();
    messages.answer(host::Answer::Yes);
    move("003", "002");
    EXPECT_EQ(messages.texts().last(), "更新失败.");
    EXPECT_EQ(messages.titles().last(), "提示");
    EXPECT_EQ(members("002"), QStringList({"E001", "E002"}));
    EXPECT_EQ(members("003"), QStringList({"E002", "E004"}));
    EXPECT_FALSE(host::sqlca.inWriteTransaction());
}

TEST_P(ChangeGroupTest, CancellingTheDialogEndsTheMoveSilently)
{
    openManager();
    move("002", "");
    EXPECT_TRUE(messages.shown().isEmpty());
    EXPECT_EQ(members("002"), QStringList({"E001", "E002"}));
}

TEST_P(ChangeGroupTest, TheChangeButtonPostsTheMoveOnlyWhileTheRootIsCurrent)
{
    addGroup("005", "空组");
    auto* w = openManager();
    click(listIndex("004"));
    messages.answer(host::Answer::Yes);
    std::unique_ptr<testing_support::ModalResponder> responder(chooseTarget("005"));
    w->pb_change()->click();
    EXPECT_FALSE(responder->handled());  // posted: nothing ran yet
    pump();
    (void)QTest::qWaitFor([&] { return responder->handled(); }, 2000);
    EXPECT_TRUE(responder->handled());
    EXPECT_EQ(members("005"), QStringList({"E004"}));
    responder.reset();

    // Under a group the button (hidden, yet enabled by a click) does nothing.
    selectGroup("005");
    click(1);
    ASSERT_TRUE(w->pb_change()->isEnabled());
    w->pb_change()->click();
    pump();
    EXPECT_EQ(messages.texts().size(), 2);
    EXPECT_EQ(messages.texts().last(), "更换组成功.");
}

TEST_P(ChangeGroupTest, TheSelectGroupDialogNeverListsTheSourceEvenWithAQuoteInItsId)
{
    addGroup("a'b", "引号组");
    QStringList listed;
    QString result;
    {
        std::unique_ptr<testing_support::ModalResponder> responder(chooseTarget("002", &listed));
        result = host::WindowRegistry::openWithReturn("w_right_select_group", "a'b");
        EXPECT_TRUE(responder->handled());
    }
    EXPECT_EQ(listed, QStringList({"001", "002", "003", "004"}));
    EXPECT_EQ(result, "002");
}

TEST_P(ChangeGroupTest, TheSelectGroupDialogChoosesNothingUntilTheOperatorDoes)
{
    QString result;
    {
        testing_support::ModalResponder responder([](QWidget* modal) {
            auto* dialog = qobject_cast<usergroup::w_right_select_group*>(modal);
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->windowTitle(), "请选择目的组");
            EXPECT_EQ(dialog->cb_ok()->text(), "确定");
            EXPECT_EQ(dialog->cb_cancel()->text(), "取消");
            EXPECT_EQ(dialog->dw_1()->getRow(), 0);
            EXPECT_FALSE(dialog->dw_1()->isSelected(1));
            EXPECT_FALSE(dialog->cb_ok()->isEnabled());
            QTest::keyClick(dialog, Qt::Key_Return);  // nothing chosen: stays open
            EXPECT_TRUE(dialog->isVisible());
            dialog->dw_1()->setRow(2);
            EXPECT_TRUE(dialog->cb_ok()->isEnabled());
            EXPECT_TRUE(dialog->dw_1()->isSelected(2));
            QTest::keyClick(dialog, Qt::Key_Return);
        });
        result = host::WindowRegistry::openWithReturn("w_right_select_group", "001");
    }
    EXPECT_EQ(result, "003");
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_P(ChangeGroupTest, EscClosesTheSelectGroupDialogAndTheMoveStops)
{
    openManager();
    click(listIndex("002"));
    {
        testing_support::ModalResponder responder([](QWidget* modal) {
            ASSERT_NE(qobject_cast<usergroup::w_right_select_group*>(modal), nullptr);
            QTest::keyClick(modal, Qt::Key_Escape);
            EXPECT_FALSE(modal->isVisible());
        });
        manager()->ue_changegroup();
        EXPECT_TRUE(responder.handled());
    }
    EXPECT_TRUE(messages.shown().isEmpty());
    EXPECT_EQ(members("002"), QStringList({"E001", "E002"}));
}

TEST_P(ChangeGroupTest, TheSelectGroupDialogRefusesAnEmptyList)
{
    QString result;

    exec("delete from s_group where group_id <> ?", {"001"});
    EXPECT_EQ(host::sqlca.commit(), 0);
    {
        testing_support::ModalResponder responder([](QWidget* modal) {
            auto* dialog = qobject_cast<usergroup::w_right_select_group*>(modal);
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->dw_1()->rowCount(), 0);
            EXPECT_FALSE(dialog->cb_ok()->isEnabled());
            dialog->cbOkClicked();
            EXPECT_TRUE(dialog->isVisible());
            dialog->cb_cancel()->click();
        });
        result = host::WindowRegistry::openWithReturn("w_right_select_group", "001");
    }
    EXPECT_EQ(result, "");
    EXPECT_EQ(messages.texts(), QStringList({"无选中的目的组."}));
    EXPECT_EQ(messages.titles(), QStringList({"提示"}));
}

WMS_INSTANTIATE_DB_TESTS(ChangeGroupTest);

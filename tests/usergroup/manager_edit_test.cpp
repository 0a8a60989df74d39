// Renaming and deleting in the manager, and wf_insert_tvi.
#include "tests/usergroup/manager_fixture.h"

#include "host/transaction.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

using namespace usergroup_test;

class ManagerEditTest : public ManagerTest {};

TEST_P(ManagerEditTest, RenamingAGroupInPlaceChangesRowTreeAndList)
{
    auto* w = openManager();
    click(listIndex("003"));
    w->pb_edit()->click();
    pump();  // ue_rename is posted
    typeLabel(" 查询组");
    EXPECT_EQ(value("select group_name from s_group where group_id = ?", {"003"}).toString(), " 查询组");
    EXPECT_EQ(treeItem("003")->text(0), " 查询组");
    EXPECT_EQ(w->lv_1()->label(listIndex("003")), " 查询组");
    EXPECT_FALSE(host::sqlca.inWriteTransaction());
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_P(ManagerEditTest, RenamingAnOperatorChangesTheEmployeeNameShownUnderEveryGroup)
{
    auto* w = openManager();
    selectGroup("003");
    click(listIndex("E002"));
    w->popupMenuFor(listIndex("E002"))->command("m_mod_operator")->trigger();
    typeLabel("王芳芳");
    EXPECT_EQ(value("select name from s_employee where id = ?", {"E002"}).toString(), "王芳芳");
    EXPECT_EQ(w->lv_1()->label(listIndex("E002")), "王芳芳");
    EXPECT_EQ(treeItem("003")->text(0), "查询员");

    selectGroup("002");
    EXPECT_EQ(listLabels(), QStringList({"张伟", "王芳芳"}));
}

TEST_P(ManagerEditTest, AFailedRenameIsRolledBackShownAndTheOldLabelComesBack)
{
    auto* w = openManager();
    click(listIndex("002"));
    w->ue_rename();
    const QString tooLong(31, QChar(u'名'));
    typeLabel(tooLong);
    EXPECT_EQ(value("select group_name from s_group where group_id = ?", {"002"}).toString(), "仓库管理员");
    EXPECT_EQ(w->lv_1()->label(listIndex("002")), "仓库管理员");
    EXPECT_EQ(treeItem("002")->text(0), "仓库管理员");
    EXPECT_FALSE(host::sqlca.inWriteTransaction());
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown()[0].title, "数据库错误");
    EXPECT_TRUE(messages.shown()[0].text.startsWith("错误原因: ")) << messages.shown()[0].text.toStdString();
    EXPECT_GT(messages.shown()[0].text.size(), QString("错误原因: ").size());
}

TEST_P(ManagerEditTest, RenamingAGroupDeletedMeanwhileIsReportedNotShownAsDone)
{
    auto* w = openManager();
    click(listIndex("004"));
    host::Transaction other;
    ASSERT_TRUE(other.connect(url()));
    ASSERT_EQ(other.execute("delete from s_group where group_id = ?", {"004"}), 0);
    ASSERT_EQ(other.commit(), 0);
    other.disconnect();

    // 否: nothing is read again; the row is gone, the label stays.
    messages.answer(host::Answer::No);
    w->ue_rename();
    typeLabel("新名称");
    EXPECT_EQ(w->lv_1()->label(listIndex("004")), "财务组");
    EXPECT_EQ(treeItem("004")->text(0), "财务组");
    EXPECT_FALSE(host::sqlca.inWriteTransaction());
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown()[0].title, "提示");
    EXPECT_EQ(messages.shown()[0].text, "操作组 004 的名称已被其他用户修改, 本次修改全部未保存.\n是否重新读取?");
}

TEST_P(ManagerEditTest, RenameWithoutASelectedItemStartsNoEdit)
{
    auto* w = openManager();
    w->lv_1()->clearSelection();
    w->ue_rename();
    pump();
    EXPECT_EQ(w->lv_1()->viewport()->findChild<QLineEdit*>(), nullptr);
}

TEST_P(ManagerEditTest, DeletingAGroupAsksTwiceAndRemovesTheGroupAndItsMemberships)
{
    auto* w = openManager();
    click(listIndex("003"));
    messages.answer(host::Answer::Yes);
    messages.answer(host::Answer::Yes);
    w->pb_delete()->click();
    pump();  // ue_delete_lvi is posted
    ASSERT_EQ(messages.shown().size(), 2);
    EXPECT_EQ(messages.shown()[0].title, "提示");
    EXPECT_EQ(messages.shown()[0].text, "确定进行删除操作吗?\n编号：003, 名称：查询员");
    EXPECT_EQ(messages.shown()[0].icon, host::Icon::Question);
    EXPECT_EQ(messages.shown()[0].buttons, host::Buttons::YesNo);
    EXPECT_EQ(messages.shown()[0].defaultButton, host::Answer::No);
    EXPECT_EQ(messages.shown()[1].title, "提示");
    EXPECT_EQ(messages.shown()[1].text, "将会删除该组下的所有操作员, 继续进行删除操作吗?\n"
                                        "操作员本身不会被删除, 只删除他们在该组的成员关系 (共 2 个) 和该组的权限.");
    EXPECT_EQ(messages.shown()[1].defaultButton, host::Answer::No);
    EXPECT_EQ(count("s_group", "group_id = ?", {"003"}), 0);
    EXPECT_EQ(count("s_user_group", "group_code = ?", {"003"}), 0);
    EXPECT_EQ(count("s_user", "id in ('E002', 'E004')"), 2);
    EXPECT_EQ(treeData(), QStringList({"001", "002", "004"}));
    EXPECT_EQ(listData(), QStringList({"001", "002", "004"}));
}

TEST_P(ManagerEditTest, AnsweringNoToEitherQuestionKeepsTheGroup)
{
    auto* w = openManager();
    click(listIndex("002"));
    messages.answer(host::Answer::No);
    w->ue_delete_lvi();
    messages.answer(host::Answer::Yes);
    messages.answer(host::Answer::No);
    w->ue_delete_lvi();
    EXPECT_EQ(messages.shown().size(), 3);
    EXPECT_EQ(count("s_group", "group_id = ?", {"002"}), 1);
    EXPECT_EQ(members("002"), QStringList({"E001", "E002"}));
    EXPECT_EQ(treeData().size(), 4);
    EXPECT_EQ(listData().size(), 4);
}

TEST_P(ManagerEditTest, AnEmptyGroupCanBeDeleted)
{
    exec("insert into s_group (group_id, group_name) values (?, ?)", {"005", "空组"});
    EXPECT_EQ(host::sqlca.commit(), 0);
    auto* w = openManager();
    click(listIndex("005"));
    messages.answer(host::Answer::Yes);
    messages.answer(host::Answer::Yes);
    w->ue_delete_lvi();
    EXPECT_EQ(count("s_group", "group_id = ?", {"005"}), 0);
    EXPECT_EQ(listIndex("005"), 0);
}

TEST_P(ManagerEditTest, AGroupWhoseRowCannotBeDeletedKeepsItsMemberships)
{
    refuse("delete", "s_group");
    auto* w = openManager();
    click(listIndex("002"));
    messages.answer(host::Answer::Yes);
    messages.answer(host::Answer::Yes);
    w->ue_delete_lvi();
    EXPECT_EQ(count("s_group", "group_id = ?", {"002"}), 1);
    EXPECT_EQ(members("002"), QStringList({"E001", "E002"}));
    EXPECT_FALSE(host::sqlca.inWriteTransaction());
    EXPECT_EQ(treeData().size(), 4);
    EXPECT_EQ(listIndex("002"), 2);
    ASSERT_EQ(messages.shown().size(), 3);
    EXPECT_EQ(messages.shown().last().title, "数据库错误");
    EXPECT_TRUE(messages.shown().last().text.startsWith("错误原因: ")) << messages.shown().last().text.toStdString();
    EXPECT_TRUE(messages.shown().last().text.contains("refused by test"));
}

TEST_P(ManagerEditTest, DeletingAnOperatorRemovesOnlyThatMembership)
{
    auto* w = openManager();
    selectGroup("003");
    click(listIndex("E002"));
    messages.answer(host::Answer::Yes);
    w->popupMenuFor(listIndex("E002"))->command("m_delete_operator")->trigger();
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown()[0].text, "确定进行删除操作吗?\n编号：E002, 名称：王芳");
    EXPECT_EQ(members("003"), QStringList({"E004"}));
    EXPECT_EQ(members("002"), QStringList({"E001", "E002"}));
    EXPECT_EQ(count("s_user", "id = ?", {"E002"}), 1);
    EXPECT_EQ(count("s_employee", "id = ?", {"E002"}), 1);
    EXPECT_EQ(listData(), QStringList({"E004"}));
    EXPECT_EQ(treeData().size(), 4);

    selectGroup("002");
    EXPECT_EQ(listData(), QStringList({"E001", "E002"}));
}

TEST_P(ManagerEditTest, InsertingAGroupWhileAGroupIsSelectedAddsItToTreeAndList)
{
    auto* w = openManager();
    selectGroup("002");
    QTreeWidgetItem* item = w->wf_insert_tvi("新组", "009");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->parent(), w->rootItem());
    EXPECT_EQ(item->text(0), "新组");
    EXPECT_EQ(treeData(), QStringList({"001", "002", "003", "004", "009"}));
    EXPECT_EQ(listData(), QStringList({"E001", "E002", "009"}));
    EXPECT_EQ(w->lv_1()->picture(3), 1);
    EXPECT_EQ(w->currentTreeItem(), treeItem("002"));
}

class ManagerKeysTest : public ManagerTest {
protected:
    void press(Qt::Key key)
    {
        manager()->lv_1()->setFocus();
        QTest::keyClick(manager()->lv_1(), key);
        pump();  // the frame's events are posted
    }
};

TEST_P(ManagerKeysTest, DeleteAsksTheSameNamedQuestionsAndDeletes)
{
    openManager();
    click(listIndex("004"));
    messages.answer(host::Answer::Yes);
    messages.answer(host::Answer::Yes);
    press(Qt::Key_Delete);
    ASSERT_EQ(messages.shown().size(), 2);
    EXPECT_EQ(messages.shown()[0].text, "确定进行删除操作吗?\n编号：004, 名称：财务组");
    EXPECT_EQ(messages.shown()[1].text, "将会删除该组下的所有操作员, 继续进行删除操作吗?\n"
                                        "操作员本身不会被删除, 只删除他们在该组的成员关系 (共 1 个) 和该组的权限.");
    EXPECT_EQ(count("s_group", "group_id = ?", {"004"}), 0);
    EXPECT_EQ(count("s_user", "id = ?", {"E004"}), 1);
    EXPECT_EQ(listData(), QStringList({"001", "002", "003"}));
}

TEST_P(ManagerKeysTest, AfterADeleteNothingInTheListIsSelectedAndTheTreeItemIsCurrent)
{
    auto* w = openManager();
    selectGroup("002");
    click(listIndex("E001"));
    messages.answer(host::Answer::Yes);
    press(Qt::Key_Delete);
    EXPECT_EQ(listData(), QStringList({"E002"}));
    EXPECT_EQ(w->lv_1()->selectedIndex(), 0);
    EXPECT_EQ(w->currentTreeItem(), treeItem("002"));
    EXPECT_TRUE(w->tv_1()->hasFocus());
    EXPECT_FALSE(w->pb_delete()->isEnabled());
    EXPECT_TRUE(w->st_1()->text().isEmpty());

    // A second Delete finds nothing selected and deletes nothing.
    press(Qt::Key_Delete);
    EXPECT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(members("002"), QStringList({"E002"}));
}

TEST_P(ManagerKeysTest, F2RenamesThroughTheFrame)
{
    auto* w = openManager();
    click(listIndex("003"));
    press(Qt::Key_F2);
    ASSERT_NE(w->lv_1()->viewport()->findChild<QLineEdit*>(), nullptr);
    typeLabel("查询组");
    EXPECT_EQ(value("select group_name from s_group where group_id = ?", {"003"}).toString(), "查询组");
    EXPECT_EQ(treeItem("003")->text(0), "查询组");
}

TEST_P(ManagerKeysTest, DeleteAndF2DoNothingWithoutASelectedItem)
{
    auto* w = openManager();
    w->lv_1()->clearSelection();
    press(Qt::Key_Delete);
    press(Qt::Key_F2);
    EXPECT_TRUE(messages.shown().isEmpty());
    EXPECT_EQ(w->lv_1()->viewport()->findChild<QLineEdit*>(), nullptr);
    EXPECT_EQ(count("s_group"), 4);
}

WMS_INSTANTIATE_DB_TESTS(ManagerKeysTest);

WMS_INSTANTIATE_DB_TESTS(ManagerEditTest);

class ManagerConcurrencyTest : public ManagerTest {
protected:
    // Runs a statement on a second client and commits it.
    void otherClient(const QString& sql, const QVariantList& params = {})
    {
        host::Transaction other;
        ASSERT_TRUE(other.connect(url())) << other.sqlerrtext.toStdString();
        ASSERT_EQ(other.execute(sql, params), 0) << other.sqlerrtext.toStdString();
        ASSERT_EQ(other.commit(), 0);
    }
    // The refusal of a row changed or deleted meanwhile (`what`: "操作组 003 的名称").
    void expectChangedMeanwhileReported(const QString& what)
    {
        ASSERT_FALSE(messages.shown().isEmpty());
        EXPECT_EQ(messages.shown().last().title, "提示");
        EXPECT_EQ(messages.shown().last().text, what + "已被其他用户修改, 本次修改全部未保存.\n是否重新读取?");
    }
};

TEST_P(ManagerConcurrencyTest, ADeletedGroupTakesItsRightsAlong)
{
    auto* w = openManager();
    click(listIndex("002"));
    messages.answer(host::Answer::Yes);
    messages.answer(host::Answer::Yes);
    w->ue_delete_lvi();
    EXPECT_EQ(count("s_group_power", "group_id = ?", {"002"}), 0);
    EXPECT_EQ(count("s_user_group", "group_code = ?", {"002"}), 0);
    // A group created again under the same id starts without rights.
    exec("insert into s_group (group_id, group_name) values (?, ?)", {"002", "新组"});
    exec("insert into s_user_group (user_code, group_code) values (?, ?)", {"E005", "002"});
    EXPECT_EQ(host::sqlca.commit(), 0);
    EXPECT_EQ(count("s_group_power, s_user_group", "group_id = group_code and user_code = ?", {"E005"}), 0);
}

TEST_P(ManagerConcurrencyTest, AGroupAnotherClientDeletedIsNeitherRenamedNorDeletedAndTheOperatorLearnsWhy)
{
    auto* w = openManager();
    otherClient("delete from s_group where group_id = ?", {"003"});
    click(listIndex("003"));
    messages.answer(host::Answer::No);
    w->ue_rename();
    typeLabel("新名字");
    expectChangedMeanwhileReported("操作组 003 的名称");
    EXPECT_EQ(w->lv_1()->label(listIndex("003")), "查询员");
    EXPECT_EQ(treeItem("003")->text(0), "查询员");

    messages.clear();
    messages.answer(host::Answer::Yes);
    messages.answer(host::Answer::Yes);
    messages.answer(host::Answer::No);
    w->ue_delete_lvi();
    expectChangedMeanwhileReported("操作组 003 的记录");
    EXPECT_GT(listIndex("003"), 0);
    // Nothing else of the group was removed with it.
    EXPECT_EQ(members("003"), QStringList({"E002", "E004"}));
    EXPECT_EQ(count("s_group_power", "group_id = ?", {"003"}), 3);
    EXPECT_FALSE(host::sqlca.inWriteTransaction());
}

TEST_P(ManagerConcurrencyTest, AGroupStoredWithBlanksAroundItsCodeIsReportedNotSilentlySkipped)
{
    otherClient("insert into s_group (group_id, group_name) values (?, ?)", {" 06", "空格组"});
    auto* w = openManager();
    ASSERT_GT(listIndex("06"), 0);  // listed trimmed
    click(listIndex("06"));
    messages.answer(host::Answer::No);
    w->ue_rename();
    typeLabel("改名");
    expectChangedMeanwhileReported("操作组 06 的名称");
    EXPECT_EQ(w->lv_1()->label(listIndex("06")), "空格组");
    EXPECT_EQ(value("select group_name from s_group where group_id = ?", {" 06"}).toString(), "空格组");
}

TEST_P(ManagerConcurrencyTest, AGroupAddedByAnotherClientAfterTheTreeWasBuiltIsRenamedAndDeleted)
{
    auto* w = openManager();
    otherClient("insert into s_group (group_id, group_name) values (?, ?)", {"007", "后来组"});
    selectGroup("002");
    selectRoot();  // the list is read again; the tree was built once
    ASSERT_GT(listIndex("007"), 0);
    ASSERT_EQ(treeItem("007"), nullptr);
    click(listIndex("007"));
    w->ue_rename();
    typeLabel("改名组");
    EXPECT_TRUE(messages.shown().isEmpty()) << messages.texts().join(" | ").toStdString();
    EXPECT_EQ(value("select group_name from s_group where group_id = ?", {"007"}).toString(), "改名组");
    EXPECT_EQ(w->lv_1()->label(listIndex("007")), "改名组");

    messages.answer(host::Answer::Yes);
    messages.answer(host::Answer::Yes);
    w->ue_delete_lvi();
    EXPECT_EQ(count("s_group", "group_id = ?", {"007"}), 0);
    EXPECT_EQ(listIndex("007"), 0);
}

TEST_P(ManagerConcurrencyTest, AListThatCannotBeReadIsReportedNotShownEmpty)
{
    openManager();
    otherClient("alter table s_user_group rename to s_user_group_gone");
    selectGroup("002");
    ASSERT_FALSE(messages.shown().isEmpty());
    EXPECT_EQ(messages.shown().last().title, "数据库错误");
    EXPECT_TRUE(messages.shown().last().text.startsWith("错误原因: "));
}

WMS_INSTANTIATE_DB_TESTS(ManagerConcurrencyTest);

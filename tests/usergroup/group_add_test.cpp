// The add group dialog with the user and group manager (what every add dialog
// does is in tests/common/record_dialogs_test.cpp).
#include "tests/usergroup/manager_fixture.h"

#include "host/transaction.h"
#include "host/window_registry.h"
#include "platform/datawindow.h"
#include "usergroup/w_right_group_add.h"

#include <QPushButton>

using namespace usergroup_test;

class GroupAddTest : public ManagerTest {
protected:
    usergroup::w_right_group_add* openDialog()
    {
        auto* dialog =
            qobject_cast<usergroup::w_right_group_add*>(host::WindowRegistry::open("w_right_group_add"));
        pump();
        return dialog;
    }
    void type(usergroup::w_right_group_add* dialog, const QString& id, const QString& name)
    {
        ASSERT_EQ(dialog->dw_1()->setItem(1, "group_id", id), 1);
        ASSERT_EQ(dialog->dw_1()->setItem(1, "group_name", name), 1);
    }
};

TEST_P(GroupAddTest, StoresTheCodeTrimmedAndTheNameAsTyped)
{
    auto* w = openManager();
    auto* dialog = openDialog();
    type(dialog, " 09", " 新组 ");
    dialog->cb1Clicked();
    EXPECT_EQ(messages.texts(), QStringList({"增加成功."}));
    // The manager lists and finds the code trimmed, so it is stored so.
    EXPECT_EQ(value("select group_name from s_group where group_id = ?", {"09"}).toString(), " 新组 ");
    EXPECT_EQ(count("s_group", "group_id = ?", {" 09"}), 0);
    EXPECT_FALSE(host::sqlca.inWriteTransaction());
    EXPECT_EQ(treeData().last(), "09");
    EXPECT_EQ(treeLabels().last(), "新组");
    EXPECT_EQ(listData().last(), "09");

    // The form is empty again and a second group goes in at once.
    EXPECT_EQ(dialog->dw_1()->rowCount(), 1);
    EXPECT_TRUE(dialog->dw_1()->getItemString(1, "group_id").isEmpty());
    type(dialog, "010", "第二组");
    dialog->cb1Clicked();
    EXPECT_EQ(messages.texts(), QStringList({"增加成功.", "增加成功."}));
    EXPECT_EQ(treeData(), QStringList({"001", "002", "003", "004", "09", "010"}));
    EXPECT_EQ(listData().size(), 6);
    (void)w;
}

TEST_P(GroupAddTest, ACodeTypedWithBlanksIsTheSameCodeAsWithout)
{
    auto* w = openManager();
    auto* dialog = openDialog();
    type(dialog, " G7", "第七组");
    dialog->cb1Clicked();
    type(dialog, "G7 ", "又一个第七组");
    dialog->cb1Clicked();
    EXPECT_EQ(messages.texts(), QStringList({"增加成功.", "该组编号已存在，请改用其它编号."}));
    EXPECT_EQ(count("s_group", "group_id = ?", {"G7"}), 1);
    EXPECT_EQ(treeData().last(), "G7");

    // Stored trimmed, the group can be deleted from the manager.
    w->selectTreeItem(w->rootItem());
    click(listIndex("G7"));
    messages.answer(host::Answer::Yes);
    messages.answer(host::Answer::Yes);
    w->ue_delete_lvi();
    EXPECT_EQ(count("s_group", "group_id = ?", {"G7"}), 0);
    EXPECT_FALSE(treeData().contains("G7"));
}

TEST_P(GroupAddTest, WithTheManagerClosedTheGroupIsStillStored)
{
    auto* dialog = openDialog();
    type(dialog, "020", "独立组");
    dialog->cb1Clicked();
    EXPECT_EQ(messages.texts(), QStringList({"增加成功."}));
    EXPECT_EQ(count("s_group", "group_id = ?", {"020"}), 1);
}

WMS_INSTANTIATE_DB_TESTS(GroupAddTest);

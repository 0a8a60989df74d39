// The manager's tree and list: building, refilling, clicks, double clicks, help.
#include "tests/usergroup/manager_fixture.h"

#include "host/help.h"
#include "host/transaction.h"
#include "host/window_registry.h"
#include "platform/datawindow.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

using namespace usergroup_test;

namespace {

struct ButtonState {
    bool add, edit, remove, right, change;
};

ButtonState enabled(usergroup::w_right_setup* w)
{
    return {w->pb_add()->isEnabled(), w->pb_edit()->isEnabled(), w->pb_delete()->isEnabled(),
            w->pb_right()->isEnabled(), w->pb_change()->isEnabled()};
}

#define EXPECT_BUTTONS(w, a, e, d, r, c)                                   \
    do {                                                                   \
        const ButtonState s = enabled(w);                                  \
        EXPECT_EQ(s.add, a);                                               \
        EXPECT_EQ(s.edit, e);                                              \
        EXPECT_EQ(s.remove, d);                                            \
        EXPECT_EQ(s.right, r);                                             \
        EXPECT_EQ(s.change, c);                                            \
    } while (false)

}  // namespace

class ManagerTreeTest : public ManagerTest {};

TEST_P(ManagerTreeTest, OpensWithTheGroupsInTreeAndList)
{
    auto* w = openManager();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), "权限管理");
    EXPECT_EQ(w->tag(), "m102");
    QTreeWidgetItem* root = w->rootItem();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->text(0), "用户与组");
    EXPECT_EQ(common::ManagerFrame::itemData(root), "000");
    EXPECT_EQ(w->currentTreeItem(), root);
    EXPECT_TRUE(root->isExpanded());
    EXPECT_EQ(treeLabels(), QStringList({"系统管理组", "仓库管理员", "查询员", "财务组"}));
    EXPECT_EQ(treeData(), QStringList({"001", "002", "003", "004"}));
    EXPECT_EQ(listLabels(), treeLabels());
    EXPECT_EQ(listData(), treeData());
    EXPECT_EQ(w->lv_1()->picture(1), 1);
    EXPECT_BUTTONS(w, true, false, false, false, false);
    EXPECT_TRUE(w->pb_right()->isVisible());
    EXPECT_TRUE(w->pb_change()->isVisible());
    EXPECT_TRUE(w->st_1()->text().isEmpty());
    EXPECT_FALSE(w->cb_tree()->isVisible());
    EXPECT_FALSE(w->entityView()->isVisible());
    EXPECT_FALSE(w->memberView()->isVisible());
    EXPECT_EQ(w->entityView()->objectName(), "dw_group");
    EXPECT_EQ(w->memberView()->objectName(), "dw_group_user");
    EXPECT_EQ(w->pb_add()->toolTip(), "增加");
    EXPECT_EQ(w->pb_right()->toolTip(), "权限设置");
    EXPECT_EQ(w->pb_change()->toolTip(), "全组更换");
    EXPECT_EQ(w->pb_close()->toolTip(), "关闭");
    EXPECT_FALSE(w->pb_add()->icon().isNull());
    EXPECT_FALSE(w->pb_right()->icon().isNull());
}

TEST_P(ManagerTreeTest, TreeSkipsRepeatedAndEmptyFirstKeysWhileTheRootListShowsEveryRow)
{
    exec("delete from s_group");
    exec("insert into s_group (group_id, group_name) values (?, ?)", {" ", "空号组"});
    exec("insert into s_group (group_id, group_name) values (?, ?)", {"01", "甲组"});
    exec("insert into s_group (group_id, group_name) values (?, ?)", {"01 ", "甲组副本"});
    exec("insert into s_group (group_id, group_name) values (?, ?)", {"02", " 乙组 "});
    EXPECT_EQ(host::sqlca.commit(), 0);
    auto* w = openManager();
    EXPECT_EQ(treeData(), QStringList({"01", "02"}));
    EXPECT_EQ(treeLabels(), QStringList({"甲组", "乙组"}));
    EXPECT_EQ(listData(), QStringList({"", "01", "01", "02"}));
    EXPECT_EQ(listLabels(), QStringList({"空号组", "甲组", "甲组副本", "乙组"}));
    (void)w;
}

TEST_P(ManagerTreeTest, SelectingAGroupListsItsOperatorsByNameAndHidesTheRootButtons)
{
    auto* w = openManager();
    selectGroup("002");
    EXPECT_EQ(listData(), QStringList({"E001", "E002"}));
    EXPECT_EQ(listLabels(), QStringList({"张伟", "王芳"}));
    EXPECT_EQ(w->lv_1()->picture(1), 2);
    EXPECT_FALSE(w->pb_right()->isVisible());
    EXPECT_FALSE(w->pb_change()->isVisible());
    EXPECT_BUTTONS(w, true, false, false, false, false);

    selectRoot();
    EXPECT_EQ(listData(), QStringList({"001", "002", "003", "004"}));
    EXPECT_TRUE(w->pb_right()->isVisible());
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_P(ManagerTreeTest, AGroupWhoseIdHoldsAQuoteListsItsOperators)
{
    exec("insert into s_group (group_id, group_name) values (?, ?)", {"a'b", "引号组"});
    exec("insert into s_user_group (user_code, group_code) values (?, ?)", {"E001", "a'b"});
    EXPECT_EQ(host::sqlca.commit(), 0);
    openManager();
    selectGroup("a'b");
    EXPECT_EQ(listData(), QStringList({"E001"}));
    EXPECT_EQ(listLabels(), QStringList({"张伟"}));
}

TEST_P(ManagerTreeTest, SelectingTheSelectedItemDoesNotRefillTheList)
{
    auto* w = openManager();
    exec("insert into s_group (group_id, group_name) values (?, ?)", {"009", "新组"});
    EXPECT_EQ(host::sqlca.commit(), 0);
    QTreeWidgetItem* root = w->rootItem();
    w->tv1SelectionChanged(root, root);
    w->selectTreeItem(root);
    pump();
    EXPECT_EQ(listData(), QStringList({"001", "002", "003", "004"}));

    // A real change of the selection reads the database again.
    selectGroup("001");
    selectRoot();
    EXPECT_EQ(listData(), QStringList({"001", "002", "003", "004", "009"}));
}

TEST_P(ManagerTreeTest, AnOperatorWithoutEmployeeRowIsListedWithAnEmptyLabelAfterAWarning)
{
    exec("insert into s_user_group (user_code, group_code) values (?, ?)", {"0007", "002"});
    EXPECT_EQ(host::sqlca.commit(), 0);
    auto* w = openManager();
    selectGroup("002");
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown()[0].title, "提示");
    EXPECT_EQ(messages.shown()[0].text, "不存在编号为0007的员工");
    EXPECT_EQ(listData(), QStringList({"0007", "E001", "E002"}));
    EXPECT_EQ(listLabels(), QStringList({"", "张伟", "王芳"}));
    (void)w;
}

TEST_P(ManagerTreeTest, ClicksOnAndBesideItemsSetTheButtonsAndTheStatusText)
{
    auto* w = openManager();
    click(2);
    EXPECT_BUTTONS(w, true, true, true, true, true);
    EXPECT_EQ(w->st_1()->text(), "编号：002, 名称：仓库管理员");

    click(0);
    EXPECT_BUTTONS(w, true, false, false, false, false);
    EXPECT_TRUE(w->st_1()->text().isEmpty());

    // Under a group the root buttons are enabled by a hit, yet stay hidden.
    selectGroup("003");
    click(1);
    EXPECT_BUTTONS(w, true, true, true, true, true);
    EXPECT_FALSE(w->pb_right()->isVisible());
    EXPECT_EQ(w->st_1()->text(), "编号：E002, 名称：王芳");

    // Selecting the root again disables them.
    selectRoot();
    EXPECT_BUTTONS(w, true, false, false, false, false);

    // An empty list: a click anywhere is beside the items.
    exec("insert into s_group (group_id, group_name) values (?, ?)", {"005", "空组"});
    EXPECT_EQ(host::sqlca.commit(), 0);
    w->wf_insert_tvi("空组", "005");
    selectGroup("005");
    EXPECT_EQ(w->lv_1()->totalItems(), 0);
    w->lv1Clicked(1);
    EXPECT_BUTTONS(w, true, false, false, false, false);
    EXPECT_TRUE(w->st_1()->text().isEmpty());
}

TEST_P(ManagerTreeTest, ItemChangeShowsTheItemAndLosingTheFocusClearsTheText)
{
    auto* w = openManager();
    w->lv1ItemChanged(3);
    EXPECT_EQ(w->st_1()->text(), "编号：003, 名称：查询员");
    w->lv1ItemChanged(0);
    EXPECT_EQ(w->st_1()->text(), "编号：003, 名称：查询员");
    w->lv1LoseFocus();
    EXPECT_TRUE(w->st_1()->text().isEmpty());
}

TEST_P(ManagerTreeTest, DoubleClickOnAGroupOpensItAndOnAnOperatorDoesNothing)
{
    auto* w = openManager();
    doubleClick(listIndex("004"));
    EXPECT_EQ(w->currentTreeItem(), treeItem("004"));
    EXPECT_EQ(listData(), QStringList({"E004"}));
    EXPECT_EQ(listLabels(), QStringList({"刘洋"}));

    doubleClick(1);
    EXPECT_EQ(w->currentTreeItem(), treeItem("004"));
    EXPECT_EQ(listData(), QStringList({"E004"}));

    w->lv1DoubleClicked(0);
    EXPECT_EQ(w->currentTreeItem(), treeItem("004"));
}

TEST_P(ManagerTreeTest, F1AndTheHelpRequestOpenTheTopicNamedAfterTheTitle)
{
    auto* w = openManager();
    w->activateWindow();
    QTest::keyClick(w->lv_1(), Qt::Key_F1);
    pump();
    ASSERT_EQ(help.topics.size(), 1);
    EXPECT_EQ(help.topics[0].first, host::kHelpFile);
    EXPECT_EQ(help.topics[0].second, "权限管理.mht");

    w->helpEvent(10, 10);
    ASSERT_EQ(help.topics.size(), 2);
    EXPECT_EQ(help.topics[1].second, "权限管理.mht");
}

TEST_P(ManagerTreeTest, ResizingKeepsTreeAndListAboveTheBottomAndTheListInsideTheWindow)
{
    auto* w = openManager();
    w->resize(900, 600);
    pump();
    EXPECT_EQ(w->tv_1()->height(), w->lv_1()->height());
    EXPECT_NEAR(w->tv_1()->geometry().bottom(), 600 - 150 / 4, 2);
    EXPECT_NEAR(w->lv_1()->geometry().right(), 900 - 40 / 4, 2);
    EXPECT_EQ(w->findChild<QLabel*>("p_1")->width(), 900);
}

TEST_P(ManagerTreeTest, CloseButtonClosesTheWindow)
{
    auto* w = openManager();
    w->pb_close()->click();
    pump();
    EXPECT_EQ(host::WindowRegistry::instance("w_right_setup"), nullptr);
}

WMS_INSTANTIATE_DB_TESTS(ManagerTreeTest);

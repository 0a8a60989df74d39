// The popup menu of the manager: which commands show for a right click, the
// real right click, and the commands that reach the manager.
#include "tests/usergroup/manager_fixture.h"

#include "host/window_registry.h"
#include "usergroup/m_right_setup.h"

#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>

using namespace usergroup_test;

namespace {

const QStringList kCommands = {"m_add_group",    "m_mod_group",       "m_delete_group", "m_add_operator",
                               "m_mod_operator", "m_delete_operator", "m_group_right",  "m_换组",
                               "m_set_password", "m_right_query", "m_right_journal", "m_refresh"};

QStringList visibleCommands(const common::PopupMenu& menu)
{
    QStringList names;
    for (QAction* action : menu.commands()) {
        if (action->isVisible())
            names << action->objectName();
    }
    return names;
}

QStringList enabledVisibleCommands(const common::PopupMenu& menu)
{
    QStringList names;
    for (QAction* action : menu.commands()) {
        if (action->isVisible() && action->isEnabled())
            names << action->objectName();
    }
    return names;
}

}  // namespace

class ManagerMenuTest : public ManagerTest {};

TEST(ManagerMenu, HasOneTopItemWithTheTwelveCommandsInOrder)
{
    usergroup::m_right_setup menu;
    EXPECT_EQ(menu.title(), "m_right");
    ASSERT_EQ(menu.actions().size(), 1);
    EXPECT_EQ(menu.topItem()->objectName(), "m_操作");
    EXPECT_EQ(menu.topItem()->title(), "操作");
    QStringList names;
    QStringList texts;
    for (QAction* action : menu.commands()) {
        names << action->objectName();
        texts << action->text();
        EXPECT_TRUE(action->isVisible());
        EXPECT_TRUE(action->isEnabled());
        EXPECT_FALSE(action->isSeparator());
    }
    EXPECT_EQ(names, kCommands);
    EXPECT_EQ(texts, QStringList({"增加组", "重命名", "删除组", "增加操作员", "修改姓名", "删除操作员", "权限设置",
                                  "全组更换", "设置密码", "权限查询", "权限变更记录", "刷新"}));
    EXPECT_EQ(menu.command("m_add_group")->statusTip(), "增加用户组");
}

TEST(ManagerMenu, CommandsThatTriggerEventsDoNothingWithoutAnOpenManager)
{
    testing_support::ScriptedMessages messages;
    usergroup::m_right_setup menu;
    for (const char* name :
         {"m_mod_group", "m_delete_group", "m_mod_operator", "m_delete_operator", "m_换组", "m_set_password"})
        menu.command(name)->trigger();
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_P(ManagerMenuTest, CommandsForTheRootListHitAndMiss)
{
    auto* w = openManager();
    auto hit = w->popupMenuFor(2);
    EXPECT_EQ(visibleCommands(*hit),
              QStringList({"m_add_group", "m_mod_group", "m_delete_group", "m_group_right", "m_换组",
                           "m_right_query", "m_right_journal", "m_refresh"}));
    EXPECT_EQ(enabledVisibleCommands(*hit), visibleCommands(*hit));

    auto miss = w->popupMenuFor(0);
    EXPECT_EQ(visibleCommands(*miss), visibleCommands(*hit));
    EXPECT_EQ(enabledVisibleCommands(*miss), QStringList({"m_add_group", "m_right_query", "m_right_journal", "m_refresh"}));
}

TEST_P(ManagerMenuTest, CommandsForAGroupListHitAndMiss)
{
    auto* w = openManager();
    selectGroup("002");
    auto hit = w->popupMenuFor(1);
    EXPECT_EQ(visibleCommands(*hit),
              QStringList({"m_add_operator", "m_mod_operator", "m_delete_operator", "m_set_password",
                           "m_right_query", "m_right_journal", "m_refresh"}));
    EXPECT_EQ(enabledVisibleCommands(*hit), visibleCommands(*hit));

    auto miss = w->popupMenuFor(-1);
    EXPECT_EQ(visibleCommands(*miss), visibleCommands(*hit));
    EXPECT_EQ(enabledVisibleCommands(*miss), QStringList({"m_add_operator", "m_right_query", "m_right_journal", "m_refresh"}));

    // An index past an empty list is no hit either.
    exec("delete from s_user_group where group_code = ?", {"004"});
    EXPECT_EQ(host::sqlca.commit(), 0);
    selectGroup("004");
    auto empty = w->popupMenuFor(1);
    EXPECT_EQ(enabledVisibleCommands(*empty), QStringList({"m_add_operator", "m_right_query", "m_right_journal", "m_refresh"}));
}

TEST_P(ManagerMenuTest, RightClickPopsUpTheCommandsAndSetsButtonsAsAClick)
{
    // The buttons and st_1 are set before the menu pops up; they are read
    // while it is open.
    auto* w = openManager();
    QStringList shown;
    {
        testing_support::ModalResponder responder([&](QWidget* popup) {
            auto* menu = qobject_cast<QMenu*>(popup);
            ASSERT_NE(menu, nullptr);
            EXPECT_EQ(menu->objectName(), "m_操作");
            for (QAction* action : menu->actions()) {
                if (action->isVisible() && action->isEnabled())
                    shown << action->objectName();
            }
            EXPECT_TRUE(w->pb_edit()->isEnabled());
            EXPECT_TRUE(w->pb_change()->isEnabled());
            EXPECT_EQ(w->st_1()->text(), "编号：003, 名称：查询员");
        });
        QTest::mouseClick(w->lv_1()->viewport(), Qt::RightButton, {}, listPoint(3));
        EXPECT_TRUE(responder.handled());
    }
    EXPECT_EQ(shown, QStringList({"m_add_group", "m_mod_group", "m_delete_group", "m_group_right", "m_换组",
                                  "m_right_query", "m_right_journal", "m_refresh"}));

    {
        testing_support::ModalResponder responder([&](QWidget*) {
            EXPECT_TRUE(w->pb_add()->isEnabled());
            EXPECT_FALSE(w->pb_edit()->isEnabled());
            EXPECT_FALSE(w->pb_delete()->isEnabled());
            EXPECT_FALSE(w->pb_right()->isEnabled());
            EXPECT_FALSE(w->pb_change()->isEnabled());
            EXPECT_TRUE(w->st_1()->text().isEmpty());
        });
        QTest::mouseClick(w->lv_1()->viewport(), Qt::RightButton, {}, listPoint(0));
        EXPECT_TRUE(responder.handled());
    }
}

TEST_P(ManagerMenuTest, RightsEditorIsReachedOnlyThroughTheRegistry)
{
    auto* w = openManager();
    ASSERT_FALSE(host::WindowRegistry::isRegistered("w_right_right_setup"));
    click(1);
    EXPECT_TRUE(w->pb_right()->isEnabled());
    w->pb_right()->click();
    auto menu = w->popupMenuFor(1);
    menu->command("m_group_right")->trigger();
    pump();
    EXPECT_EQ(host::WindowRegistry::instance("w_right_right_setup"), nullptr);
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_P(ManagerMenuTest, AddCommandsOpenTheDialogs)
{
    auto* w = openManager();
    auto atRoot = w->popupMenuFor(0);
    atRoot->command("m_add_group")->trigger();
    pump();
    auto* groupAdd = host::WindowRegistry::instance("w_right_group_add");
    ASSERT_NE(groupAdd, nullptr);
    EXPECT_EQ(groupAdd->windowTitle(), "增加操作组");
    groupAdd->close();
    pump();

    selectGroup("002");
    auto underGroup = w->popupMenuFor(0);
    underGroup->command("m_add_operator")->trigger();
    pump();
    auto* userAdd = host::WindowRegistry::instance("w_right_user_add");
    ASSERT_NE(userAdd, nullptr);
    EXPECT_EQ(userAdd->windowTitle(), "增加操作员");
}

TEST_P(ManagerMenuTest, AddButtonOpensTheGroupDialogAtTheRootAndTheUserDialogUnderAGroup)
{
    auto* w = openManager();
    w->pb_add()->click();
    pump();
    EXPECT_NE(host::WindowRegistry::instance("w_right_group_add"), nullptr);
    EXPECT_EQ(host::WindowRegistry::instance("w_right_user_add"), nullptr);
    host::WindowRegistry::instance("w_right_group_add")->close();
    selectGroup("001");
    w->pb_add()->click();
    pump();
    EXPECT_NE(host::WindowRegistry::instance("w_right_user_add"), nullptr);
}

WMS_INSTANTIATE_DB_TESTS(ManagerMenuTest);

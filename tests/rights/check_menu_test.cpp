// f_check_menu: the logged-in operator's level enables or disables every
// visible tagged leaf of a menu tree; the tag is trimmed of blanks; cascading
// items, invisible and untagged items keep their state; only the exact id
// "admin" is privileged, and its lookup is still made.
#include "rights/f_check_menu.h"
#include "rights/menu_item.h"
#include "rights_fixture.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

using rights::f_check_menu;

namespace {

QAction* leaf(QMenu* menu, const QString& text, const QString& tag, bool enabled = true, bool visible = true)
{
    QAction* action = menu->addAction(text);
    action->setObjectName(text);
    if (!tag.isNull())
        rights::setTag(action, tag);
    action->setEnabled(enabled);
    action->setVisible(visible);
    return action;
}

}  // namespace

class CheckMenuTest : public RightsTest {};

TEST_P(CheckMenuTest, LeavesFollowTheOperatorsLevel)
{
    standardRights();
    QMenu menu;
    QAction* held = leaf(&menu, "held", "w201", false);       // disabled, level 2 → enabled
    QAction* other = leaf(&menu, "other", "w202", true);      // no row → disabled
    QAction* untagged = leaf(&menu, "untagged", QString(), false);
    QAction* emptyTag = leaf(&menu, "empty", "   ", true);
    menu.addSeparator();

    host::gs_user_id = "E1";
    f_check_menu(&menu);
    EXPECT_TRUE(held->isEnabled());
    EXPECT_FALSE(other->isEnabled());
    EXPECT_FALSE(untagged->isEnabled());
    EXPECT_TRUE(emptyTag->isEnabled());

    // Level "0" disables; so does an operator without any row.
    for (const char* id : {"E2", "E3"}) {
        host::gs_user_id = id;
        held->setEnabled(true);
        f_check_menu(&menu);
        EXPECT_FALSE(held->isEnabled()) << id;
    }
}

TEST_P(CheckMenuTest, TheTagIsTrimmedOfBlanksOnly)
{
    standardRights();
    QMenu menu;
    QAction* padded = leaf(&menu, "padded", "  w201 ", false);
    QAction* tabbed = leaf(&menu, "tabbed", "\tw201", true);
    host::gs_user_id = "E1";
    f_check_menu(&menu);
    EXPECT_TRUE(padded->isEnabled());
    EXPECT_FALSE(tabbed->isEnabled());
}

TEST_P(CheckMenuTest, InvisibleItemsKeepTheirStateEvenForAdmin)
{
    standardRights();
    QMenu menu;
    QAction* hiddenOff = leaf(&menu, "hiddenOff", "w201", false, false);
    QAction* hiddenOn = leaf(&menu, "hiddenOn", "w202", true, false);
    for (const char* id : {"admin", "E1", "E3"}) {
        host::gs_user_id = id;
        f_check_menu(&menu);
        EXPECT_FALSE(hiddenOff->isVisible());
        // Qt reports a hidden action as disabled; its own state shows once it is visible again.
        hiddenOff->setVisible(true);
        hiddenOn->setVisible(true);
        EXPECT_FALSE(hiddenOff->isEnabled()) << id;
        EXPECT_TRUE(hiddenOn->isEnabled()) << id;
        hiddenOff->setVisible(false);
        hiddenOn->setVisible(false);
    }
}

TEST_P(CheckMenuTest, SubMenusAreWalkedToTheDeepestLeavesAndCascadingItemsKeepTheirState)
{
    standardRights();
    QMenuBar bar;
    QMenu* top = bar.addMenu("top");
    QMenu* first = top->addMenu("first");
    rights::setTag(first, "w201");          // E1 holds it, yet the cascade stays disabled
    first->menuAction()->setEnabled(false);
    QMenu* second = first->addMenu("second");
    rights::setTag(second, "w202");         // E1 lacks it, yet the cascade stays enabled
    QAction* deep = leaf(second, "deep", "w201", false);
    QAction* deepOther = leaf(second, "deepOther", "w202", true);
    QAction* middle = leaf(first, "middle", "w201", false);
    QAction* afterSub = leaf(top, "afterSub", "w202", true);

    host::gs_user_id = "E1";
    f_check_menu(&bar);
    EXPECT_TRUE(deep->isEnabled());
    EXPECT_FALSE(deepOther->isEnabled());
    EXPECT_TRUE(middle->isEnabled());
    EXPECT_FALSE(afterSub->isEnabled());
    EXPECT_FALSE(first->menuAction()->isEnabled());
    EXPECT_TRUE(second->menuAction()->isEnabled());
    EXPECT_TRUE(top->menuAction()->isEnabled());
}

TEST_P(CheckMenuTest, OnlyTheExactAdminIsPrivilegedAndItsLookupIsStillMade)
{
    standardRights();
    QMenu menu;
    QAction* item = leaf(&menu, "item", "w205", false);

    host::gs_user_id = "admin";
    markStatus();
    f_check_menu(&menu);
    EXPECT_TRUE(item->isEnabled());
    EXPECT_TRUE(statementRanSinceMark());

    for (const char* id : {"Admin", "ADMIN"}) {
        host::gs_user_id = id;
        item->setEnabled(true);
        f_check_menu(&menu);
        EXPECT_FALSE(item->isEnabled()) << id;
    }

    // A null operator finds nothing.
    host::gs_user_id = QString();
    item->setEnabled(true);
    f_check_menu(&menu);
    EXPECT_FALSE(item->isEnabled());
}

TEST_P(CheckMenuTest, ABrokenConnectionDisablesEveryLeafExceptForAdmin)
{
    standardRights();
    QMenu menu;
    QAction* item = leaf(&menu, "item", "w201", true);
    host::sqlca.disconnect();

    host::gs_user_id = "E1";
    f_check_menu(&menu);
    EXPECT_FALSE(item->isEnabled());

    host::gs_user_id = "admin";
    f_check_menu(&menu);
    EXPECT_TRUE(item->isEnabled());
}

TEST_P(CheckMenuTest, ARightSavedByAnotherClientEnablesTheItemAtTheNextCheck)
{
    standardRights();
    QMenu menu;
    QAction* item = leaf(&menu, "item", "w202", true);
    host::gs_user_id = "E1";
    f_check_menu(&menu);
    ASSERT_FALSE(item->isEnabled());

    host::Transaction other;
    ASSERT_TRUE(other.connect(url())) << other.sqlerrtext.toStdString();
    ASSERT_EQ(other.execute("insert into s_group_power (group_id, m_item_code, group_right) values (?, ?, ?)",
                            {"002", "w202", "1"}), 0);
    ASSERT_EQ(other.commit(), 0) << other.sqlerrtext.toStdString();
    f_check_menu(&menu);
    EXPECT_TRUE(item->isEnabled());
}

WMS_INSTANTIATE_DB_TESTS(CheckMenuTest);

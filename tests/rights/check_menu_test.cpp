// f_check_menu: the logged-in operator's level enables or disables every
// visible tagged leaf of a menu tree; the tag is trimmed of blanks; cascading
// items, invisible and untagged items keep their state; only the exact id
// "admin" is privileged, and its lookup is still made.
#include "rights/f_check_menu.h"
#include "rights/lookup.h"
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

TEST_P(CheckMenuTest, EveryLeafGetsTheStateItsOwnLookupGives)
{
    // Levels as stored: "2", "1", "0", empty and null; codes with blanks around
    // them, a code twice, codes nobody holds; more leaves than one statement
    // reads (1,200 in all).
    member("E1", "001");
    member("E1", "002");
    member("admin", "003");
    power("001", "w201", "1");
    power("002", "w201", "2");
    power("001", "w202", "0");
    power("001", "w203", "");
    exec("insert into s_group_power (group_id, m_item_code, group_right) values (?, ?, null)", {"001", "w204"});
    power("002", "w 205", "2");
    for (int i = 0; i < 1200; i += 3)
        power("002", QStringLiteral("x%1").arg(i), QString::number(i % 3 == 0 ? (i / 3) % 3 : 0));
    commit();

    QMenu menu;
    QMenu* sub = menu.addMenu("sub");
    QList<QAction*> leaves;
    for (const char* tag : {"w201", " w202", "w203 ", "w204", "w 205", "w201", "nosuch", "W201"})
        leaves << leaf(sub, QString::fromLatin1(tag), QString::fromLatin1(tag), false);
    for (int i = 0; i < 1192; ++i)
        leaves << leaf(&menu, QStringLiteral("x%1").arg(i), QStringLiteral("x%1").arg(i), i % 2 == 0);

    for (const char* id : {"E1", "E9", "admin", "Admin"}) {
        SCOPED_TRACE(id);
        host::gs_user_id = QString::fromLatin1(id);
        f_check_menu(&menu);
        EXPECT_EQ(host::sqlca.sqlcode, host::Transaction::kSuccess);
        for (QAction* action : std::as_const(leaves)) {
            const rights::Level level = rights::lookupLevel(host::gs_user_id, host::trimBlanks(action->objectName()));
            ASSERT_TRUE(level.ok);
            const bool expected = host::gs_user_id == "admin" || (!level.value.isNull() && level.value > "0");
            EXPECT_EQ(action->isEnabled(), expected) << action->objectName().toStdString();
        }
    }

    // A failed read: every leaf disabled (admin's enabled), and sqlca says why.
    exec("drop table s_group_power");
    commit();
    host::gs_user_id = "E1";
    f_check_menu(&menu);
    EXPECT_EQ(host::sqlca.sqlcode, host::Transaction::kError);
    EXPECT_FALSE(host::sqlca.sqlerrtext.isEmpty());
    for (QAction* action : std::as_const(leaves))
        EXPECT_FALSE(action->isEnabled()) << action->objectName().toStdString();
}

WMS_INSTANTIATE_DB_TESTS(CheckMenuTest);

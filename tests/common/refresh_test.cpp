// 刷新 in both managers: what another client changed is shown after F5 or the
// popup command, with the tree's and the list's selection kept where the
// items still exist; a rename in one manager refreshes the other.
#include "common/list_view.h"
#include "common/manager_frame.h"
#include "common/popup_menu.h"
#include "host/window_registry.h"
#include "tests/common/frame_edit_fixture.h"
#include "tests/support/frame_driver.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

namespace frame_test {

using testing_support::Backend;

class RefreshTest : public FrameEditTest {};

TEST_P(RefreshTest, F5ShowsAnotherClientsChangesAndKeepsTheSelection)
{
    openManager();
    selectTree(mc().memberEntity);
    testing_support::clickItem(w()->lv_1(), listIndex(mc().memberKey));

    const QString table = mc().entityTable;
    const QString keyColumn = mc().entityKeyColumn;
    const QString nameColumn = mc().entityNameColumn;
    otherClient(QStringLiteral("insert into %1 (%2, %3) values (?, ?)").arg(table, keyColumn, nameColumn),
                {"X9", "新来的"});
    otherClient(QStringLiteral("update %1 set %2 = ? where %3 = ?").arg(table, nameColumn, keyColumn),
                {"改过的", mc().memberEntity});
    otherClient(QStringLiteral("delete from %1 where %2 = ?").arg(table, keyColumn), {mc().entityKey});
    otherClient(mc().addMemberSql);
    otherClient("update s_employee set name = ? where id = ?", {"张伟伟", mc().memberKey});

    QTest::keyClick(w(), Qt::Key_F5);
    testing_support::pumpEvents();
    const QStringList keys = testing_support::treeData(w());
    EXPECT_TRUE(keys.contains("X9"));
    EXPECT_FALSE(keys.contains(mc().entityKey));
    EXPECT_EQ(treeLabel(mc().memberEntity), "改过的");
    EXPECT_EQ(w()->currentTreeItem(), testing_support::treeItem(w(), mc().memberEntity));
    EXPECT_GT(listIndex("E004"), 0);
    ASSERT_GT(listIndex(mc().memberKey), 0);
    EXPECT_EQ(w()->lv_1()->selectedIndex(), listIndex(mc().memberKey));
    EXPECT_EQ(w()->lv_1()->label(listIndex(mc().memberKey)), "张伟伟");
    EXPECT_EQ(w()->st_1()->text(), QStringLiteral("编号：%1, 名称：张伟伟").arg(mc().memberKey));
    EXPECT_TRUE(w()->pb_delete()->isEnabled());

    // The entity shown is deleted too: the popup command's refresh falls
    // back to the root, with nothing selected in the list.
    otherClient(QStringLiteral("delete from %1 where %2 = ?").arg(table, keyColumn), {mc().memberEntity});
    std::unique_ptr<common::PopupMenu> menu = w()->popupMenuFor(0);
    QAction* refresh = menu->command("m_refresh");
    ASSERT_NE(refresh, nullptr);
    EXPECT_EQ(refresh->text(), "刷新");
    EXPECT_TRUE(refresh->isVisible() && refresh->isEnabled());
    refresh->trigger();
    testing_support::pumpEvents();
    EXPECT_EQ(w()->currentTreeItem(), w()->rootItem());
    EXPECT_FALSE(testing_support::treeData(w()).contains(mc().memberEntity));
    EXPECT_TRUE(testing_support::listData(w()->lv_1()).contains("X9"));
    EXPECT_EQ(w()->lv_1()->selectedIndex(), 0);
    EXPECT_TRUE(messages.shown().isEmpty()) << messages.texts().join(" | ").toStdString();
}

TEST_P(RefreshTest, AnEmployeeRenamedInOneManagerIsShownRenamedInTheOther)
{
    openManager();
    selectTree(mc().memberEntity);
    common::ManagerFrame* mine = w();
    // The other manager, open on the same employee.
    const ManagerCase& other = std::string(mc().name) == "UserGroup" ? kDepartments : kUserGroups;
    other.registerWindows();
    auto* theirs = qobject_cast<common::ManagerFrame*>(host::WindowRegistry::open(other.managerClass));
    ASSERT_NE(theirs, nullptr);
    testing_support::pumpEvents();
    theirs->tv_1()->setCurrentItem(testing_support::treeItem(theirs, other.memberEntity));
    testing_support::pumpEvents();

    mine->activateWindow();
    startWithF2(listIndex(mc().memberKey));
    type("张伟伟");
    finishWith(Qt::Key_Return);
    ASSERT_EQ(stored("s_employee", "name", "id", mc().memberKey), "张伟伟");
    const int index = int(testing_support::listData(theirs->lv_1()).indexOf(other.memberKey)) + 1;
    ASSERT_GT(index, 0);
    EXPECT_EQ(theirs->lv_1()->label(index), "张伟伟");
}

INSTANTIATE_TEST_SUITE_P(Managers, RefreshTest,
                         ::testing::Combine(::testing::Values(kUserGroups, kDepartments),
                                            ::testing::Values(Backend::Sqlite, Backend::Postgres)),
                         FrameEditTest::caseName);

}  // namespace frame_test

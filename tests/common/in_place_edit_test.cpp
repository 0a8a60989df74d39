// In-place renames in both managers, ended by Enter, Esc or a click elsewhere,
// with the database refusing them and a real modal box telling why: the
// window must not crash, the old label comes back and nothing is written.
// Blank names are refused with the add dialogs' words.
#include "common/list_view.h"
#include "common/manager_frame.h"
#include "department/register_windows.h"
#include "host/functions.h"
#include "host/transaction.h"
#include "schema/tables.h"
#include "tests/common/frame_edit_fixture.h"
#include "tests/support/frame_driver.h"
#include "usergroup/register_windows.h"

#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>

namespace frame_test {

using testing_support::Backend;

const ManagerCase kUserGroups{"UserGroup", "w_right_setup", &usergroup::registerWindows, "003", "查询员", "s_group",
                              "group_id", "group_name", schema::len::group_name, "组名称不能为空.",
                              "002", "E001", "张伟", "员工名称不能为空.",
                              "insert into s_user_group (user_code, group_code) values ('E004', '002')", "操作组",
                              "操作员"};
const ManagerCase kDepartments{"Department", "w_right_department_manage", &department::registerWindows, "D02",
                               "财务部", "s_dept", "dept_id", "dept_name", schema::len::dept_name,
                               "部门名称不能为空.", "D01", "E001", "张伟", "员工名称不能为空.",
                               "update s_employee set dept_id = 'D01' where id = 'E004'", "部门", "员工"};


class InPlaceEditTest : public FrameEditTest {
protected:
    QString entityName() { return stored(mc().entityTable, mc().entityNameColumn, mc().entityKeyColumn, mc().entityKey); }
    QString memberName() { return stored("s_employee", "name", "id", mc().memberKey); }

    // Renames list item `key` to `typed` with the given start and end, the
    // real box standing in for the scripted one.
    void renameWithRealBox(const QString& key, const QString& typed, bool f2, Qt::Key end)
    {
        const int index = listIndex(key);
        if (f2)
            startWithF2(index);
        else
            startWithSecondClick(index);
        type(typed);
        finishWith(end);
    }
};

TEST_P(InPlaceEditTest, ARefusedEntityRenameShowsARealBoxAndTheWindowStaysUsable)
{
    // The label editor is still being closed when the rename is refused; a
    // modal box shown then let Qt touch the deleted editor.
    const QString tooLong(mc().entityNameLength + 1, QLatin1Char('x'));
    openManager();
    {
        RealBoxes boxes;
        renameWithRealBox(mc().entityKey, tooLong, true, Qt::Key_Return);
        ASSERT_EQ(boxes.texts.size(), 1);
        EXPECT_TRUE(boxes.texts[0].startsWith("错误原因: ")) << boxes.texts[0].toStdString();
    }
    EXPECT_EQ(w()->lv_1()->label(listIndex(mc().entityKey)), mc().entityLabel);
    EXPECT_EQ(treeLabel(mc().entityKey), mc().entityLabel);
    EXPECT_EQ(entityName(), mc().entityLabel);
    EXPECT_FALSE(host::sqlca.inWriteTransaction());

    // Refused by a trigger, the edit started with a click on the selected item.
    testing_support::refuse(backend(), "update", mc().entityTable);
    {
        RealBoxes boxes;
        renameWithRealBox(mc().entityKey, "abc", false, Qt::Key_Return);
        ASSERT_EQ(boxes.texts.size(), 1);
        EXPECT_TRUE(boxes.texts[0].contains("refused by test")) << boxes.texts[0].toStdString();
    }
    EXPECT_EQ(w()->lv_1()->label(listIndex(mc().entityKey)), mc().entityLabel);
    EXPECT_EQ(entityName(), mc().entityLabel);

    // The window still works: the row gone meanwhile (the trigger finds no
    // row to refuse) is reported as such; the real box closed without 是
    // leaves the list as it was.
    const int index = listIndex(mc().entityKey);
    startWithF2(index);
    type("abc");
    otherClient(QStringLiteral("delete from %1 where %2 = ?").arg(mc().entityTable, mc().entityKeyColumn),
                {mc().entityKey});
    {
        RealBoxes boxes;
        finishWith(Qt::Key_Return);
        ASSERT_EQ(boxes.texts.size(), 1);
        EXPECT_EQ(boxes.texts[0], QString(mc().entityNoun) + " " + mc().entityKey +
                                      " 的名称已被其他用户修改, 本次修改全部未保存.\n是否重新读取?");
    }
    EXPECT_EQ(w()->lv_1()->label(index), mc().entityLabel);
    EXPECT_FALSE(host::sqlca.inWriteTransaction());
}

TEST_P(InPlaceEditTest, ARefusedMemberRenameEndedByAClickElsewhereShowsARealBox)
{
    openManager();
    selectTree(mc().memberEntity);
    testing_support::refuse(backend(), "update", "s_employee");
    {
        RealBoxes boxes;
        startWithSecondClick(listIndex(mc().memberKey));
        type("abc");
        finishWithClickElsewhere();
        ASSERT_EQ(boxes.texts.size(), 1);
        EXPECT_TRUE(boxes.texts[0].contains("refused by test")) << boxes.texts[0].toStdString();
    }
    EXPECT_EQ(w()->lv_1()->label(listIndex(mc().memberKey)), mc().memberLabel);
    EXPECT_EQ(memberName(), mc().memberLabel);
    EXPECT_FALSE(host::sqlca.inWriteTransaction());
}

TEST_P(InPlaceEditTest, ARenameWaitingForALockHeldByAnotherClientIsRefusedAfterTheTimeout)
{
    // A short wait for the lock, so that the test does not take seconds.
    host::sqlca.disconnect();
    host::sqlca.busyTimeoutMs = 300;
    ASSERT_TRUE(host::sqlca.connect(url())) << host::sqlca.sqlerrtext.toStdString();
    openManager();
    host::Transaction other;
    ASSERT_TRUE(other.connect(url()));
    // The other client changes the same row and keeps its transaction open.
    ASSERT_EQ(other.execute(QStringLiteral("update %1 set %2 = ? where %3 = ?")
                                .arg(mc().entityTable, mc().entityNameColumn, mc().entityKeyColumn),
                            {"locked", mc().entityKey}),
              0)
        << other.sqlerrtext.toStdString();
    {
        RealBoxes boxes;
        startWithF2(listIndex(mc().entityKey));
        type("abc");
        finishWith(Qt::Key_Return);
        ASSERT_EQ(boxes.texts.size(), 1);
        EXPECT_TRUE(boxes.texts[0].startsWith("错误原因: ")) << boxes.texts[0].toStdString();
    }
    EXPECT_EQ(other.rollback(), 0);
    EXPECT_EQ(w()->lv_1()->label(listIndex(mc().entityKey)), mc().entityLabel);
    EXPECT_EQ(entityName(), mc().entityLabel);
    host::sqlca.busyTimeoutMs = 5000;
}

TEST_P(InPlaceEditTest, ARightTakenAwayDuringTheEditIsRefusedInARealBox)
{
    // E006 holds 修改 on everything through 系统管理组 (001) only.
    host::gs_user_id = "E006";
    openManager();
    startWithF2(listIndex(mc().entityKey));
    type("abc");
    otherClient("delete from s_group_power where group_id = ?", {"001"});
    {
        RealBoxes boxes;
        finishWith(Qt::Key_Return);
        ASSERT_EQ(boxes.texts.size(), 1);
    }
    EXPECT_EQ(w()->lv_1()->label(listIndex(mc().entityKey)), mc().entityLabel);
    EXPECT_EQ(entityName(), mc().entityLabel);
}

TEST_P(InPlaceEditTest, EscKeepsTheNameAndEnterWritesIt)
{
    openManager();
    startWithF2(listIndex(mc().entityKey));
    type("abc");
    finishWith(Qt::Key_Escape);
    EXPECT_EQ(w()->lv_1()->label(listIndex(mc().entityKey)), mc().entityLabel);
    EXPECT_EQ(entityName(), mc().entityLabel);

    startWithSecondClick(listIndex(mc().entityKey));
    type("新名");
    finishWith(Qt::Key_Return);
    EXPECT_EQ(entityName(), "新名");
    EXPECT_EQ(treeLabel(mc().entityKey), "新名");
    EXPECT_EQ(w()->lv_1()->label(listIndex(mc().entityKey)), "新名");
    EXPECT_TRUE(messages.shown().isEmpty()) << messages.texts().join(" | ").toStdString();
}

TEST_P(InPlaceEditTest, AnEditEndedByChoosingAnotherTreeItemRenamesTheItemOfTheListItWasMadeIn)
{
    openManager();
    startWithF2(listIndex(mc().entityKey));
    type("新名");
    selectTree(mc().memberEntity);  // the list now shows that entity's members
    ASSERT_EQ(editor(), nullptr);
    EXPECT_EQ(entityName(), "新名");
    EXPECT_EQ(treeLabel(mc().entityKey), "新名");
    EXPECT_EQ(w()->currentTreeItem(), testing_support::treeItem(w(), mc().memberEntity));
    EXPECT_GT(listIndex(mc().memberKey), 0);
}

TEST_P(InPlaceEditTest, BlankNamesAreRefusedWithTheAddDialogsWordsAndNothingIsWritten)
{
    openManager();
    // The name deleted in the editor, ended by a click elsewhere.
    startWithSecondClick(listIndex(mc().entityKey));
    type("");
    ASSERT_TRUE(editor()->text().isEmpty());
    finishWithClickElsewhere();
    // Spaces only, ended by Enter.
    startWithF2(listIndex(mc().entityKey));
    type("   ");
    finishWith(Qt::Key_Return);
    EXPECT_EQ(messages.texts(), QStringList({mc().blankEntity, mc().blankEntity}));
    EXPECT_EQ(messages.titles(), QStringList({"提示", "提示"}));
    EXPECT_EQ(w()->lv_1()->label(listIndex(mc().entityKey)), mc().entityLabel);
    EXPECT_EQ(treeLabel(mc().entityKey), mc().entityLabel);
    EXPECT_EQ(entityName(), mc().entityLabel);

    messages.clear();
    selectTree(mc().memberEntity);
    {
        RealBoxes boxes;  // the notice, too, comes after the editor closed
        startWithF2(listIndex(mc().memberKey));
        type(" ");
        finishWith(Qt::Key_Return);
        EXPECT_EQ(boxes.texts, QStringList({mc().blankMember}));
    }
    EXPECT_EQ(w()->lv_1()->label(listIndex(mc().memberKey)), mc().memberLabel);
    EXPECT_EQ(memberName(), mc().memberLabel);
    // Blanks around a name are kept as typed.
    startWithF2(listIndex(mc().memberKey));
    type(" ab ");
    finishWith(Qt::Key_Return);
    EXPECT_EQ(memberName(), " ab ");
}

INSTANTIATE_TEST_SUITE_P(Managers, InPlaceEditTest,
                         ::testing::Combine(::testing::Values(kUserGroups, kDepartments),
                                            ::testing::Values(Backend::Sqlite, Backend::Postgres)),
                         FrameEditTest::caseName);

}  // namespace frame_test

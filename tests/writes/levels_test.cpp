// The operator's level inside the module's windows: at level 1 on a window's
// module item code the window is for viewing (every control that changes data
// disabled, and its action refused if called all the same); level 2 changes
// data; a right taken away while the window is open counts at the next action.
#include "common/record_dialog.h"
#include "department/w_right_department_manage.h"
#include "department/w_right_employee_batchadd.h"
#include "host/functions.h"
#include "host/transaction.h"
#include "host/window_registry.h"
#include "platform/datawindow.h"
#include "rightsetup/w_right_module_list.h"
#include "rightsetup/w_right_right_setup.h"
#include "tests/support/frame_driver.h"
#include "tests/support/modal_responder.h"
#include "tests/writes/module_windows.h"
#include "usergroup/w_right_setup.h"
#include "usergroup/w_right_user_add.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

using testing_support::Backend;

const QString kRefused = QStringLiteral("当前操作员没有修改权限, 不能进行此操作.");

class LevelTest : public writes_test::ModuleWindowsTest, public ::testing::WithParamInterface<Backend> {
public:
    Backend backend() const override { return GetParam(); }

protected:
    void TearDown() override
    {
        ModuleWindowsTest::TearDown();
        host::gs_user_id = QStringLiteral("admin");
    }
    // Logs in as `id` after giving `group` the level on the items.
    void loginWithLevel(const QString& id, const QString& group, const QString& level, const QStringList& items)
    {
        for (const QString& item : items) {
            exec("delete from s_group_power where group_id = ? and m_item_code = ?", {group, item});
            exec("insert into s_group_power (group_id, m_item_code, group_right) values (?, ?, ?)",
                 {group, item, level});
        }
        ASSERT_EQ(host::sqlca.commit(), 0);
        host::gs_user_id = id;
    }
    static QStringList enabledButtons(QWidget* window, const QStringList& names)
    {
        QStringList enabled;
        for (const QString& name : names) {
            auto* button = window->findChild<QPushButton*>(name);
            EXPECT_NE(button, nullptr) << name.toStdString();
            if (button && button->isEnabled())
                enabled << name;
        }
        return enabled;
    }
    static QStringList enabledCommands(common::ManagerFrame* frame, int index)
    {
        QStringList enabled;
        const std::unique_ptr<common::PopupMenu> menu = frame->popupMenuFor(index);
        for (QAction* command : menu->commands())
            if (command->isVisible() && command->isEnabled())
                enabled << command->objectName();
        return enabled;
    }
    void expectOnlyRefusals(int count)
    {
        EXPECT_EQ(messages.texts(), QStringList(count, kRefused));
        messages.clear();
    }
};

TEST_P(LevelTest, AtLevelOneTheUserAndGroupManagerIsForViewing)
{
    // E004 (groups 003 and 004) may look at groups and rights, not change them.
    loginWithLevel("E004", "004", "1", {"m102", "003"});
    const QStringList before = snapshot();
    usergroup::w_right_setup* w = users();
    const QStringList buttons = {"pb_add", "pb_edit", "pb_delete", "pb_right", "pb_change", "pb_close"};
    EXPECT_EQ(enabledButtons(w, buttons), QStringList({"pb_close"}));
    select(w, "002");
    EXPECT_EQ(enabledButtons(w, buttons), QStringList({"pb_right", "pb_close"}));
    EXPECT_EQ(enabledCommands(w, listIndex(w, "002")), QStringList({"m_group_right", "m_right_query", "m_right_journal", "m_refresh"}));

    // Called all the same (a shortcut, a script): refused, nothing written.
    w->ue_rename();
    w->ue_delete_lvi();
    w->ue_changegroup();
    expectOnlyRefusals(3);
    // Delete and F2 in the list run the same guarded commands.
    QTest::keyClick(w->lv_1(), Qt::Key_Delete);
    QTest::keyClick(w->lv_1(), Qt::Key_F2);
    testing_support::pumpEvents();
    expectOnlyRefusals(2);
    EXPECT_EQ(w->lv_1()->viewport()->findChild<QLineEdit*>(), nullptr);
    selectTree(w, "002");
    EXPECT_EQ(enabledCommands(w, listIndex(w, "E001")), QStringList({"m_right_query", "m_right_journal", "m_refresh"}));
    select(w, "E001");
    w->ue_delete_lvi();
    expectOnlyRefusals(1);

    // The dialogs show, but cannot store.
    auto* add = open<common::RecordDialog>("w_right_group_add");
    ASSERT_NE(add, nullptr);
    EXPECT_FALSE(add->cb_1()->isEnabled());
    ASSERT_EQ(add->dw_1()->setItem(1, "group_id", "009"), 1);
    ASSERT_EQ(add->dw_1()->setItem(1, "group_name", "新组"), 1);
    add->cb1Clicked();
    auto* user = open<usergroup::w_right_user_add>("w_right_user_add");
    ASSERT_NE(user, nullptr);
    EXPECT_FALSE(user->cb_1()->isEnabled());
    ASSERT_EQ(user->dw_1()->setItem(1, "user_code", "E005"), 1);
    user->cb1Clicked();
    expectOnlyRefusals(2);
    EXPECT_EQ(snapshot(), before);
}

TEST_P(LevelTest, AtLevelOneTheRightsEditorAndTheModuleListAreForViewing)
{
    loginWithLevel("E004", "004", "1", {"m102", "003"});
    const QStringList before = snapshot();
    rightsetup::w_right_right_setup* editor = editorOf("002");
    ASSERT_NE(editor, nullptr);
    EXPECT_GT(editor->dw_1->rowCount(), 0);
    EXPECT_EQ(enabledButtons(editor, {"cb_add", "cb_delete", "cb_save", "cb_cancel"}), QStringList({"cb_cancel"}));
    // The grid takes no input.
    const auto* view = qobject_cast<QAbstractItemView*>(editor->dw_1->view());
    ASSERT_NE(view, nullptr);
    for (int c = 0; c < view->model()->columnCount(); ++c)
        EXPECT_FALSE(view->model()->flags(view->model()->index(0, c)) & Qt::ItemIsEditable) << c;

    ASSERT_EQ(editor->dw_1->setItem(1, "group_right", "2"), 1);
    editor->cb_save_clicked();
    editor->dw_1->setRow(1);
    editor->cb_delete_clicked();
    editor->cb_add_clicked();
    expectOnlyRefusals(3);
    EXPECT_FALSE(editor->ib_save_success);

    auto* list = open<rightsetup::w_right_module_list>("w_right_module_list", "002");
    ASSERT_NE(list, nullptr);
    EXPECT_FALSE(list->cb_ok->isEnabled());
    list->cb_ok_clicked();
    expectOnlyRefusals(1);
    EXPECT_EQ(snapshot(), before);
}

TEST_P(LevelTest, AtLevelOneTheDepartmentManagerShowsRecordsButChangesNothing)
{
    // E004 holds 查询 (1) on 部门管理 in the sample data.
    host::gs_user_id = "E004";
    const QStringList before = snapshot();
    department::w_right_department_manage* w = departments();
    select(w, "D02");
    const QStringList enabled = enabledButtons(w, {"pb_add", "pb_edit", "pb_delete", "pb_close"});
    EXPECT_EQ(enabled, QStringList({"pb_edit", "pb_close"}));
    EXPECT_FALSE(w->pb_batch()->isEnabled());
    EXPECT_FALSE(w->pb_batchdel()->isEnabled());
    EXPECT_EQ(enabledCommands(w, listIndex(w, "D02")), QStringList({"m_编辑部门", "m_refresh"}));

    w->ue_delete_lvi();
    w->ue_rename();
    w->ue_batchadd();
    expectOnlyRefusals(3);

    // The edit dialog shows the department; it cannot be saved.
    auto* edit = open<common::RecordDialog>("w_right_department_edit", "D02");
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->dw_1()->getItemString(1, "dept_name"), "财务部");
    EXPECT_FALSE(edit->cb_1()->isEnabled());
    ASSERT_EQ(edit->dw_1()->setItem(1, "dept_name", "改名"), 1);
    edit->cb1Clicked();

    department::w_right_employee_batchadd batch;
    batch.setTag(w->tag());
    batch.openEvent("D02");
    EXPECT_FALSE(batch.cb_add()->isEnabled());
    batch.em_3()->setText("Z");
    batch.run();
    expectOnlyRefusals(2);
    EXPECT_EQ(snapshot(), before);
}

TEST_P(LevelTest, AtLevelTwoEverythingIsEnabledAndARightTakenAwayCountsAtTheNextAction)
{
    loginWithLevel("E001", "002", "2", {"m102"});
    usergroup::w_right_setup* w = users();
    select(w, "003");
    EXPECT_EQ(enabledButtons(w, {"pb_add", "pb_edit", "pb_delete", "pb_right", "pb_change"}),
              QStringList({"pb_add", "pb_edit", "pb_delete", "pb_right", "pb_change"}));
    EXPECT_TRUE(enabledCommands(w, listIndex(w, "003")).contains("m_delete_group"));

    // Another administrator takes the right away while the window is open.
    host::Transaction other;
    ASSERT_TRUE(other.connect(url()));
    ASSERT_EQ(other.execute("delete from s_group_power where group_id = ? and m_item_code = ?", {"002", "m102"}), 0);
    ASSERT_EQ(other.commit(), 0);
    w->ue_delete_lvi();
    expectOnlyRefusals(1);
    EXPECT_EQ(count("s_group", "group_id = ?", {"003"}), 1);
    // The buttons follow at the next click.
    select(w, "003");
    EXPECT_FALSE(w->pb_delete()->isEnabled());
}

WMS_INSTANTIATE_DB_TESTS(LevelTest);

}  // namespace

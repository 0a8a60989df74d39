// Every write site of the module, with the database refusing the write: a
// statement refused by a trigger, or the COMMIT refused by a deferred
// constraint after every statement went through. Each site must tell the
// operator with its own failure message, leave the database exactly as it was
// (read back by a second client), and its windows must show what the database
// holds.
#include "common/record_dialog.h"
#include "department/w_right_department_manage.h"
#include "department/w_right_employee_batchadd.h"
#include "department/w_right_employee_batchdel.h"
#include "host/transaction.h"
#include "host/window_registry.h"
#include "platform/datawindow.h"
#include "rightsetup/w_right_right_setup.h"
#include "tests/support/frame_driver.h"
#include "tests/support/modal_responder.h"
#include "tests/writes/module_windows.h"
#include "usergroup/w_right_select_group.h"
#include "usergroup/w_right_set_password.h"
#include "usergroup/w_right_setup.h"
#include "usergroup/w_right_user_add.h"

#include <QLineEdit>
#include <QPushButton>
#include <functional>
#include <tuple>

namespace {

using testing_support::Backend;

enum class Fault { Statement, Commit };

class RefusedWriteTest;

struct Site {
    const char* name;
    // The change the database refuses: operation and table.
    const char* operation;
    const char* table;
    // Drives the windows through the operation, answering its questions.
    std::function<void(RefusedWriteTest&)> act;
    // The failure message; `text` is its beginning when `reasonFollows`.
    const char* title;
    const char* text;
    bool reasonFollows;
    // What the windows show afterwards.
    std::function<void(RefusedWriteTest&)> expectScreen;
    // Data the site needs besides the sample, committed before the fault is set.
    std::function<void(RefusedWriteTest&)> prepare = {};
};

const QList<Site>& sites();

using Param = std::tuple<int, Fault, Backend>;

class RefusedWriteTest : public writes_test::ModuleWindowsTest, public ::testing::WithParamInterface<Param> {
public:
    const Site& site() const { return sites().at(std::get<0>(GetParam())); }
    Fault fault() const { return std::get<1>(GetParam()); }
    Backend backend() const override { return std::get<2>(GetParam()); }
};

// --- the sites ---------------------------------------------------------------

void addGroup(RefusedWriteTest& t)
{
    t.users();
    auto* dialog = t.open<common::RecordDialog>("w_right_group_add");
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(dialog->dw_1()->setItem(1, "group_id", "005"), 1);
    ASSERT_EQ(dialog->dw_1()->setItem(1, "group_name", "新组"), 1);
    dialog->cb1Clicked();
}

void addUser(RefusedWriteTest& t)
{
    usergroup::w_right_setup* manager = t.users();
    t.selectTree(manager, "002");
    manager->pb_add()->click();
    testing_support::pumpEvents();
    auto* dialog = host::WindowRegistry::instanceOf<usergroup::w_right_user_add>("w_right_user_add");
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(dialog->dw_1()->setItem(1, "user_code", "E005"), 1);  // an employee, not an operator yet
    dialog->cb1Clicked();
}

void moveGroup(RefusedWriteTest& t)
{
    usergroup::w_right_setup* manager = t.users();
    t.select(manager, "003");
    t.messages.answer(host::Answer::Yes);  // the target has operators: move all the same
    testing_support::ModalResponder responder([](QWidget* modal) {
        auto* dialog = qobject_cast<usergroup::w_right_select_group*>(modal);
        ASSERT_NE(dialog, nullptr);
        platform::DataWindow* dw = dialog->dw_1();
        const long row = dw->find("group_id = '002'", 1, dw->rowCount());
        ASSERT_GT(row, 0);
        dw->setRow(row);
        dialog->cb_ok()->click();
    });
    manager->ue_changegroup();
    EXPECT_TRUE(responder.handled());
}

void setPassword(RefusedWriteTest& t)
{
    usergroup::w_right_setup* manager = t.users();
    t.selectTree(manager, "002");
    t.select(manager, "E001");
    testing_support::ModalResponder responder([](QWidget* modal) {
        auto* dialog = qobject_cast<usergroup::w_right_set_password*>(modal);
        ASSERT_NE(dialog, nullptr);
        dialog->sle_password()->setText("Neu-1");
        dialog->sle_confirm()->setText("Neu-1");
        dialog->cb_ok()->click();
        // The dialog stays open with what was typed, for another try.
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(dialog->sle_password()->text(), "Neu-1");
        EXPECT_EQ(dialog->sle_confirm()->text(), "Neu-1");
    });
    manager->ue_set_password();
    EXPECT_TRUE(responder.handled());
}

void deleteGroup(RefusedWriteTest& t)
{
    usergroup::w_right_setup* manager = t.users();
    t.select(manager, "002");
    t.messages.answer(host::Answer::Yes);
    t.messages.answer(host::Answer::Yes);
    manager->ue_delete_lvi();
}

void saveRights(RefusedWriteTest& t)
{
    rightsetup::w_right_right_setup* editor = t.editorOf("003");
    ASSERT_NE(editor, nullptr);
    const long row = editor->dw_1->find("m_item_code = 'w203'", 1, editor->dw_1->rowCount());
    ASSERT_GT(row, 0);
    ASSERT_EQ(editor->dw_1->setItem(row, "group_right", "2"), 1);
    editor->cb_save_clicked();
}

void deleteRight(RefusedWriteTest& t)
{
    rightsetup::w_right_right_setup* editor = t.editorOf("003");
    ASSERT_NE(editor, nullptr);
    editor->dw_1->setRow(1);
    t.messages.answer(host::Answer::Yes);
    editor->cb_delete_clicked();
}

void addDepartment(RefusedWriteTest& t)
{
    t.departments();
    auto* dialog = t.open<common::RecordDialog>("w_right_department_add");
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(dialog->dw_1()->setItem(1, "dept_id", "D09"), 1);
    ASSERT_EQ(dialog->dw_1()->setItem(1, "dept_name", "运输部"), 1);
    dialog->cb1Clicked();
}

void editDepartment(RefusedWriteTest& t)
{
    t.departments();
    auto* dialog = t.open<common::RecordDialog>("w_right_department_edit", "D02");
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(dialog->dw_1()->setItem(1, "dept_name", "新财务部"), 1);
    dialog->cb1Clicked();
}

void addEmployee(RefusedWriteTest& t)
{
    t.selectTree(t.departments(), "D01");
    auto* dialog = t.open<common::RecordDialog>("w_right_employee_add");
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(dialog->dw_1()->setItem(1, "id", "E100"), 1);
    ASSERT_EQ(dialog->dw_1()->setItem(1, "name", "赵敏"), 1);
    dialog->cb1Clicked();
}

void editEmployee(RefusedWriteTest& t)
{
    t.departments();
    auto* dialog = t.open<common::RecordDialog>("w_right_employee_edit", "E003");
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(dialog->dw_1()->setItem(1, "name", "李娜娜"), 1);
    dialog->cb1Clicked();
}

void deleteEmployee(RefusedWriteTest& t)
{
    department::w_right_department_manage* manager = t.departments();
    t.selectTree(manager, "D01");
    t.select(manager, "E002");
    t.messages.answer(host::Answer::Yes);
    manager->ue_delete_lvi();
}

template <class W>
void runSeries(const QString& head, const QString& first, const QString& last)
{
    W dialog;
    dialog.openEvent("D01");
    dialog.em_3()->setText(head);
    dialog.em_1()->setText(first);
    dialog.em_2()->setText(last);
    dialog.run();
}

// Screens.

void groupsUnchanged(RefusedWriteTest& t)
{
    usergroup::w_right_setup* manager = t.users();
    EXPECT_EQ(testing_support::treeData(manager), QStringList({"001", "002", "003", "004"}));
}

void membersOf002Unchanged(RefusedWriteTest& t)
{
    EXPECT_EQ(testing_support::listData(t.users()->lv_1()), QStringList({"E001", "E002"}));
}

void departmentsUnchanged(RefusedWriteTest& t)
{
    EXPECT_EQ(testing_support::treeData(t.departments()), QStringList({"D01", "D02", "D03"}));
}

void employeesOfD01Unchanged(RefusedWriteTest& t)
{
    EXPECT_EQ(testing_support::listData(t.departments()->lv_1()), QStringList({"E001", "E002", "E003"}));
}

void recordKept(RefusedWriteTest&, const char* window, const char* column, const char* typed)
{
    auto* dialog = qobject_cast<common::RecordDialog*>(host::WindowRegistry::instance(window));
    ASSERT_NE(dialog, nullptr);
    // Nothing the operator typed is lost: saving again writes it.
    EXPECT_EQ(dialog->dw_1()->getItemString(1, column), typed);
}

rightsetup::w_right_right_setup* openEditor()
{
    return host::WindowRegistry::instanceOf<rightsetup::w_right_right_setup>("w_right_right_setup");
}

const QList<Site>& sites()
{
    static const QList<Site> all = {
        {"GroupAdd", "insert", "s_group", addGroup, "提示", "增加失败.", false,
         [](RefusedWriteTest& t) {
             groupsUnchanged(t);
             recordKept(t, "w_right_group_add", "group_id", "005");
         }},
        {"UserAddOperatorRow", "insert", "s_user", addUser, "提示", "增加失败.", false, membersOf002Unchanged},
        {"UserAddMembership", "insert", "s_user_group", addUser, "提示", "增加失败.", false, membersOf002Unchanged},
        {"GroupRename", "update", "s_group",
         [](RefusedWriteTest& t) { t.rename(t.users(), "002", "改名组"); }, "数据库错误", "错误原因: ", true,
         [](RefusedWriteTest& t) {
             EXPECT_EQ(t.label(t.users(), "002"), "仓库管理员");
             EXPECT_EQ(t.treeLabel(t.users(), "002"), "仓库管理员");
         }},
        {"OperatorRename", "update", "s_employee",
         [](RefusedWriteTest& t) {
             t.selectTree(t.users(), "002");
             t.rename(t.users(), "E001", "张伟伟");
         },
         "数据库错误", "错误原因: ", true,
         [](RefusedWriteTest& t) { EXPECT_EQ(t.label(t.users(), "E001"), "张伟"); }},
        {"GroupDelete", "delete", "s_group", deleteGroup, "数据库错误", "错误原因: ", true,
         [](RefusedWriteTest& t) {
             groupsUnchanged(t);
             EXPECT_GT(t.listIndex(t.users(), "002"), 0);
         }},
        {"GroupDeleteRights", "delete", "s_group_power", deleteGroup, "数据库错误", "错误原因: ", true,
         groupsUnchanged},
        {"MembershipDelete", "delete", "s_user_group",
         [](RefusedWriteTest& t) {
             t.selectTree(t.users(), "002");
             t.select(t.users(), "E001");
             t.messages.answer(host::Answer::Yes);
             t.users()->ue_delete_lvi();
         },
         "数据库错误", "错误原因: ", true, membersOf002Unchanged},
        {"ForcedMove", "update", "s_user_group", moveGroup, "提示", "更新失败.", false, groupsUnchanged},
        {"SetPassword", "update", "s_user", setPassword, "提示", "设置密码失败.", false, membersOf002Unchanged},
        {"RightsSave", "update", "s_group_power", saveRights, "提示", "保存失败.", false,
         [](RefusedWriteTest&) {
             auto* editor = openEditor();
             ASSERT_NE(editor, nullptr);
             EXPECT_EQ(editor->dw_1->modifiedCount(), 1);  // still pending for the next save
             EXPECT_TRUE(editor->cb_save->isEnabled());
             EXPECT_FALSE(editor->ib_save_success);
         }},
        {"RightsDelete", "delete", "s_group_power", deleteRight, "提示", "删除失败.", false,
         [](RefusedWriteTest&) {
             auto* editor = openEditor();
             ASSERT_NE(editor, nullptr);
             EXPECT_EQ(editor->dw_1->deletedCount(), 1);
             EXPECT_TRUE(editor->cb_save->isEnabled());
         }},
        {"DepartmentAdd", "insert", "s_dept", addDepartment, "提示", "增加失败.", false,
         [](RefusedWriteTest& t) {
             departmentsUnchanged(t);
             recordKept(t, "w_right_department_add", "dept_id", "D09");
         }},
        {"DepartmentEdit", "update", "s_dept", editDepartment, "提示", "修改失败.", false,
         [](RefusedWriteTest& t) {
             recordKept(t, "w_right_department_edit", "dept_name", "新财务部");
             EXPECT_EQ(t.treeLabel(t.departments(), "D02"), "财务部");
         }},
        {"DepartmentRename", "update", "s_dept",
         [](RefusedWriteTest& t) { t.rename(t.departments(), "D03", "信息技术部"); }, "数据库错误", "错误原因: ",
         true,
         [](RefusedWriteTest& t) {
             EXPECT_EQ(t.label(t.departments(), "D03"), "信息部");
             EXPECT_EQ(t.treeLabel(t.departments(), "D03"), "信息部");
         }},
        {"DepartmentDelete", "delete", "s_dept",
         [](RefusedWriteTest& t) {
             t.select(t.departments(), "D04");
             t.messages.answer(host::Answer::Yes);
             t.departments()->ue_delete_lvi();
         },
         "数据库错误", "错误原因: ", true,
         [](RefusedWriteTest& t) {
             EXPECT_EQ(testing_support::treeData(t.departments()), QStringList({"D01", "D02", "D03", "D04"}));
             EXPECT_GT(t.listIndex(t.departments(), "D04"), 0);
         },
         // Only a department without employees is deleted.
         [](RefusedWriteTest&) {
             ASSERT_EQ(host::sqlca.execute("insert into s_dept (dept_id, dept_name, memo) values (?, ?, ?)",
                                           {"D04", "空部门", ""}),
                       0);
             ASSERT_EQ(host::sqlca.commit(), 0);
         }},
        {"EmployeeAdd", "insert", "s_employee", addEmployee, "提示", "增加失败.", false,
         [](RefusedWriteTest& t) {
             employeesOfD01Unchanged(t);
             recordKept(t, "w_right_employee_add", "id", "E100");
         }},
        {"EmployeeEdit", "update", "s_employee", editEmployee, "提示", "修改失败.", false,
         [](RefusedWriteTest& t) { recordKept(t, "w_right_employee_edit", "name", "李娜娜"); }},
        {"EmployeeRename", "update", "s_employee",
         [](RefusedWriteTest& t) {
             t.selectTree(t.departments(), "D01");
             t.rename(t.departments(), "E002", "王芳芳");
         },
         "数据库错误", "错误原因: ", true, [](RefusedWriteTest& t) { EXPECT_EQ(t.label(t.departments(), "E002"), "王芳"); }},
        {"EmployeeDelete", "delete", "s_employee", deleteEmployee, "数据库错误", "错误原因: ", true,
         employeesOfD01Unchanged},
        {"EmployeeDeleteOperatorAccount", "delete", "s_user", deleteEmployee, "数据库错误", "错误原因: ", true,
         employeesOfD01Unchanged},
        {"BatchAdd", "insert", "s_employee",
         [](RefusedWriteTest&) { runSeries<department::w_right_employee_batchadd>("A", "1", "2"); }, "提示",
         "操作完成.\n共增加0名员工.\n以下2个编号未能处理:\nA01: ", true, [](RefusedWriteTest&) {}},
        {"BatchDelete", "delete", "s_employee",
         [](RefusedWriteTest& t) {
             t.messages.answer(host::Answer::Yes);  // the batch delete's question
             runSeries<department::w_right_employee_batchdel>("E0", "1", "2");
         },
         "提示",
         "操作完成.\n共删除0名员工.\n以下2个编号未能处理:\nE001: ", true, [](RefusedWriteTest&) {}},
    };
    return all;
}

TEST_P(RefusedWriteTest, IsReportedAsAFailureWithNothingWrittenAndTheScreenAgreeing)
{
    if (site().prepare)
        site().prepare(*this);
    if (HasFatalFailure())
        return;
    if (fault() == Fault::Statement)
        testing_support::refuse(backend(), site().operation, site().table);
    else
        testing_support::refuseAtCommit(backend(), site().operation, site().table);
    if (HasFatalFailure())
        return;
    const QStringList before = snapshot();

    site().act(*this);
    if (HasFatalFailure())
        return;

    ASSERT_FALSE(messages.shown().isEmpty()) << "the failure was not reported";
    const testing_support::ShownBox& box = messages.shown().last();
    EXPECT_EQ(box.title, site().title) << box.text.toStdString();
    if (site().reasonFollows) {
        EXPECT_TRUE(box.text.startsWith(site().text)) << box.text.toStdString();
        // The database's own reason follows.
        EXPECT_GT(box.text.size(), QString(site().text).size()) << box.text.toStdString();
    } else {
        EXPECT_EQ(box.text, site().text);
    }
    EXPECT_TRUE(messages.scriptUsedUp());
    EXPECT_FALSE(host::sqlca.inWriteTransaction());
    EXPECT_EQ(snapshot(), before) << "a refused operation left changes behind";
    site().expectScreen(*this);
}

std::string paramName(const ::testing::TestParamInfo<Param>& info)
{
    return std::string(sites().at(std::get<0>(info.param)).name) +
           (std::get<1>(info.param) == Fault::Statement ? "_StatementRefused" : "_CommitRefused") +
           (std::get<2>(info.param) == Backend::Sqlite ? "_Sqlite" : "_Postgres");
}

INSTANTIATE_TEST_SUITE_P(Sites, RefusedWriteTest,
                         ::testing::Combine(::testing::Range(0, int(sites().size())),
                                            ::testing::Values(Fault::Statement, Fault::Commit),
                                            ::testing::Values(Backend::Sqlite, Backend::Postgres)),
                         paramName);

}  // namespace

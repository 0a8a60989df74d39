// No operation may leave nobody but the built-in "admin" able to administer
// rights. On the sample data without an s_user row "admin", E006 (group 001)
// is the only operator with level 2 on 权限管理 (m102) and on the group
// rights editor (003): every way of taking that away is refused with the
// explanation and changes nothing, while changes that keep an administrator
// go through.
#include "department/w_right_department_manage.h"
#include "department/w_right_employee_batchdel.h"
#include "host/transaction.h"
#include "platform/datawindow.h"
#include "rights/administrators.h"
#include "rightsetup/w_right_right_setup.h"
#include "tests/support/frame_driver.h"
#include "tests/support/modal_responder.h"
#include "tests/writes/module_windows.h"
#include "usergroup/w_right_select_group.h"
#include "usergroup/w_right_setup.h"

#include <QLineEdit>
#include <QPushButton>
#include <functional>

namespace {

using testing_support::Backend;

const QString kExplanation = QStringLiteral("此操作之后将没有操作员能够管理权限");

class LockoutTest;

struct LockoutPath {
    const char* name;
    std::function<void(LockoutTest&)> act;
};

const QList<LockoutPath>& paths();

using Param = std::tuple<int, Backend>;

class LockoutTest : public writes_test::ModuleWindowsTest, public ::testing::WithParamInterface<Param> {
public:
    Backend backend() const override { return std::get<1>(GetParam()); }
    const LockoutPath& path() const { return paths().at(std::get<0>(GetParam())); }

    void SetUp() override
    {
        ModuleWindowsTest::SetUp();
        if (HasFatalFailure() || IsSkipped())
            return;
        rights::setAdministrationItems({"m102", "003"});
        // Only E006 administers: the built-in "admin" has no operator row.
        exec("delete from s_user_group where user_code = ?", {"admin"});
        exec("delete from s_user where id = ?", {"admin"});
        ASSERT_EQ(host::sqlca.commit(), 0);
    }
    void TearDown() override
    {
        rights::setAdministrationItems({});
        ModuleWindowsTest::TearDown();
    }
    void moveGroup(const QString& source, const QString& target)
    {
        usergroup::w_right_setup* manager = users();
        select(manager, source);
        messages.answer(host::Answer::Yes);  // the target has operators: move all the same
        testing_support::ModalResponder responder([target](QWidget* modal) {
            auto* dialog = qobject_cast<usergroup::w_right_select_group*>(modal);
            ASSERT_NE(dialog, nullptr);
            platform::DataWindow* dw = dialog->dw_1();
            const long row = dw->find("group_id = '" + target + "'", 1, dw->rowCount());
            ASSERT_GT(row, 0);
            dw->setRow(row);
            dialog->cb_ok()->click();
        });
        manager->ue_changegroup();
        EXPECT_TRUE(responder.handled());
    }
};

const QList<LockoutPath>& paths()
{
    static const QList<LockoutPath> all = {
        {"GroupDelete",
         [](LockoutTest& t) {
             t.select(t.users(), "001");
             t.messages.answer(host::Answer::Yes);
             t.messages.answer(host::Answer::Yes);
             t.users()->ue_delete_lvi();
         }},
        {"MembershipDelete",
         [](LockoutTest& t) {
             t.selectTree(t.users(), "001");
             t.select(t.users(), "E006");
             t.messages.answer(host::Answer::Yes);
             t.users()->ue_delete_lvi();
         }},
        {"ForcedMove", [](LockoutTest& t) { t.moveGroup("001", "003"); }},
        {"RightsSave",
         [](LockoutTest& t) {
             rightsetup::w_right_right_setup* editor = t.editorOf("001");
             ASSERT_NE(editor, nullptr);
             const long row = editor->dw_1->find("m_item_code = '003'", 1, editor->dw_1->rowCount());
             ASSERT_GT(row, 0);
             ASSERT_EQ(editor->dw_1->setItem(row, "group_right", "1"), 1);
             editor->cb_save_clicked();
             EXPECT_EQ(editor->dw_1->modifiedCount(), 1);  // still pending
         }},
        {"RightsDelete",
         [](LockoutTest& t) {
             rightsetup::w_right_right_setup* editor = t.editorOf("001");
             ASSERT_NE(editor, nullptr);
             editor->dw_1->setRow(editor->dw_1->find("m_item_code = 'm102'", 1, editor->dw_1->rowCount()));
             t.messages.answer(host::Answer::Yes);
             editor->cb_delete_clicked();
         }},
        {"EmployeeDelete",
         [](LockoutTest& t) {
             t.selectTree(t.departments(), "D03");
             t.select(t.departments(), "E006");
             t.messages.answer(host::Answer::Yes);
             t.departments()->ue_delete_lvi();
         }},
        {"BatchDelete",
         [](LockoutTest& t) {
             t.messages.answer(host::Answer::Yes);  // the batch delete's question
             department::w_right_employee_batchdel dialog;
             dialog.openEvent("D03");
             dialog.em_3()->setText("E0");
             dialog.em_1()->setText("6");
             dialog.em_2()->setText("6");
             dialog.run();
         }},
    };
    return all;
}

TEST_P(LockoutTest, TakingAwayTheLastAdministratorIsRefusedWithTheReason)
{
    const QStringList before = snapshot();
    path().act(*this);
    if (HasFatalFailure())
        return;
    ASSERT_FALSE(messages.shown().isEmpty());
    EXPECT_TRUE(messages.shown().last().text.contains(kExplanation)) << messages.texts().join(" | ").toStdString();
    EXPECT_TRUE(messages.scriptUsedUp());
    EXPECT_FALSE(host::sqlca.inWriteTransaction());
    EXPECT_EQ(snapshot(), before);
}

std::string paramName(const ::testing::TestParamInfo<Param>& info)
{
    return std::string(paths().at(std::get<0>(info.param)).name) +
           (std::get<1>(info.param) == Backend::Sqlite ? "_Sqlite" : "_Postgres");
}

INSTANTIATE_TEST_SUITE_P(Paths, LockoutTest,
                         ::testing::Combine(::testing::Range(0, int(paths().size())),
                                            ::testing::Values(Backend::Sqlite, Backend::Postgres)),
                         paramName);

class LockoutAllowedTest : public LockoutTest {};

TEST_P(LockoutAllowedTest, ChangesThatKeepAnAdministratorGoThrough)
{
    // Another administrator first: then E006 may leave group 001.
    exec("insert into s_user_group (user_code, group_code) values (?, ?)", {"E001", "001"});
    ASSERT_EQ(host::sqlca.commit(), 0);
    selectTree(users(), "001");
    select(users(), "E006");
    messages.answer(host::Answer::Yes);
    users()->ue_delete_lvi();
    EXPECT_EQ(count("s_user_group", "user_code = ? and group_code = ?", {"E006", "001"}), 0);

    // Groups that administer nothing may go at any time.
    selectTree(users(), "000");
    select(users(), "002");
    messages.answer(host::Answer::Yes);
    messages.answer(host::Answer::Yes);
    users()->ue_delete_lvi();
    EXPECT_EQ(count("s_group", "group_id = ?", {"002"}), 0);
    for (const auto& box : messages.shown())
        EXPECT_FALSE(box.text.contains(kExplanation));
}

TEST_P(LockoutAllowedTest, WithAnOperatorRowAdminTheLastOtherAdministratorMayGo)
{
    exec("insert into s_user (id, password, status) values (?, ?, ?)", {"Admin", "x", "1"});
    ASSERT_EQ(host::sqlca.commit(), 0);
    select(users(), "001");
    messages.answer(host::Answer::Yes);
    messages.answer(host::Answer::Yes);
    users()->ue_delete_lvi();
    EXPECT_EQ(count("s_group", "group_id = ?", {"001"}), 0);
}

// An operator who cannot log in administers nothing, whatever his groups:
// beside him, E006 is still the last administrator and may not leave.
TEST_P(LockoutAllowedTest, AnAdministratorWhoCannotLogInDoesNotCount)
{
    exec("insert into s_user_group (user_code, group_code) values (?, ?)", {"E001", "001"});
    const QList<std::pair<QVariant, QString>> cannotLogIn = {{"123", "0"}, {"123", "2"}, {"", "1"}, {QVariant(), "1"}};
    for (const auto& [password, status] : cannotLogIn) {
        exec("update s_user set password = ?, status = ? where id = ?", {password, status, "E001"});
        ASSERT_EQ(host::sqlca.commit(), 0);
        const QStringList before = snapshot();
        messages.clear();
        selectTree(users(), "001");
        select(users(), "E006");
        messages.answer(host::Answer::Yes);
        users()->ue_delete_lvi();
        ASSERT_FALSE(messages.shown().isEmpty());
        EXPECT_TRUE(messages.shown().last().text.contains(kExplanation))
            << status.toStdString() << " " << messages.texts().join(" | ").toStdString();
        EXPECT_EQ(snapshot(), before) << status.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Db, LockoutAllowedTest,
                         ::testing::Combine(::testing::Values(0),
                                            ::testing::Values(Backend::Sqlite, Backend::Postgres)),
                         paramName);

}  // namespace

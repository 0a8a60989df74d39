// 全组更换 and 设置密码 with another administrator at work: the window reads,
// another client changes the memberships or the password and commits, then
// the window writes. What the operator was shown is named in the write: a
// change meanwhile refuses the whole operation (nothing written, no journal
// entry of it) with the module's reason; a change elsewhere is kept.
#include "tests/usergroup/manager_fixture.h"

#include "host/functions.h"
#include "host/password.h"
#include "host/transaction.h"
#include "platform/datawindow.h"
#include "usergroup/w_right_select_group.h"
#include "usergroup/w_right_set_password.h"
#include "usergroup/w_right_user_add.h"
#include "host/window_registry.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <optional>

using namespace usergroup_test;

class MeanwhileTest : public ManagerTest {
protected:
    void otherClient(const QString& sql, const QVariantList& params = {})
    {
        host::Transaction other;
        ASSERT_TRUE(other.connect(url())) << other.sqlerrtext.toStdString();
        ASSERT_EQ(other.execute(sql, params), 0) << other.sqlerrtext.toStdString();
        ASSERT_EQ(other.commit(), 0) << other.sqlerrtext.toStdString();
    }
    long long journal() { return count("s_right_journal"); }

    // 全组更换 of `source` into `target`; `meanwhile` runs when the question
    // is shown, which is answered 是; `readAgain` answers the refusal.
    void move(const QString& source, const QString& target, const std::function<void()>& meanwhile,
              std::optional<host::Answer> readAgain = {})
    {
        click(listIndex(source));
        testing_support::ModalResponder responder([&](QWidget* modal) {
            auto* dialog = qobject_cast<usergroup::w_right_select_group*>(modal);
            ASSERT_NE(dialog, nullptr);
            platform::DataWindow* dw = dialog->dw_1();
            dw->setRow(dw->find("group_id = " + platform::quoteLiteral(target), 1, dw->rowCount()));
            dialog->cb_ok()->click();
        });
        messages.answer(host::Answer::Yes);
        if (readAgain)
            messages.answer(*readAgain);
        testing_support::ActionAtBox step("该目的组尚有其他用户", [&] {
            meanwhile();
            before_ = journal();
        });
        manager()->popupMenuFor(listIndex(source))->command("m_换组")->trigger();
        EXPECT_TRUE(responder.handled());
        EXPECT_TRUE(step.ran());
    }

    // 设置密码 for E001 of group 002: `meanwhile` runs once the dialog has
    // read the operator, then the password is typed and confirmed.
    void setPassword(const std::function<void()>& meanwhile,
                     const std::function<void(usergroup::w_right_set_password*)>& after = {})
    {
        selectGroup("002");
        click(listIndex("E001"));
        testing_support::ModalResponder responder([&](QWidget* modal) {
            auto* dialog = qobject_cast<usergroup::w_right_set_password*>(modal);
            ASSERT_NE(dialog, nullptr);
            meanwhile();
            before_ = journal();
            dialog->sle_password()->setText("Neu-1");
            dialog->sle_confirm()->setText("Neu-1");
            dialog->cb_ok()->click();
            if (after)
                after(dialog);
        });
        manager()->popupMenuFor(listIndex("E001"))->command("m_set_password")->trigger();
        EXPECT_TRUE(responder.handled());
    }
    QString password(const QString& id) { return value("select password from s_user where id = ?", {id}).toString(); }

    long long before_ = 0;
};

TEST_P(MeanwhileTest, AWholeGroupMoveRefusesAMemberMovedMeanwhileAndReadsAgain)
{
    openManager();
    // E004 leaves 003 for 001 while the question is open.
    move(
        "003", "002",
        [&] {
            otherClient("update s_user_group set group_code = '001' where user_code = 'E004' and group_code = '003'");
        },
        host::Answer::Yes);
    EXPECT_EQ(messages.texts().last(), "更新失败.\n操作组 003 和 002 的操作员已被其他用户修改, 本次修改全部未保存.\n"
                                       "是否重新读取?");
    EXPECT_EQ(members("002"), QStringList({"E001", "E002"}));
    EXPECT_EQ(members("003"), QStringList({"E002"}));
    EXPECT_TRUE(members("001").contains("E004"));
    EXPECT_EQ(journal(), before_);
    EXPECT_FALSE(host::sqlca.inWriteTransaction());
    EXPECT_TRUE(messages.scriptUsedUp());
}

TEST_P(MeanwhileTest, AWholeGroupMoveRefusesAMemberAddedToEitherGroupMeanwhile)
{
    openManager();
    move(
        "003", "002", [&] { otherClient("insert into s_user_group (user_code, group_code) values ('E006', '003')"); },
        host::Answer::No);
    EXPECT_TRUE(messages.texts().last().startsWith("更新失败.\n操作组 003 和 002 的操作员已被其他用户修改"));
    EXPECT_EQ(members("002"), QStringList({"E001", "E002"}));
    EXPECT_EQ(members("003"), QStringList({"E002", "E004", "E006"}));

    messages.clear();
    move(
        "003", "002", [&] { otherClient("insert into s_user_group (user_code, group_code) values ('E004', '002')"); },
        host::Answer::No);
    EXPECT_TRUE(messages.texts().last().startsWith("更新失败.\n操作组 003 和 002 的操作员已被其他用户修改"));
    EXPECT_EQ(members("002"), QStringList({"E001", "E002", "E004"}));
    EXPECT_EQ(members("003"), QStringList({"E002", "E004", "E006"}));
    EXPECT_EQ(journal(), before_);
}

TEST_P(MeanwhileTest, AWholeGroupMoveKeepsAChangeToAnotherGroupMadeMeanwhile)
{
    openManager();
    move("003", "002", [&] { otherClient("insert into s_user_group (user_code, group_code) values ('E001', '004')"); });
    EXPECT_EQ(messages.texts().last(), "更换组成功.");
    EXPECT_EQ(members("002"), QStringList({"E001", "E002", "E004"}));
    EXPECT_TRUE(members("003").isEmpty());
    EXPECT_EQ(members("004"), QStringList({"E001", "E004"}));
}

TEST_P(MeanwhileTest, APasswordAnotherAdministratorSetMeanwhileIsNotReplaced)
{
    openManager();
    const QString theirs = host::hashPassword("Their-1");
    messages.answer(host::Answer::No);
    messages.answer(host::Answer::Yes);
    setPassword([&] { otherClient("update s_user set password = ? where id = 'E001'", {theirs}); },
                [&](usergroup::w_right_set_password* dialog) {
                    // 否: nothing stored, what was typed stays for another try.
                    EXPECT_EQ(password("E001"), theirs);
                    EXPECT_EQ(journal(), before_);
                    EXPECT_TRUE(dialog->isVisible());
                    EXPECT_EQ(dialog->sle_password()->text(), "Neu-1");
                    // 是 reads the operator again; the next 确定 stores.
                    dialog->cb_ok()->click();
                    dialog->cb_ok()->click();
                });
    const QString refused = "设置密码失败.\n操作员 E001 的密码已被其他用户修改, 本次修改全部未保存.\n是否重新读取?";
    EXPECT_EQ(messages.texts(), QStringList({refused, refused, "设置密码成功."}));
    EXPECT_TRUE(host::verifyPassword(password("E001"), "Neu-1"));
    EXPECT_FALSE(host::sqlca.inWriteTransaction());
    // Neither hash is ever written to the log.
    QFile log(host::logFile());
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_FALSE(QString::fromUtf8(log.readAll()).contains("$argon2id$"));
}

TEST_P(MeanwhileTest, SetPasswordRefusesAnOperatorDeletedMeanwhileAndKeepsAStatusChange)
{
    openManager();
    // The status changed meanwhile: the password is stored, the status kept.
    setPassword([&] { otherClient("update s_user set status = '0' where id = 'E001'"); });
    EXPECT_EQ(messages.texts(), QStringList({"设置密码成功."}));
    EXPECT_TRUE(host::verifyPassword(password("E001"), "Neu-1"));
    EXPECT_EQ(value("select status from s_user where id = 'E001'").toString(), "0");

    // Deleted meanwhile: refused; 是 finds it gone and the dialog closes.
    messages.clear();
    messages.answer(host::Answer::Yes);
    setPassword([&] { otherClient("delete from s_user where id = 'E001'"); },
                [&](usergroup::w_right_set_password* dialog) { EXPECT_FALSE(dialog->isVisible()); });
    EXPECT_EQ(messages.texts(),
              QStringList({"设置密码失败.\n操作员 E001 的密码已被其他用户修改, 本次修改全部未保存.\n是否重新读取?",
                           "不存在编号为E001的操作员."}));
    EXPECT_EQ(count("s_user", "id = 'E001'"), 0);
    EXPECT_EQ(journal(), before_);
}

TEST_P(MeanwhileTest, AnOperatorAddedByAnotherClientAfterTheDialogOpenedIsReportedNotFailed)
{
    openManager();
    selectGroup("002");
    manager()->pb_add()->click();
    pump();
    auto* dialog = qobject_cast<usergroup::w_right_user_add*>(host::WindowRegistry::instance("w_right_user_add"));
    ASSERT_NE(dialog, nullptr);

    // E003 made an operator and a member of 002 meanwhile: the existing-member
    // message, nothing written.
    ASSERT_EQ(dialog->dw_1()->setItem(1, "user_code", "E003"), 1);
    otherClient("insert into s_user (id, password, status) values ('E003', '', '1')");
    otherClient("insert into s_user_group (user_code, group_code) values ('E003', '002')");
    const long long journalBefore = journal();
    dialog->cb1Clicked();
    EXPECT_EQ(messages.texts(), QStringList({"操作员在此组已存在，请选择其人员."}));
    EXPECT_EQ(journal(), journalBefore);
    EXPECT_FALSE(host::sqlca.inWriteTransaction());

    // E005 made an operator (not a member) meanwhile: only the membership is added.
    messages.clear();
    ASSERT_EQ(dialog->dw_1()->setItem(1, "user_code", "E005"), 1);
    otherClient("insert into s_user (id, password, status) values ('E005', '', '1')");
    messages.answer(host::Answer::No);  // no password now
    dialog->cb1Clicked();
    EXPECT_TRUE(messages.texts().first().startsWith("增加成功.")) << messages.texts().join('|').toStdString();
    EXPECT_EQ(count("s_user", "id = 'E005'"), 1);
    EXPECT_EQ(members("002"), QStringList({"E001", "E002", "E003", "E005"}));
}

WMS_INSTANTIATE_DB_TESTS(MeanwhileTest);

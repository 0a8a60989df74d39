// The host's login: checked against s_user, refused with a message, nothing written.
#include "app/login.h"
#include "app/login_dialog.h"
#include "host/transaction.h"
#include "tests/support/scripted_messages.h"
#include "tests/support/test_db.h"

#include <QLineEdit>
#include <QPushButton>

using app::checkLogin;
using app::LoginOutcome;

class LoginTest : public testing_support::DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        loadSample();
    }
    QString snapshot()
    {
        QStringList rows;
        host::Cursor cursor(host::sqlca, "select id, password, status from s_user order by id");
        EXPECT_EQ(cursor.open(), 0);
        QVariantList row;
        while (cursor.fetch(row) == 0)
            rows << row.value(0).toString() + "|" + row.value(1).toString() + "|" + row.value(2).toString();
        cursor.close();
        return rows.join(';') + QString::number(count("s_user_group")) + QString::number(count("s_employee"));
    }
};

TEST_P(LoginTest, RightPasswordsAreAcceptedAndTheIdIsTrimmed)
{
    auto result = checkLogin("admin", "admin");
    EXPECT_EQ(result.outcome, LoginOutcome::Accepted);
    EXPECT_EQ(result.operatorId, "admin");
    result = checkLogin("  E001 ", "123");
    EXPECT_EQ(result.outcome, LoginOutcome::Accepted);
    EXPECT_EQ(result.operatorId, "E001");
    EXPECT_EQ(app::operatorName("E001"), "张伟");

    // A new operator is stored with an empty password.
    exec("insert into s_user (id, password, status) values (?, ?, ?)", {"E003", "", "1"});
    EXPECT_EQ(host::sqlca.commit(), 0);
    EXPECT_EQ(checkLogin("E003", "").outcome, LoginOutcome::Accepted);
}

TEST_P(LoginTest, WrongPasswordsAndUnknownOperatorsAreRefusedAlikeAndNothingIsWritten)
{
    const QString before = snapshot();
    const auto wrong = checkLogin("E001", "1234");
    const auto unknown = checkLogin("E999", "123");
    const auto caseDiffers = checkLogin("admin", "ADMIN");
    const auto empty = checkLogin("   ", "x");
    for (const auto& result : {wrong, unknown, caseDiffers, empty}) {
        EXPECT_EQ(result.outcome, LoginOutcome::Refused);
        EXPECT_TRUE(result.operatorId.isEmpty());
    }
    EXPECT_EQ(wrong.message, unknown.message);
    EXPECT_EQ(empty.message, "请输入操作员编号.");
    EXPECT_FALSE(host::sqlca.inWriteTransaction());
    EXPECT_EQ(snapshot(), before);
}

TEST_P(LoginTest, TheDialogShowsWhyAndStaysOpenUntilTheLoginIsRight)
{
    testing_support::ScriptedMessages messages;
    app::LoginDialog dialog("E001");
    auto* password = dialog.findChild<QLineEdit*>("sle_password");
    ASSERT_NE(password, nullptr);
    ASSERT_NE(dialog.findChild<QLineEdit*>("sle_operator"), nullptr);

    password->setText("wrong");
    dialog.findChild<QPushButton*>("cb_ok")->click();
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown().at(0).title, "登录");
    EXPECT_EQ(messages.shown().at(0).text, "操作员编号或密码错误.");
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(password->text().isEmpty());

    password->setText("123");
    dialog.tryLogin();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.operatorId(), "E001");
    EXPECT_EQ(messages.shown().size(), 1);
}

TEST_P(LoginTest, ABrokenConnectionIsADatabaseErrorNotARefusal)
{
    exec("drop table s_user");
    const auto result = checkLogin("admin", "admin");
    EXPECT_EQ(result.outcome, LoginOutcome::Failed);
    EXPECT_TRUE(result.message.startsWith("错误原因: "));
    testing_support::ScriptedMessages messages;
    app::reportLoginFailure(result);
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown().at(0).title, "数据库错误");
}

WMS_INSTANTIATE_DB_TESTS(LoginTest);

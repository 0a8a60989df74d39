// The host's login: checked against s_user, refused with a message; plain
// stored passwords replaced by their hash, an operator without a password
// refused until an administrator sets one, every refusal at the cost of one
// hash, every login in the log.
#include "app/database_setup.h"
#include "app/login.h"
#include "app/login_dialog.h"
#include "host/functions.h"
#include "host/password.h"
#include "host/transaction.h"
#include "host/window_registry.h"
#include "tests/support/frame_driver.h"
#include "tests/support/modal_responder.h"
#include "tests/support/scripted_messages.h"
#include "tests/support/test_db.h"
#include "usergroup/register_windows.h"

#include <QFile>
#include <QTemporaryDir>
#include <sys/stat.h>
#include <QLineEdit>
#include <QPushButton>

using app::checkLogin;
using app::LoginOutcome;

class LoginTest : public testing_support::SampleDbTest {
protected:
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
    QString stored(const QString& id) { return value("select password from s_user where id = ?", {id}).toString(); }
    void setStored(const QString& id, const QVariant& password, const QString& status = "1")
    {
        exec("update s_user set password = ?, status = ? where id = ?", {password, status, id});
        EXPECT_EQ(host::sqlca.commit(), 0);
    }
    void addOperator(const QString& id, const QVariant& password, const QString& status = "1")
    {
        exec("insert into s_user (id, password, status) values (?, ?, ?)", {id, password, status});
        EXPECT_EQ(host::sqlca.commit(), 0);
    }
    static QString log()
    {
        QFile file(host::logFile());
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
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

TEST_P(LoginTest, AHashedPasswordIsVerifiedAndKept)
{
    const QString hash = host::hashPassword("Geheim-42");
    setStored("E001", hash);
    EXPECT_EQ(checkLogin("E001", "Geheim-42").outcome, LoginOutcome::Accepted);
    EXPECT_EQ(checkLogin("E001", "geheim-42").outcome, LoginOutcome::Refused);
    EXPECT_EQ(checkLogin("E001", hash).outcome, LoginOutcome::Refused);  // the stored value is no password
    EXPECT_EQ(stored("E001"), hash);
    EXPECT_FALSE(host::sqlca.inWriteTransaction());
}

TEST_P(LoginTest, APlainStoredPasswordIsAcceptedOnceAndReplacedByItsHash)
{
    ASSERT_EQ(stored("E001"), "123");
    EXPECT_EQ(checkLogin("E001", "124").outcome, LoginOutcome::Refused);
    EXPECT_EQ(stored("E001"), "123");

    EXPECT_EQ(checkLogin("E001", "123").outcome, LoginOutcome::Accepted);
    const QString hash = stored("E001");
    EXPECT_TRUE(host::isPasswordHash(hash)) << hash.toStdString();
    EXPECT_TRUE(host::verifyPassword(hash, "123"));
    EXPECT_FALSE(host::sqlca.inWriteTransaction());
    {
        host::Transaction other;
        ASSERT_TRUE(other.connect(url())) << other.sqlerrtext.toStdString();
        EXPECT_EQ(other.selectValue("select password from s_user where id = ?", {"E001"}).toString(), hash);
    }
    // The next login verifies the hash and leaves it as it is.
    EXPECT_EQ(checkLogin("E001", "123").outcome, LoginOutcome::Accepted);
    EXPECT_EQ(stored("E001"), hash);
    EXPECT_EQ(stored("E002"), "123");
    // The journal names the operator who logged in, and no password.
    EXPECT_EQ(host::sqlca.selectValue("select operator_id from s_right_journal where table_name = ?", {"s_user"})
                  .toString(),
              "E001");
    EXPECT_EQ(host::sqlca.selectValue("select count(*) from s_right_journal where after_value like ?", {"%argon%"})
                  .toLongLong(),
              0);
    EXPECT_TRUE(host::sqlca.journalOperator.isEmpty());
}

TEST_P(LoginTest, APlainPasswordTooLongToReplaceInAnOldTableStillLogsIn)
{
    // The password column as databases created before hashing have it.
    exec("drop table s_user");
    exec("create table s_user (id varchar(10) not null, password varchar(20) check (length(password) <= 20), "
         "status varchar(1), primary key (id))");
    addOperator("E001", "123");
    EXPECT_EQ(checkLogin("E001", "123").outcome, LoginOutcome::Accepted);
    EXPECT_EQ(stored("E001"), "123");
    EXPECT_FALSE(host::sqlca.inWriteTransaction());
    EXPECT_TRUE(log().contains("密码未能改存为散列值: 操作员 E001")) << log().toStdString();
    EXPECT_TRUE(log().contains("登录成功: 操作员 E001"));
}

TEST_P(LoginTest, APlainPasswordWhoseReplacementIsRefusedAtCommitStillLogsIn)
{
    testing_support::refuseAtCommit(backend(), "update", "s_user");
    EXPECT_EQ(checkLogin("E001", "123").outcome, LoginOutcome::Accepted);
    EXPECT_EQ(stored("E001"), "123");
    EXPECT_FALSE(host::sqlca.inWriteTransaction());
    EXPECT_TRUE(log().contains("密码未能改存为散列值: 操作员 E001")) << log().toStdString();
}

TEST_P(LoginTest, EmptyPasswordsAndOperatorsWhoMayNotLogInAreRefusedAsAWrongPassword)
{
    setStored("E002", "123", "0");
    setStored("E004", host::hashPassword("Geheim-42"), "2");
    setStored("E006", "123", QString());
    addOperator("E003", "", "0");
    const QString before = snapshot();
    const auto wrong = checkLogin("E001", "1234");
    for (const auto& result : {checkLogin("E001", ""), checkLogin("E002", "123"), checkLogin("E004", "Geheim-42"),
                               checkLogin("E006", "123"), checkLogin("E003", "")}) {
        EXPECT_EQ(result.outcome, LoginOutcome::Refused);
        EXPECT_EQ(result.message, wrong.message);
        EXPECT_TRUE(result.operatorId.isEmpty());
    }
    // Nothing was replaced for an operator who may not log in.
    EXPECT_EQ(snapshot(), before);
}

TEST_P(LoginTest, AnOperatorWithoutAPasswordIsRefusedAndNobodyCanClaimTheAccount)
{
    addOperator("E003", "");
    addOperator("E005", QVariant());
    addOperator("E007", "", "0");
    const QString before = snapshot();
    for (const auto& [id, typed] : {std::pair{"E003", ""}, {"E003", "Neu-7"}, {" E005", "Neu-7"}}) {
        const auto result = checkLogin(id, typed);
        EXPECT_EQ(result.outcome, LoginOutcome::Refused) << id;
        EXPECT_EQ(result.message, "该操作员尚未设置密码, 请联系管理员设置.") << id;
        EXPECT_TRUE(result.operatorId.isEmpty());
    }
    // One who may not log in learns nothing more than for a wrong password.
    EXPECT_EQ(checkLogin("E007", "Neu-7").message, "操作员编号或密码错误.");
    EXPECT_EQ(snapshot(), before);
    EXPECT_FALSE(host::sqlca.inWriteTransaction());
    EXPECT_TRUE(log().contains("登录失败: 操作员 E003, 尚未设置密码")) << log().toStdString();
    EXPECT_FALSE(log().contains("Neu-7"));
}

TEST_P(LoginTest, TheLoginDialogShowsWhyAndAsksForNoNewPassword)
{
    addOperator("E003", "");
    testing_support::ScriptedMessages messages;
    app::LoginDialog dialog("E003");
    dialog.findChild<QLineEdit*>("sle_password")->setText("Neu-7");
    {
        // No dialog may ask the person at the login for a new password.
        testing_support::ModalResponder responder([](QWidget* modal) {
            ADD_FAILURE() << "a dialog opened: " << modal->objectName().toStdString();
        });
        dialog.tryLogin();
        EXPECT_FALSE(responder.handled());
    }
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown().at(0).title, "登录");
    EXPECT_EQ(messages.shown().at(0).text, "该操作员尚未设置密码, 请联系管理员设置.");
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(stored("E003"), "");
}

// The time of a refusal must not tell whether the id exists, may log in or
// has a password: each verifies exactly one hash, as a wrong password does.
TEST_P(LoginTest, EveryRefusalVerifiesExactlyOneHash)
{
    setStored("E001", host::hashPassword("Geheim-42"));
    setStored("E002", host::hashPassword("Geheim-42"), "0");
    setStored("E004", host::hashPassword("Geheim-42"), "2");
    setStored("E006", "123");  // a plain password of an older database
    addOperator("E003", "");
    addOperator("E005", QVariant());
    addOperator("E007", "$argon2id$damaged");
    const QList<std::pair<const char*, const char*>> refusals = {
        {"E999", "Geheim-42"}, {"  ", "Geheim-42"}, {"E002", "Geheim-42"}, {"E004", "Geheim-42"},
        {"E003", "Geheim-42"}, {"E005", ""},        {"E001", ""},         {"E001", "Geheim-43"},
        {"E006", "124"},       {"E006", ""},        {"E007", "Geheim-42"},
    };
    for (const auto& [id, typed] : refusals) {
        const quint64 before = host::passwordVerifications();
        EXPECT_NE(checkLogin(id, typed).outcome, LoginOutcome::Accepted) << id;
        EXPECT_EQ(host::passwordVerifications() - before, 1u) << id << " / " << typed;
    }
}

TEST_P(LoginTest, APasswordSetInTheManagerIsTheOneTheLoginAccepts)
{
    usergroup::registerWindows();
    testing_support::ScriptedMessages messages;
    {
        testing_support::ModalResponder responder([](QWidget* modal) {
            modal->findChild<QLineEdit*>("sle_password")->setText("Neu-9");
            modal->findChild<QLineEdit*>("sle_confirm")->setText("Neu-9");
            modal->findChild<QPushButton*>("cb_ok")->click();
        });
        EXPECT_EQ(host::WindowRegistry::openWithReturn("w_right_set_password", "E001"), "1");
        EXPECT_TRUE(responder.handled());
    }
    EXPECT_EQ(messages.texts(), QStringList({"设置密码成功."}));
    EXPECT_EQ(checkLogin("E001", "Neu-9").outcome, LoginOutcome::Accepted);
    EXPECT_EQ(checkLogin("E001", "123").outcome, LoginOutcome::Refused);
}

TEST_P(LoginTest, TheLogRecordsEveryLoginWithTheOperatorButNoPassword)
{
    setStored("E001", host::hashPassword("Geheim-42"));
    setStored("E002", "Klartext-9");
    QFile::remove(host::logFile());
    checkLogin("E001", "Geheim-42");
    checkLogin("E001", "Falsch-17");
    checkLogin("E999", "Falsch-18");
    checkLogin("E002", "Klartext-9");
    const QString text = log();
    for (const char* line : {"登录成功: 操作员 E001", "登录失败: 操作员 E001", "登录失败: 操作员 E999",
                             "登录成功: 操作员 E002", "密码已改存为散列值: 操作员 E002"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(line))) << line << "\n" << text.toStdString();
    for (const char* secret : {"Geheim-42", "Falsch-17", "Falsch-18", "Klartext-9", "$argon2"})
        EXPECT_FALSE(text.contains(QString::fromUtf8(secret))) << secret;
}

WMS_INSTANTIATE_DB_TESTS(LoginTest);

// The sample database the demo host creates on its first run.
TEST(SampleDatabase, IsItsOwnersOnlyAndHoldsHashesTheSampleOperatorsLogInWith)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    host::setLogFile(dir.filePath("host.log"));
    const QString path = dir.filePath("data/sample.db");
    const app::OpenResult opened = app::openDatabase(path, true);
    ASSERT_TRUE(opened.ok) << opened.error.toStdString();
    EXPECT_TRUE(opened.created);
    for (const char* suffix : {"", "-wal", "-shm"}) {
        struct stat info {};
        ASSERT_EQ(::stat(QFile::encodeName(path + suffix).constData(), &info), 0) << suffix;
        EXPECT_EQ(info.st_mode & 0777, 0600u) << suffix;
    }
    QStringList ids;
    host::Cursor cursor(host::sqlca, "select id, password from s_user order by id");
    ASSERT_EQ(cursor.open(), 0);
    QVariantList row;
    while (cursor.fetch(row) == 0) {
        ids << row.value(0).toString();
        EXPECT_TRUE(host::isPasswordHash(row.value(1).toString())) << row.value(0).toString().toStdString();
    }
    cursor.close();
    EXPECT_EQ(ids, QStringList({"E001", "E002", "E004", "E006", "admin"}));
    for (const auto& [id, password] : {std::pair{"admin", "admin"}, {"E001", "123"}, {"E002", "123"},
                                       {"E004", "123"}, {"E006", "123"}})
        EXPECT_EQ(checkLogin(id, password).outcome, LoginOutcome::Accepted) << id;
    host::sqlca.disconnect();
}

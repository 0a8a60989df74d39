// 设置密码: the popup command on an operator of a group and the dialog
// w_right_set_password.
#include "tests/usergroup/manager_fixture.h"

#include "host/functions.h"
#include "host/password.h"
#include "host/transaction.h"
#include "host/window_registry.h"
#include "usergroup/w_right_set_password.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace usergroup_test;

class SetPasswordTest : public ManagerTest {
protected:
    // Right-click command 设置密码 on operator `id` of `group`; `fill` acts on
    // the dialog once it shows.
    void setPasswordOf(const QString& group, const QString& id,
                       std::function<void(usergroup::w_right_set_password*)> fill)
    {
        openManager();
        selectGroup(group);
        click(listIndex(id));
        testing_support::ModalResponder responder([&](QWidget* modal) {
            auto* dialog = qobject_cast<usergroup::w_right_set_password*>(modal);
            ASSERT_NE(dialog, nullptr);
            fill(dialog);
        });
        manager()->popupMenuFor(listIndex(id))->command("m_set_password")->trigger();
        EXPECT_TRUE(responder.handled());
    }
    static void type(usergroup::w_right_set_password* dialog, const QString& password, const QString& confirmation)
    {
        dialog->sle_password()->setText(password);
        dialog->sle_confirm()->setText(confirmation);
        dialog->cb_ok()->click();
    }
    QString stored(const QString& id) { return value("select password from s_user where id = ?", {id}).toString(); }
};

TEST_P(SetPasswordTest, IsAnOperatorCommandOnly)
{
    auto* w = openManager();
    auto atRoot = w->popupMenuFor(1);
    EXPECT_FALSE(atRoot->command("m_set_password")->isVisible());
    selectGroup("002");
    auto hit = w->popupMenuFor(1);
    EXPECT_TRUE(hit->command("m_set_password")->isVisible());
    EXPECT_TRUE(hit->command("m_set_password")->isEnabled());
    EXPECT_EQ(hit->command("m_set_password")->text(), "设置密码");
    EXPECT_FALSE(w->popupMenuFor(0)->command("m_set_password")->isEnabled());

    // Without a selected operator the command opens nothing.
    w->lv_1()->clearSelection();
    w->ue_set_password();
    EXPECT_EQ(host::WindowRegistry::instance("w_right_set_password"), nullptr);
}

TEST_P(SetPasswordTest, StoresTheHashOfTheNewPassword)
{
    setPasswordOf("002", "E001", [&](usergroup::w_right_set_password* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "设置密码");
        EXPECT_EQ(dialog->userId(), "E001");
        EXPECT_EQ(dialog->st_operator()->text(), "操作员: E001 张伟");
        EXPECT_EQ(dialog->sle_password()->echoMode(), QLineEdit::Password);
        EXPECT_EQ(dialog->sle_confirm()->echoMode(), QLineEdit::Password);
        EXPECT_EQ(dialog->cb_ok()->text(), "确定");
        EXPECT_EQ(dialog->cb_cancel()->text(), "取消");
        type(dialog, "Neu-1", "Neu-1");
        EXPECT_FALSE(dialog->isVisible());
    });
    EXPECT_EQ(messages.texts(), QStringList({"设置密码成功."}));
    const QString hash = stored("E001");
    EXPECT_TRUE(host::isPasswordHash(hash)) << hash.toStdString();
    EXPECT_TRUE(host::verifyPassword(hash, "Neu-1"));
    EXPECT_EQ(stored("E002"), "123");
    EXPECT_FALSE(host::sqlca.inWriteTransaction());

    QFile log(host::logFile());
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(log.readAll());
    EXPECT_TRUE(text.contains("设置密码: 操作员 E001")) << text.toStdString();
    EXPECT_FALSE(text.contains("Neu-1"));
}

TEST_P(SetPasswordTest, EmptyOrMismatchingEntriesAreRefusedAndNothingChanges)
{
    setPasswordOf("002", "E002", [&](usergroup::w_right_set_password* dialog) {
        type(dialog, "", "");
        type(dialog, "", "Neu-1");
        type(dialog, "Neu-1", "Neu-2");
        EXPECT_TRUE(dialog->sle_confirm()->text().isEmpty());
        EXPECT_TRUE(dialog->isVisible());
        dialog->cb_cancel()->click();
    });
    EXPECT_EQ(messages.texts(), QStringList({"密码不能为空.", "密码不能为空.", "两次输入的密码不一致."}));
    EXPECT_EQ(messages.titles(), QStringList({"提示", "提示", "提示"}));
    EXPECT_EQ(stored("E002"), "123");
}

TEST_P(SetPasswordTest, AnOperatorRemovedMeanwhileIsReportedAndNothingIsStored)
{
    // Gone before the dialog opens: it says so and does not open.
    exec("delete from s_user where id = ?", {"E006"});
    ASSERT_EQ(host::sqlca.commit(), 0);
    EXPECT_EQ(host::WindowRegistry::openWithReturn("w_right_set_password", "E006"), "");
    EXPECT_EQ(messages.texts(), QStringList({"不存在编号为E006的操作员."}));
    messages.clear();

    // Gone while the dialog is open: refused; read again (是), it is gone.
    messages.answer(host::Answer::Yes);
    setPasswordOf("002", "E001", [&](usergroup::w_right_set_password* dialog) {
        host::Transaction other;
        ASSERT_TRUE(other.connect(url())) << other.sqlerrtext.toStdString();
        ASSERT_EQ(other.execute("delete from s_user where id = ?", {"E001"}), 0);
        ASSERT_EQ(other.commit(), 0);
        other.disconnect();
        type(dialog, "Neu-1", "Neu-1");
        EXPECT_FALSE(dialog->isVisible());
    });
    EXPECT_EQ(messages.texts(),
              QStringList({"设置密码失败.\n操作员 E001 的密码已被其他用户修改, 本次修改全部未保存.\n是否重新读取?",
                           "不存在编号为E001的操作员."}));
    EXPECT_EQ(count("s_user", "id = ?", {"E001"}), 0);
    EXPECT_FALSE(host::sqlca.inWriteTransaction());
}

WMS_INSTANTIATE_DB_TESTS(SetPasswordTest);

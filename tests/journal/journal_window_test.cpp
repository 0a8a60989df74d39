// 权限变更记录 driven offscreen: the entries newest first, the filters, a
// revert of a selection, its refusals, and a database without the journal.
#include "host/functions.h"
#include "journal_core/journal.h"
#include "host/operation.h"
#include "host/window_registry.h"
#include "journal/register_windows.h"
#include "journal/w_right_journal.h"
#include "rights/administrators.h"
#include "tests/support/frame_driver.h"
#include "tests/support/scripted_messages.h"
#include "tests/support/test_db.h"
#include "usergroup/register_windows.h"
#include "usergroup/w_right_setup.h"
#include "common/list_view.h"

#include <QComboBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>

using host::sqlca;
using testing_support::SampleDbTest;

class JournalWindowTest : public SampleDbTest {
protected:
    void SetUp() override
    {
        SampleDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        journal::registerWindows();
        usergroup::registerWindows();
        // Made with its module item code as its tag, as the host makes it.
        host::WindowRegistry::registerClass(journal::kJournalWindow,
                                            [make = host::WindowRegistry::factory(journal::kJournalWindow)] {
                                                host::Window* window = make();
                                                window->setTag("m102");
                                                return window;
                                            });
        rights::setAdministrationItems({"m102", "003"});
        host::gs_user_id = "E006";  // level 2 on m102 through 系统管理组
    }
    void TearDown() override
    {
        rights::setAdministrationItems({});
        host::WindowRegistry::closeAll();
        testing_support::pumpEvents();
        SampleDbTest::TearDown();
    }
    void change(const QString& sql, const QVariantList& params)
    {
        host::Operation operation;
        ASSERT_EQ(operation.execute(sql, params), 0) << operation.error().toStdString();
        ASSERT_EQ(operation.commit(), 0) << operation.error().toStdString();
    }
    journal::w_right_journal* open()
    {
        host::Window* window = host::WindowRegistry::open(journal::kJournalWindow);
        testing_support::pumpEvents();
        return qobject_cast<journal::w_right_journal*>(window);
    }
    static QStringList column(const journal::w_right_journal* w, int c)
    {
        QStringList cells;
        for (int r = 0; r < w->dw_journal->rowCount(); ++r)
            cells << w->dw_journal->item(r, c)->text();
        return cells;
    }
    static void select(journal::w_right_journal* w, const QList<int>& rows)
    {
        w->dw_journal->clearSelection();
        for (int r : rows)
            w->dw_journal->selectionModel()->select(w->dw_journal->model()->index(r, 0),
                                                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    QString groupName(const QString& id) { return value("select group_name from s_group where group_id = ?", {id}).toString(); }

    testing_support::ScriptedMessages messages;
};

TEST_P(JournalWindowTest, ListsEntriesNewestFirstAndFilters)
{
    change("update s_group set group_name = ? where group_id = ?", {"仓库组", "002"});
    host::gs_user_id = "admin";
    change("update s_dept set memo = ? where dept_id = ?", {"<b>备注</b>", "D01"});
    host::gs_user_id = "E006";

    auto* w = open();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), "权限变更记录");
    EXPECT_EQ(column(w, 3), QStringList({"s_dept", "s_group"}));
    EXPECT_EQ(column(w, 2), QStringList({"admin", "E006"}));
    EXPECT_EQ(column(w, 4), QStringList({"修改", "修改"}));
    EXPECT_TRUE(column(w, 7).first().contains("memo=<b>备注</b>"));  // shown as typed, as plain text
    EXPECT_TRUE(w->cb_revert->isEnabled());
    EXPECT_EQ(w->st_count->text(), "共 2 条");

    w->sle_operator->setText("E006");
    ASSERT_TRUE(w->query());
    EXPECT_EQ(column(w, 3), QStringList({"s_group"}));
    w->sle_operator->clear();
    w->ddlb_table->setCurrentIndex(w->ddlb_table->findData("s_dept"));
    EXPECT_EQ(column(w, 3), QStringList({"s_dept"}));
    w->ddlb_table->setCurrentIndex(0);

    // A day as the upper bound includes it; tomorrow on there is nothing.
    const QString today = QDate::currentDate().toString(Qt::ISODate);
    w->sle_until->setText(today);
    ASSERT_TRUE(w->query());
    EXPECT_EQ(w->dw_journal->rowCount(), 2);
    w->sle_until->clear();
    w->sle_since->setText(QDate::currentDate().addDays(1).toString(Qt::ISODate) + " 00:00");
    ASSERT_TRUE(w->query());
    EXPECT_EQ(w->dw_journal->rowCount(), 0);
    EXPECT_TRUE(messages.shown().isEmpty()) << messages.texts().join('\n').toStdString();

    EXPECT_EQ(w->st_count->text(), "共 0 条");

    // Beyond the most one query shows, the newest are shown and the window
    // says that older ones were left out.
    w->sle_since->clear();
    w->maxRows = 1;
    ASSERT_TRUE(w->query());
    EXPECT_EQ(column(w, 3), QStringList({"s_dept"}));
    EXPECT_EQ(w->st_count->text(), "只显示最新的 1 条, 更早的未显示; 请用时间、操作员或表缩小范围.");
    w->maxRows = 2;
    ASSERT_TRUE(w->query());
    EXPECT_EQ(w->st_count->text(), "共 2 条");

    w->sle_since->setText("昨天");
    EXPECT_FALSE(w->query());
    ASSERT_EQ(messages.texts().size(), 1);
    EXPECT_TRUE(messages.texts().first().startsWith("时间格式不正确"));
}

TEST_P(JournalWindowTest, RevertsASelectionAsOneJournaledChange)
{
    change("update s_group set group_name = ? where group_id = ?", {"仓库组", "002"});
    change("insert into s_group ( group_id , group_name ) values ( ? , ? )", {"009", "盘点组"});
    auto* w = open();
    ASSERT_NE(w, nullptr);
    ASSERT_EQ(w->dw_journal->rowCount(), 2);

    select(w, {0, 1});
    messages.answer(host::Answer::No);
    w->cb_revert->click();
    EXPECT_EQ(groupName("002"), "仓库组");  // not confirmed: nothing happens

    messages.clear();
    messages.answer(host::Answer::Yes);
    w->cb_revert->click();
    EXPECT_EQ(messages.texts(), QStringList({"确定撤销选中的 2 条变更吗?", "已撤销 2 条变更."}));
    EXPECT_EQ(groupName("002"), "仓库管理员");
    EXPECT_EQ(count("s_group", "group_id = ?", {"009"}), 0);
    // The revert's own entries are listed at the top.
    ASSERT_EQ(w->dw_journal->rowCount(), 4);
    EXPECT_EQ(column(w, 4).mid(0, 2), QStringList({"修改", "删除"}));
}

TEST_P(JournalWindowTest, ARevertIsRefusedWhenTheRowChangedSinceOrWithoutLevelTwo)
{
    change("update s_group set group_name = ? where group_id = ?", {"仓库组", "002"});
    auto* w = open();
    ASSERT_NE(w, nullptr);
    {
        host::Transaction other;
        ASSERT_TRUE(other.connect(url()));
        ASSERT_EQ(other.execute("update s_group set group_name = ? where group_id = ?", {"仓管", "002"}), 0);
        ASSERT_EQ(other.commit(), 0);
    }
    select(w, {0});
    messages.answer(host::Answer::Yes);
    w->cb_revert->click();
    ASSERT_EQ(messages.texts().size(), 2);
    EXPECT_TRUE(messages.texts().at(1).startsWith("撤销失败, 没有作任何修改.")) << messages.texts().at(1).toStdString();
    EXPECT_TRUE(messages.texts().at(1).contains("已被修改"));
    EXPECT_EQ(groupName("002"), "仓管");
    EXPECT_FALSE(sqlca.inWriteTransaction());

    // Level 1 only: viewing, no revert.
    host::gs_user_id = "E004";
    change("insert into s_group_power ( group_id , m_item_code , group_right ) values ( ? , ? , ? )",
           {"004", "m102", "1"});
    ASSERT_TRUE(w->query());
    select(w, {0});
    messages.clear();
    w->revertSelected();
    EXPECT_EQ(messages.texts(), QStringList({"当前操作员没有修改权限, 不能进行此操作."}));
    EXPECT_EQ(count("s_group_power", "group_id = ? and m_item_code = ?", {"004", "m102"}), 1);
}

// An operator who holds level 2 on the window's m102 but nothing on the
// rights editor's 003 may not undo a change of group rights; a right given
// while the window is open counts at the next 撤销.
TEST_P(JournalWindowTest, ARevertNeedsTheLevelOfEveryChangeItUndoes)
{
    change("update s_group_power set group_right = ? where group_id = ? and m_item_code = ?", {"2", "003", "w203"});
    const auto grant = [this](const QString& item) {
        host::Transaction other;
        ASSERT_TRUE(other.connect(url()));
        unjournaled(other, "insert into s_group_power ( group_id , m_item_code , group_right ) values ( ? , ? , ? )",
                    {"004", item, "2"});
    };
    grant("m102");
    host::gs_user_id = "E004";
    auto* w = open();
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(w->cb_revert->isEnabled());
    const qint64 id = w->shownIds().first();
    select(w, {0});
    messages.answer(host::Answer::Yes);
    w->cb_revert->click();
    ASSERT_EQ(messages.texts().size(), 2);
    EXPECT_EQ(messages.texts().at(1),
              QStringLiteral("撤销失败, 没有作任何修改.\n变更 %1 不能撤销: 撤销 s_group_power 的修改需要模块项 003 的修改权限, "
                             "当前操作员没有.")
                  .arg(id));
    const auto level = [this] {
        return value("select group_right from s_group_power where group_id = ? and m_item_code = ?", {"003", "w203"})
            .toString();
    };
    EXPECT_EQ(level(), "2");
    EXPECT_FALSE(sqlca.inWriteTransaction());

    grant("003");
    select(w, {0});
    messages.clear();
    messages.answer(host::Answer::Yes);
    w->cb_revert->click();
    EXPECT_EQ(messages.texts(), QStringList({"确定撤销选中的 1 条变更吗?", "已撤销 1 条变更."}));
    EXPECT_EQ(level(), "1");
}

// A deleted operator comes back without a password, and the notice says
// that one must be set before the operator can log in.
TEST_P(JournalWindowTest, ARestoredOperatorNeedsANewPassword)
{
    change("delete from s_user where id = ?", {"E001"});
    auto* w = open();
    ASSERT_NE(w, nullptr);
    select(w, {0});
    messages.answer(host::Answer::Yes);
    w->cb_revert->click();
    ASSERT_EQ(messages.texts().size(), 2);
    EXPECT_EQ(messages.texts().at(1), "已撤销 1 条变更.\n操作员 E001 已恢复, 但没有密码: 在管理员用 设置密码 "
                                      "为其设置新密码之前不能登录.");
    EXPECT_EQ(value("select password from s_user where id = ?", {"E001"}).toString(), "");
}

// The database refuses the revert, at its statement or at the COMMIT: the
// operator is told, nothing is changed and the entries stay listed.
TEST_P(JournalWindowTest, ARevertTheDatabaseRefusesChangesNothing)
{
    change("update s_group set group_name = ? where group_id = ?", {"仓库组", "002"});
    for (const bool atCommit : {false, true}) {
        SCOPED_TRACE(atCommit ? "refused at COMMIT" : "statement refused");
        if (atCommit)
            testing_support::refuseAtCommit(backend(), "update", "s_group");
        else
            testing_support::refuse(backend(), "update", "s_group");
        auto* w = open();
        ASSERT_NE(w, nullptr);
        const long long entries = count("s_right_journal");
        select(w, {0});
        messages.clear();
        messages.answer(host::Answer::Yes);
        w->cb_revert->click();
        ASSERT_EQ(messages.texts().size(), 2);
        EXPECT_TRUE(messages.texts().at(1).startsWith("撤销失败, 没有作任何修改.")) << messages.texts().at(1).toStdString();
        EXPECT_EQ(groupName("002"), "仓库组");
        EXPECT_EQ(count("s_right_journal"), entries);
        EXPECT_EQ(w->dw_journal->rowCount(), int(entries));
        EXPECT_FALSE(sqlca.inWriteTransaction());
        w->close();
        testing_support::pumpEvents();
        exec(atCommit ? (backend() == testing_support::Backend::Sqlite ? "drop trigger at_commit_update_s_group"
                                                                       : "drop trigger at_commit_update_s_group on s_group")
                      : (backend() == testing_support::Backend::Sqlite ? "drop trigger refuse_update_s_group"
                                                                       : "drop trigger refuse_update_s_group on s_group"));
        ASSERT_EQ(sqlca.commit(), 0);
    }
}

TEST_P(JournalWindowTest, ARevertMayNotLeaveNobodyToAdministerRights)
{
    // E006 is the only administrator (no s_user row "admin"); the entry that
    // made him one is undone.
    {
        unjournaled(sqlca, "delete from s_user_group where user_code = ? and group_code = ?", {"E006", "001"});
        unjournaled(sqlca, "delete from s_user where id = ?", {"admin"});
    }
    change("insert into s_user_group ( user_code , group_code ) values ( ? , ? )", {"E006", "001"});
    auto* w = open();
    ASSERT_NE(w, nullptr);
    select(w, {0});
    messages.answer(host::Answer::Yes);
    w->cb_revert->click();
    ASSERT_EQ(messages.texts().size(), 2);
    EXPECT_TRUE(messages.texts().at(1).startsWith("此操作之后将没有操作员能够管理权限"));
    EXPECT_EQ(count("s_user_group", "user_code = ? and group_code = ?", {"E006", "001"}), 1);
    EXPECT_EQ(w->dw_journal->rowCount(), 1);
}

TEST_P(JournalWindowTest, WithoutTheJournalTableTheWindowsSaySoOnce)
{
    dropJournal();
    ASSERT_EQ(sqlca.commit(), 0);
    auto* w = open();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(messages.texts(), QStringList({"变更记录表 s_right_journal 不存在, 本次修改将不被记录.\n"
                                             "请数据库管理员运行 wms-rights upgrade 添加变更记录."}));
    EXPECT_FALSE(w->cb_revert->isEnabled());
    EXPECT_EQ(w->dw_journal->rowCount(), 0);
    // The manager opens without a second notice, and its changes work.
    ASSERT_NE(host::WindowRegistry::open("w_right_setup"), nullptr);
    testing_support::pumpEvents();
    EXPECT_EQ(messages.shown().size(), 1);
    change("update s_group set group_name = ? where group_id = ?", {"仓库组", "002"});
    EXPECT_EQ(groupName("002"), "仓库组");
}

TEST_P(JournalWindowTest, OpensFromTheUserAndGroupManagersPopup)
{
    auto* manager = qobject_cast<usergroup::w_right_setup*>(host::WindowRegistry::open("w_right_setup"));
    ASSERT_NE(manager, nullptr);
    testing_support::pumpEvents();
    manager->popupMenuFor(0)->command("m_right_journal")->trigger();
    testing_support::pumpEvents();
    auto* w = host::WindowRegistry::instanceOf<journal::w_right_journal>(journal::kJournalWindow);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->tag(), "m102");
    EXPECT_TRUE(messages.shown().isEmpty()) << messages.texts().join('\n').toStdString();
}

TEST_P(JournalWindowTest, ARevertMakesAnOpenManagerShowTheRevertedState)
{
    auto* manager = qobject_cast<usergroup::w_right_setup*>(host::WindowRegistry::open("w_right_setup"));
    ASSERT_NE(manager, nullptr);
    testing_support::pumpEvents();
    // Renamed and given a member by another window (or client) after the
    // manager read them; the manager is then brought up to date by hand.
    change("update s_group set group_name = ? where group_id = ?", {"仓库组", "002"});
    change("insert into s_user_group ( user_code , group_code ) values ( ? , ? )", {"E004", "002"});
    QTest::keyClick(manager, Qt::Key_F5);
    testing_support::pumpEvents();
    ASSERT_EQ(manager->tv_1()->topLevelItem(0)->child(1)->text(0), "仓库组");

    auto* w = open();
    ASSERT_NE(w, nullptr);
    select(w, {0, 1});
    messages.answer(host::Answer::Yes);
    w->cb_revert->click();
    testing_support::pumpEvents();
    EXPECT_EQ(groupName("002"), "仓库管理员");
    EXPECT_EQ(manager->tv_1()->topLevelItem(0)->child(1)->text(0), "仓库管理员");
    EXPECT_EQ(testing_support::listLabels(manager->lv_1()).at(1), "仓库管理员");
    // The selection stays where it was: the root, and the list read again.
    EXPECT_EQ(manager->currentTreeItem(), manager->rootItem());
}

TEST_P(JournalWindowTest, RefreshReadsAgainAndKeepsTheSelectedEntries)
{
    change("update s_group set group_name = ? where group_id = ?", {"仓库组", "002"});
    change("update s_group set group_name = ? where group_id = ?", {"查询组", "003"});
    auto* w = open();
    ASSERT_NE(w, nullptr);
    ASSERT_EQ(w->dw_journal->rowCount(), 2);
    EXPECT_EQ(w->cb_refresh->text(), "刷新");
    select(w, {1});
    const QList<qint64> selected = w->selectedIds();

    // Another client's change appears at the top; the older entry stays selected.
    host::Transaction other;
    ASSERT_TRUE(other.connect(url()));
    host::gs_user_id = "E006";
    ASSERT_EQ(other.execute("update s_group set group_name = ? where group_id = ?", {"财务", "004"}), 0);
    ASSERT_EQ(other.commit(), 0);
    w->activateWindow();
    QTest::keyClick(w->dw_journal, Qt::Key_F5);
    testing_support::pumpEvents();
    ASSERT_EQ(w->dw_journal->rowCount(), 3);
    EXPECT_EQ(w->selectedIds(), selected);
    EXPECT_EQ(w->dw_journal->selectionModel()->selectedRows().first().row(), 2);

    w->cb_refresh->click();
    EXPECT_EQ(w->selectedIds(), selected);
    EXPECT_TRUE(messages.shown().isEmpty()) << messages.texts().join('\n').toStdString();
}

WMS_INSTANTIATE_DB_TESTS(JournalWindowTest);

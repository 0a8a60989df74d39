// Undoing journal entries with the logged-in operator's levels: every entry
// needs level 2 on the module item of its table, asked when the revert runs.
#include "host/functions.h"
#include "journal_core/journal.h"
#include "host/operation.h"
#include "journal/revert.h"
#include "rights/change_items.h"
#include "tests/support/test_db.h"

using host::sqlca;

class RevertLevelsTest : public testing_support::SampleDbTest {
protected:
    void SetUp() override
    {
        SampleDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        // E004 administers groups and operators (level 2 on m102 through 财务组),
        // views departments (level 1 on m101) and has nothing on the rights
        // editor's 003.
        unjournaled(sqlca, "insert into s_group_power ( group_id , m_item_code , group_right ) values ( ? , ? , ? )",
                    {"004", "m102", "2"});
        // Changes made by a full administrator.
        host::gs_user_id = "E006";
        power = change("update s_group_power set group_right = ? where group_id = ? and m_item_code = ?",
                       {"2", "003", "w203"});
        group = change("update s_group set group_name = ? where group_id = ?", {"仓库组", "002"});
        dept = change("update s_dept set memo = ? where dept_id = ?", {"盘点", "D01"});
        host::gs_user_id = "E004";
    }
    void TearDown() override
    {
        rights::setChangeItems(rights::defaultChangeItems());
        SampleDbTest::TearDown();
    }
    // Runs a journaled change and returns the id of its entry.
    qint64 change(const QString& sql, const QVariantList& params)
    {
        host::Operation operation;
        EXPECT_EQ(operation.execute(sql, params), 0) << operation.error().toStdString();
        EXPECT_EQ(operation.commit(), 0) << operation.error().toStdString();
        return value("select max ( id ) from s_right_journal").toLongLong();
    }
    int revert(const QList<qint64>& ids)
    {
        host::Operation operation;
        outcome = {};
        if (journal::revertChanges(sqlca, ids, &outcome) != 0)
            return -1;
        return operation.commit();
    }
    QString level() { return value("select group_right from s_group_power where group_id = '003' and m_item_code = 'w203'").toString(); }
    QString groupName() { return value("select group_name from s_group where group_id = '002'").toString(); }

    qint64 power = 0, group = 0, dept = 0;
    journal::RevertOutcome outcome;
};

TEST_P(RevertLevelsTest, EachEntryNeedsLevelTwoOnTheItemOfItsTable)
{
    // Level 2 on m102 is not enough for a rights row: the whole selection is
    // refused, the group's rename included, and the reason names the entry
    // and the item.
    const long long entries = count("s_right_journal");
    EXPECT_EQ(revert({group, power}), -1);
    EXPECT_EQ(outcome.reason, QStringLiteral("变更 %1 不能撤销: 撤销 s_group_power 的修改需要模块项 003 的修改权限, "
                                             "当前操作员没有.")
                                  .arg(power));
    EXPECT_EQ(level(), "2");
    EXPECT_EQ(groupName(), "仓库组");
    EXPECT_EQ(count("s_right_journal"), entries);

    // Level 1 on the department manager's item is not enough either.
    EXPECT_EQ(revert({dept}), -1);
    EXPECT_TRUE(outcome.reason.contains("m101")) << outcome.reason.toStdString();

    // The group's own change needs m102, which E004 holds.
    ASSERT_EQ(revert({group}), 0) << outcome.reason.toStdString();
    EXPECT_EQ(groupName(), "仓库管理员");

    // "admin" keeps every right.
    host::gs_user_id = "Admin";
    ASSERT_EQ(revert({power, dept}), 0) << outcome.reason.toStdString();
    EXPECT_EQ(level(), "1");
}

TEST_P(RevertLevelsTest, TheLevelIsAskedWhenTheRevertRuns)
{
    // Withdrawn by another client after the operator chose the entries.
    {
        host::Transaction other;
        ASSERT_TRUE(other.connect(url()));
        unjournaled(other, "delete from s_group_power where group_id = ? and m_item_code = ?", {"004", "m102"});
    }
    EXPECT_EQ(revert({group}), -1);
    EXPECT_TRUE(outcome.reason.contains("m102")) << outcome.reason.toStdString();
    EXPECT_EQ(groupName(), "仓库组");

    // The host's own items count, and a table it names no item for may be
    // reverted by "admin" only.
    rights::setChangeItems({{"s_group", "m101"}, {"s_group_power", "m102"}});
    EXPECT_EQ(revert({group}), -1);
    EXPECT_TRUE(outcome.reason.contains("m101")) << outcome.reason.toStdString();
    unjournaled(sqlca, "insert into s_group_power ( group_id , m_item_code , group_right ) values ( ? , ? , ? )",
                {"004", "m102", "2"});
    ASSERT_EQ(revert({power}), 0) << outcome.reason.toStdString();
    EXPECT_EQ(level(), "1");
    EXPECT_EQ(revert({dept}), -1);
    EXPECT_TRUE(outcome.reason.contains("没有指定模块项")) << outcome.reason.toStdString();
    host::gs_user_id = "admin";
    EXPECT_EQ(revert({dept}), 0) << outcome.reason.toStdString();
}

WMS_INSTANTIATE_DB_TESTS(RevertLevelsTest);

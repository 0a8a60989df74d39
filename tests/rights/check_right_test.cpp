// f_check_right: the greatest level over the operator's groups, compared as a
// string with the level asked for; "admin" in any letter case without a
// lookup; null, missing and failed lookups grant nothing.
#include "rights/f_check_right.h"
#include "rights_fixture.h"

using rights::f_check_right;
using rights::operatorLevel;

class CheckRightTest : public RightsTest {};

TEST_P(CheckRightTest, TheHighestLevelOfAllGroupsCounts)
{
    standardRights();
    EXPECT_TRUE(f_check_right("w201", "2", "E1"));
    EXPECT_TRUE(f_check_right("w201", "1", "E1"));
    EXPECT_EQ(operatorLevel("w201", "E1"), 2);

    // Level "0" is held, but is below query.
    EXPECT_TRUE(f_check_right("w201", "0", "E2"));
    EXPECT_FALSE(f_check_right("w201", "1", "E2"));
    EXPECT_EQ(operatorLevel("w201", "E2"), 0);
}

TEST_P(CheckRightTest, NoRowMeansNoRightAtAnyLevel)
{
    standardRights();
    for (const QString& operate : {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"), QString("")}) {
        EXPECT_FALSE(f_check_right("w201", operate, "E3")) << operate.toStdString();  // group without the item
        EXPECT_FALSE(f_check_right("w201", operate, "E9")) << operate.toStdString();  // in no group at all
        EXPECT_FALSE(f_check_right("nosuch", operate, "E1")) << operate.toStdString();
    }
    EXPECT_EQ(operatorLevel("w201", "E3"), 0);
}

TEST_P(CheckRightTest, AnEmptyRequiredLevelIsHeldByAnyoneWithARowAndANullOneByNobody)
{
    standardRights();
    EXPECT_TRUE(f_check_right("w201", "", "E2"));  // even level "0" is not less than ""
    EXPECT_TRUE(f_check_right("w201", "", "E1"));
    EXPECT_FALSE(f_check_right("w201", QString(), "E1"));
    EXPECT_TRUE(f_check_right("w201", QString(), "admin"));
}

TEST_P(CheckRightTest, AdminInAnyLetterCasePassesWithoutALookup)
{
    standardRights();
    for (const QString& id : {QStringLiteral("admin"), QStringLiteral("Admin"), QStringLiteral("ADMIN")}) {
        markStatus();
        EXPECT_TRUE(f_check_right("nosuch", "2", id)) << id.toStdString();
        EXPECT_FALSE(statementRanSinceMark()) << id.toStdString();
        EXPECT_EQ(operatorLevel("nosuch", id), 2);
    }
    // Only the whole id counts.
    EXPECT_FALSE(f_check_right("w201", "0", " admin"));
    EXPECT_FALSE(f_check_right("w201", "0", "administrator"));
}

TEST_P(CheckRightTest, ANullOperatorIsBoundAsNullNotAsEmpty)
{
    // An operator stored with an empty id holds a right; a null operator must not find it.
    member("", "001");
    power("001", "w201", "2");
    commit();
    EXPECT_TRUE(f_check_right("w201", "2", ""));
    EXPECT_FALSE(f_check_right("w201", "0", QString()));
    EXPECT_FALSE(f_check_right(QString(), "0", "E1"));
}

TEST_P(CheckRightTest, AFailedLookupGrantsNothingEvenForAnEmptyLevel)
{
    standardRights();
    ASSERT_TRUE(f_check_right("w201", "", "E1"));  // prepares the statement on this connection

    exec("drop table s_user_group");
    commit();
    EXPECT_FALSE(f_check_right("w201", "", "E1"));
    EXPECT_EQ(host::sqlca.sqlcode, -1);
    EXPECT_FALSE(f_check_right("w201", "2", "E1"));
    EXPECT_EQ(operatorLevel("w201", "E1"), 0);

    host::sqlca.disconnect();
    EXPECT_FALSE(f_check_right("w201", "", "E1"));
    EXPECT_FALSE(f_check_right("w201", "0", "E1"));
    EXPECT_TRUE(f_check_right("w201", "2", "aDmin"));
}

TEST_P(CheckRightTest, ARightSavedByAnotherClientIsHonouredAtTheNextCheck)
{
    standardRights();
    ASSERT_FALSE(f_check_right("w202", "1", "E1"));

    host::Transaction other;
    ASSERT_TRUE(other.connect(url())) << other.sqlerrtext.toStdString();
    ASSERT_EQ(other.execute("insert into s_group_power (group_id, m_item_code, group_right) values (?, ?, ?)",
                            {"001", "w202", "1"}), 0)
        << other.sqlerrtext.toStdString();
    // Not yet committed: not yet a right.
    EXPECT_FALSE(f_check_right("w202", "1", "E1"));
    ASSERT_EQ(other.commit(), 0) << other.sqlerrtext.toStdString();
    EXPECT_TRUE(f_check_right("w202", "1", "E1"));

    // Taken away again: refused at the next check.
    ASSERT_EQ(other.execute("delete from s_user_group where user_code = ?", {"E1"}), 0);
    ASSERT_EQ(other.commit(), 0) << other.sqlerrtext.toStdString();
    EXPECT_FALSE(f_check_right("w202", "1", "E1"));
    EXPECT_FALSE(f_check_right("w201", "0", "E1"));
}

TEST_P(CheckRightTest, CodesAreComparedExactly)
{
    power("001", "w201", "2");
    member("E1", "001");
    commit();
    EXPECT_FALSE(f_check_right("W201", "0", "E1"));
    EXPECT_FALSE(f_check_right("w201 ", "0", "E1"));
    EXPECT_FALSE(f_check_right("w201' or '1'='1", "0", "E1"));
    EXPECT_FALSE(f_check_right("w201", "0", "e1"));
}

WMS_INSTANTIATE_DB_TESTS(CheckRightTest);

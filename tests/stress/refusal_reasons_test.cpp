// The stress run counts its refusals by reason, from the texts the databases
// really give: a reason taken for "other error" would hide a lock timeout or
// a deadlock among the errors.

#include "host/transaction.h"
#include "rights/administrators.h"
#include "tests/stress/stress_data.h"
#include "tests/stress/stress_record.h"
#include "tests/stress/window_operations.h"
#include "tests/support/test_db.h"

#include <latch>
#include <thread>

namespace {

using stress::Refusal;
using testing_support::Backend;

class RefusalReasons : public testing_support::DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        if (HasFatalFailure() || IsSkipped())
            return;
        ASSERT_TRUE(stress::seed(host::sqlca, 2)) << host::sqlca.sqlerrtext.toStdString();
        rights::setAdministrationItems(stress::administrationItems());
    }
    void TearDown() override
    {
        rights::setAdministrationItems({});
        host::sqlca.busyTimeoutMs = 5000;
        DbTest::TearDown();
    }
};

TEST_P(RefusalReasons, WaitingTooLongForAnotherClientsAdministrationLockIsALockTimeout)
{
    // Waits 0.3 s instead of 5.
    host::sqlca.disconnect();
    host::sqlca.busyTimeoutMs = 300;
    ASSERT_TRUE(host::sqlca.connect(url()));
    host::Transaction other;
    ASSERT_TRUE(other.connect(url()));
    ASSERT_TRUE(rights::lockAdministration(other)) << other.sqlerrtext.toStdString();

    stress::WriteOutcome outcome = stress::removeMember("A1", "G1");
    EXPECT_FALSE(outcome.committed);
    EXPECT_EQ(stress::classify(outcome.reason), Refusal::LockTimeout) << outcome.reason.toStdString();
    EXPECT_EQ(count("s_user_group", "user_code = ? and group_code = ?", {"A1", "G1"}), 1);

    ASSERT_EQ(other.rollback(), 0);
    outcome = stress::removeMember("A1", "G1");
    EXPECT_TRUE(outcome.committed) << outcome.reason.toStdString();
}

TEST_P(RefusalReasons, AMoveIntoAGroupTheOperatorJoinedMeanwhileIsAChangeMadeMeanwhile)
{
    host::Transaction other;
    ASSERT_TRUE(other.connect(url()));
    other.journalOperator = QStringLiteral("B");
    ASSERT_EQ(other.execute("insert into s_user_group ( user_code , group_code ) values ( ? , ? )", {"A1", "G2"}), 0);
    ASSERT_EQ(other.commit(), 0);

    const stress::WriteOutcome outcome = stress::moveMember("A1", "G1", "G2");
    EXPECT_FALSE(outcome.committed);
    EXPECT_EQ(stress::classify(outcome.reason), Refusal::ChangedMeanwhile) << outcome.reason.toStdString();
    EXPECT_EQ(count("s_user_group", "user_code = ?", {"A1"}), 2);
    EXPECT_EQ(count("s_right_journal", "operator_id = ?", {"admin"}), 0);
}

WMS_INSTANTIATE_DB_TESTS(RefusalReasons);

class PostgresDeadlock : public testing_support::DbFixture {
protected:
    Backend backend() const override { return Backend::Postgres; }
};

TEST_F(PostgresDeadlock, TheDatabasesDeadlockReportIsCountedAsADeadlock)
{
    ASSERT_TRUE(stress::seed(host::sqlca, 2)) << host::sqlca.sqlerrtext.toStdString();
    // Two clients rename G1 and G2 in opposite orders: PostgreSQL ends one
    // of them after its deadlock_timeout (1 s).
    const QString rename = QStringLiteral("update s_group set group_name = ? where group_id = ?");
    std::latch firstLocked(1), secondLocked(1);
    QString otherError;
    std::thread other([&] {
        host::Transaction trans;
        if (!trans.connect(url())) {
            otherError = trans.sqlerrtext;
            firstLocked.count_down();
            return;
        }
        if (trans.execute(rename, {"甲", "G1"}) != 0)
            otherError = trans.sqlerrtext;
        firstLocked.count_down();
        secondLocked.wait();
        if (otherError.isEmpty() && trans.execute(rename, {"甲", "G2"}) != 0)
            otherError = trans.sqlerrtext;
        (void)trans.rollback();
    });
    firstLocked.wait();
    QString mine;
    if (host::sqlca.execute(rename, {"乙", "G2"}) != 0)
        mine = host::sqlca.sqlerrtext;
    secondLocked.count_down();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    if (mine.isEmpty() && host::sqlca.execute(rename, {"乙", "G1"}) != 0)
        mine = host::sqlca.sqlerrtext;
    (void)host::sqlca.rollback();
    other.join();

    // Exactly one of them was ended, and that is a deadlock.
    ASSERT_NE(mine.isEmpty(), otherError.isEmpty()) << mine.toStdString() << " / " << otherError.toStdString();
    const QString reported = mine.isEmpty() ? otherError : mine;
    EXPECT_EQ(stress::classify(reported), Refusal::Deadlock) << reported.toStdString();
}

}  // namespace

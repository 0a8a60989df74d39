// The lock-out guard across clients: two operations on two connections in two
// threads, started together, each removing a different one of the last two
// administrators. The guard counts after the administration lock (PostgreSQL)
// or the write lock (SQLite), so the second counts what the first committed:
// exactly one commits and one administrator is left.
#include "common/administration_guard.h"
#include "host/operation.h"
#include "rights/administrators.h"
#include "tests/support/test_db.h"

#include <QThread>
#include <latch>
#include <thread>

namespace {

using testing_support::SampleDbTest;

struct Outcome {
    bool connected = false;
    bool committed = false;
    QString refusal;
};

class GuardClientsTest : public SampleDbTest {
protected:
    void SetUp() override
    {
        SampleDbTest::SetUp();
        if (HasFatalFailure() || IsSkipped())
            return;
        rights::setAdministrationItems({"m102", "003"});
        // E006 and E001 (added to 系统管理组) are the only administrators; the
        // built-in "admin" has no operator row.
        exec("delete from s_user_group where user_code = ?", {"admin"});
        exec("delete from s_user where id = ?", {"admin"});
        exec("insert into s_user_group ( user_code , group_code ) values ( ? , ? )", {"E001", "001"});
        ASSERT_EQ(host::sqlca.commit(), 0);
        ASSERT_EQ(rights::administratorCount(host::sqlca), 2);
    }
    void TearDown() override
    {
        rights::setAdministrationItems({});
        SampleDbTest::TearDown();
    }

    // One client: removes `user` from 系统管理组 under the guard, holding its
    // transaction open a while before the guard's second count, so that the
    // other client's operation overlaps it.
    static void removeAdministrator(const QString& url, const QString& user, std::latch* start, Outcome* outcome)
    {
        host::Transaction trans;
        trans.logChanges = false;
        outcome->connected = trans.connect(url);
        start->arrive_and_wait();
        if (!outcome->connected)
            return;
        host::Operation operation(trans);
        common::AdministrationGuard guard(trans);
        if (operation.execute(QStringLiteral("delete from s_user_group where user_code = ? and group_code = ?"),
                              {user, QStringLiteral("001")})
            != host::Transaction::kSuccess) {
            outcome->refusal = operation.error();
            return;
        }
        QThread::msleep(300);
        if (!guard.allows(false)) {
            outcome->refusal = guard.reason();
            return;
        }
        if (operation.commit() != host::Transaction::kSuccess) {
            outcome->refusal = operation.error();
            return;
        }
        outcome->committed = true;
    }
};

TEST_P(GuardClientsTest, TwoClientsRemovingTheLastTwoAdministratorsAtOnceLeaveOne)
{
    std::latch start(2);
    Outcome first, second;
    std::thread a(removeAdministrator, url(), QStringLiteral("E006"), &start, &first);
    std::thread b(removeAdministrator, url(), QStringLiteral("E001"), &start, &second);
    a.join();
    b.join();
    ASSERT_TRUE(first.connected && second.connected);

    EXPECT_NE(first.committed, second.committed)
        << "first: " << first.refusal.toStdString() << " / second: " << second.refusal.toStdString();
    const QString refusal = first.committed ? second.refusal : first.refusal;
    EXPECT_TRUE(refusal.startsWith(QStringLiteral("此操作之后将没有操作员能够管理权限"))) << refusal.toStdString();
    EXPECT_EQ(rights::administratorCount(host::sqlca), 1);
    EXPECT_EQ(count("s_user_group", "group_code = ? and user_code in ( ? , ? )", {"001", "E006", "E001"}), 1);
}

WMS_INSTANTIATE_DB_TESTS(GuardClientsTest);

}  // namespace

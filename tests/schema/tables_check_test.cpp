// The start-up check that the rights tables are there tells a missing table
// from a check that failed: a table locked by another client is a lock.
#include "host/transaction.h"
#include "schema/database.h"
#include "schema/tables.h"
#include "tests/support/test_db.h"

#include <QElapsedTimer>
#include <QSqlError>
#include <QSqlQuery>

namespace {

using testing_support::Backend;

class TablesCheck : public testing_support::DbTest {
protected:
    // A second client holding a lock on the tables that keeps readers out:
    // on PostgreSQL an access exclusive lock on s_group, on SQLite (rollback
    // journal) an exclusive transaction.
    void holdLock(host::Transaction& other)
    {
        if (backend() == Backend::Sqlite) {
            exec("PRAGMA journal_mode=DELETE");
            ASSERT_TRUE(other.connect(url()));
            QSqlQuery mode(other.database());
            ASSERT_TRUE(mode.exec("PRAGMA journal_mode=DELETE"));
            QSqlQuery begin(other.database());
            ASSERT_TRUE(begin.exec("BEGIN EXCLUSIVE")) << begin.lastError().text().toStdString();
            QSqlQuery write(other.database());
            ASSERT_TRUE(write.exec("update s_group set group_name = group_name"));
        } else {
            ASSERT_TRUE(other.connect(url()));
            ASSERT_TRUE(other.beginWrite());
            ASSERT_EQ(other.execute("lock table s_group in access exclusive mode"), 0) << other.sqlerrtext.toStdString();
        }
    }
};

TEST_P(TablesCheck, AMissingTableIsNamedAndAReadableSetIsPresent)
{
    QStringList missing{"stale"};
    EXPECT_EQ(schema::checkTables(host::sqlca, &missing), schema::TablesCheck::Present);
    EXPECT_TRUE(missing.isEmpty());

    exec("drop table s_user_group");
    EXPECT_EQ(schema::checkTables(host::sqlca, &missing), schema::TablesCheck::Missing);
    EXPECT_EQ(missing, QStringList{"s_user_group"});
    EXPECT_FALSE(schema::tablesExist(host::sqlca));
}

TEST_P(TablesCheck, ATableLockedByAnotherClientIsALockNotAMissingTable)
{
    host::sqlca.disconnect();
    host::sqlca.busyTimeoutMs = 300;  // PostgreSQL's lock_timeout too
    ASSERT_TRUE(host::sqlca.connect(url())) << host::sqlca.sqlerrtext.toStdString();
    host::Transaction other;
    holdLock(other);
    if (HasFatalFailure())
        return;

    QStringList missing;
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(schema::checkTables(host::sqlca, &missing), schema::TablesCheck::Failed);
    EXPECT_LT(timer.elapsed(), 3000);
    EXPECT_TRUE(missing.isEmpty());
    EXPECT_TRUE(host::sqlca.sqlerrtext.contains("数据库正被其他连接锁定")) << host::sqlca.sqlerrtext.toStdString();
    if (backend() == Backend::Postgres) {
        EXPECT_TRUE(host::sqlca.sqlerrtext.contains("lock timeout")) << host::sqlca.sqlerrtext.toStdString();
    }

    // Released, the same check finds every table.
    (void)other.rollback();
    other.disconnect();
    EXPECT_EQ(schema::checkTables(host::sqlca), schema::TablesCheck::Present) << host::sqlca.sqlerrtext.toStdString();
    host::sqlca.busyTimeoutMs = 5000;
}

TEST_P(TablesCheck, ATableThatCannotBeReadReportsItsOwnReason)
{
    if (backend() == Backend::Postgres)
        GTEST_SKIP() << "a view over a missing table cannot be made on PostgreSQL";
    // s_group is there, as a view whose own table is gone.
    exec("drop table s_group");
    exec("create view s_group as select group_id, group_name from s_gone");
    EXPECT_EQ(schema::checkTables(host::sqlca), schema::TablesCheck::Failed);
    EXPECT_TRUE(host::sqlca.sqlerrtext.contains("s_gone")) << host::sqlca.sqlerrtext.toStdString();
}

WMS_INSTANTIATE_DB_TESTS(TablesCheck);

}  // namespace

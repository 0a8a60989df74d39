// One operation as one transaction (host::Operation), and what the
// connection does when a server holds a lock or goes away.
#include "host/change_log.h"
#include "host/functions.h"
#include "host/operation.h"
#include "tests/support/test_db.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

using host::sqlca;
using testing_support::Backend;
using testing_support::DbTest;

class OperationTest : public DbTest {
protected:
    // Every s_group row inserted from now on is refused when the transaction
    // commits (a constraint checked only at COMMIT).
    void refuseGroupsAtCommit()
    {
        if (backend() == Backend::Sqlite) {
            exec("pragma foreign_keys = on");
            exec("create table gate_parent (id integer primary key)");
            exec("create table gate (id integer references gate_parent (id) deferrable initially deferred)");
            exec("create trigger gate_group after insert on s_group begin insert into gate values (1); end");
        } else {
            exec("create function refuse_group() returns trigger language plpgsql as "
                 "$$ begin raise exception 'group refused at commit'; end $$");
            exec("create constraint trigger gate_group after insert on s_group deferrable initially deferred "
                 "for each row execute function refuse_group()");
        }
    }
    long long groupsSeenByAnotherClient()
    {
        host::Transaction other;
        EXPECT_TRUE(other.connect(url())) << other.sqlerrtext.toStdString();
        return other.selectValue("select count(*) from s_group").toLongLong();
    }
};

TEST_P(OperationTest, WhatIsNotCommittedIsRolledBackWhenTheOperationEnds)
{
    {
        host::Operation operation;
        ASSERT_EQ(operation.execute("insert into s_group (group_id, group_name) values (?, ?)", {"001", "甲"}), 0);
        EXPECT_TRUE(sqlca.inWriteTransaction());
        // An early return: no COMMIT.
    }
    EXPECT_FALSE(sqlca.inWriteTransaction());
    EXPECT_EQ(groupsSeenByAnotherClient(), 0);

    host::Operation operation;
    ASSERT_EQ(operation.execute("insert into s_group (group_id, group_name) values (?, ?)", {"001", "甲"}), 0);
    EXPECT_EQ(operation.commit(), 0);
    EXPECT_EQ(groupsSeenByAnotherClient(), 1);
}

TEST_P(OperationTest, ARefusedCommitIsAFailureWithTheReasonAndNothingStays)
{
    refuseGroupsAtCommit();
    EXPECT_EQ(sqlca.commit(), 0);
    host::Operation operation;
    ASSERT_EQ(operation.execute("insert into s_group (group_id, group_name) values (?, ?)", {"001", "甲"}), 0);
    EXPECT_EQ(operation.commit(), -1);
    EXPECT_FALSE(operation.error().isEmpty());
    EXPECT_FALSE(sqlca.inWriteTransaction());
    EXPECT_EQ(groupsSeenByAnotherClient(), 0);
    EXPECT_EQ(count("s_group"), 0);
    // The connection goes on working.
    exec("insert into s_moudle_item (m_item_code, name) values (?, ?)", {"m1", "一"});
    EXPECT_EQ(sqlca.commit(), 0);
}

TEST_P(OperationTest, RollbackKeepsTheReasonOfTheStatementThatFailed)
{
    host::Operation operation;
    ASSERT_EQ(operation.execute("insert into s_group (group_id, group_name) values (?, ?)", {"001", "甲"}), 0);
    ASSERT_EQ(operation.execute("insert into s_group (group_id, group_name) values (?, ?)", {"001", "乙"}), -1);
    const QString reason = operation.error();
    EXPECT_FALSE(reason.isEmpty());
    operation.rollback();
    EXPECT_EQ(operation.error(), reason);
    EXPECT_EQ(sqlca.sqlcode, -1);
    EXPECT_FALSE(sqlca.inWriteTransaction());
    EXPECT_EQ(count("s_group"), 0);
}

TEST_P(OperationTest, ARowLockedByAnotherClientFailsTheStatementAfterTheTimeout)
{
    if (backend() == Backend::Sqlite)
        GTEST_SKIP() << "SQLite's busy timeout is tested with the transaction";
    exec("insert into s_group (group_id, group_name) values (?, ?)", {"001", "甲"});
    ASSERT_EQ(sqlca.commit(), 0);
    host::Transaction other;
    other.busyTimeoutMs = 300;
    ASSERT_TRUE(other.connect(url()));
    exec("update s_group set group_name = ? where group_id = ?", {"乙", "001"});  // holds the row lock

    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(other.execute("update s_group set group_name = ? where group_id = ?", {"丙", "001"}), -1);
    EXPECT_LT(timer.elapsed(), 5000);
    EXPECT_TRUE(other.sqlerrtext.contains("锁定")) << other.sqlerrtext.toStdString();
    EXPECT_EQ(other.rollback(), 0);
    ASSERT_EQ(sqlca.commit(), 0);
    EXPECT_EQ(other.execute("update s_group set group_name = ? where group_id = ?", {"丙", "001"}), 0);
    EXPECT_EQ(other.commit(), 0);
}

TEST_P(OperationTest, ALostConnectionIsReportedAndOpenedAgainButNeverInTheMiddleOfAnOperation)
{
    if (backend() == Backend::Sqlite)
        GTEST_SKIP() << "a SQLite file cannot go away like a server";
    host::Transaction admin;
    ASSERT_TRUE(admin.connect(url()));
    const auto dropSqlca = [&] {
        const QVariant pid = sqlca.selectValue("select pg_backend_pid()");
        ASSERT_FALSE(pid.isNull());
        QVariantList result;
        ASSERT_EQ(admin.selectInto("select pg_terminate_backend(?)", {pid.toInt()}, result), 0)
            << admin.sqlerrtext.toStdString();
    };

    // Between operations: the next statement says so, the one after works.
    dropSqlca();
    QVariantList row;
    EXPECT_EQ(sqlca.selectInto("select count(*) from s_group", {}, row), -1);
    EXPECT_TRUE(sqlca.connectionLost());
    EXPECT_TRUE(sqlca.sqlerrtext.contains("连接已断开")) << sqlca.sqlerrtext.toStdString();
    EXPECT_EQ(count("s_group"), 0);  // a table of this test's schema: the same database
    EXPECT_EQ(sqlca.sqlcode, 0);
    EXPECT_FALSE(sqlca.connectionLost());

    // Inside an operation: its later statements do not run on a new
    // connection, and its COMMIT is a failure.
    {
        host::Operation operation;
        ASSERT_EQ(operation.execute("insert into s_group (group_id, group_name) values (?, ?)", {"001", "甲"}), 0);
        dropSqlca();
        EXPECT_EQ(operation.execute("insert into s_group (group_id, group_name) values (?, ?)", {"002", "乙"}), -1);
        EXPECT_EQ(operation.execute("insert into s_group (group_id, group_name) values (?, ?)", {"003", "丙"}), -1);
        EXPECT_EQ(operation.commit(), -1);
    }
    EXPECT_FALSE(sqlca.inWriteTransaction());
    EXPECT_EQ(count("s_group"), 0);
    exec("insert into s_group (group_id, group_name) values (?, ?)", {"004", "丁"});
    EXPECT_EQ(sqlca.commit(), 0);
    EXPECT_EQ(admin.selectValue("select count(*) from s_group").toLongLong(), 1);
}


TEST(ChangeLog, StatementsAreDescribedWithTheirValuesAndPasswordsHidden)
{
    EXPECT_EQ(host::boundColumns("update s_group set group_name = ? where group_id =?"),
              QStringList({"group_name", "group_id"}));
    EXPECT_EQ(host::boundColumns("insert into s_user ( id, password, status ) values ( ?, ?, '1' )"),
              QStringList({"id", "password"}));
    EXPECT_EQ(host::describeChange("delete from s_group\n where group_id = ?", {"003"}),
              "delete from s_group where group_id = ? [\"003\"]");
    EXPECT_EQ(host::describeChange("insert into s_user ( id, password, status ) values ( ?, ?, ? )",
                                   {"E005", "secret", "1"}),
              "insert into s_user ( id, password, status ) values ( ?, ?, ? ) [\"E005\", ***, \"1\"]");
    EXPECT_EQ(host::describeChange("update s_user set password = ? where id = ?", {"$argon2id$x", "E1"}),
              "update s_user set password = ? where id = ? [***, \"E1\"]");
    // Where the columns cannot be told, nothing of a statement on passwords is shown.
    EXPECT_EQ(host::describeChange("select set_password(?, ?)", {"E1", "pw"}), "select set_password(?, ?) [***, ***]");
}

TEST(ChangeLog, LogLinesCannotBeForged)
{
    EXPECT_EQ(host::escapeForLog("E1\n2026-01-01 admin 变更: forged"), "E1\\n2026-01-01 admin 变更: forged");
    EXPECT_EQ(host::escapeForLog("a\\nb\r\t\x01\x7f"), "a\\\\nb\\r\\t\\x01\\x7f");
    EXPECT_EQ(host::escapeForLog(QString::fromUtf16(u"x\u2028y")), "x\\u2028y");
    EXPECT_EQ(host::escapeForLog("张伟"), "张伟");
}

TEST_P(OperationTest, EveryCommittedChangeIsLoggedWithWhoAndWhatAndNothingRolledBack)
{
    QTemporaryDir dir;
    const QString previous = host::logFile();
    host::setLogFile(dir.filePath("changes.log"));
    host::gs_user_id = "E001\nforged";
    {
        host::Operation operation;
        ASSERT_EQ(operation.execute("insert into s_group (group_id, group_name) values (?, ?)", {"009", "新组"}), 0);
        ASSERT_EQ(operation.commit(), 0);
    }
    {
        host::Operation operation;
        ASSERT_EQ(operation.execute("insert into s_group (group_id, group_name) values (?, ?)", {"010", "撤销"}), 0);
    }
    host::gs_user_id = "admin";
    host::setLogFile(previous);
    QFile log(dir.filePath("changes.log"));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(log.readAll()).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 1) << lines.join(" | ").toStdString();
    EXPECT_TRUE(lines.first().contains(" E001\\nforged 变更: insert into s_group (group_id, group_name) values (?, ?) "
                                       "[\"009\", \"新组\"]"))
        << lines.first().toStdString();
}

WMS_INSTANTIATE_DB_TESTS(OperationTest);

// The transaction object: statuses, the write transaction that ROLLBACK
// undoes, reads that hold no snapshot, cursors, and failures.
#include "host/text_rows.h"
#include "host/transaction.h"
#include "tests/support/test_db.h"

#include <QElapsedTimer>

using host::sqlca;
using testing_support::Backend;
using testing_support::DbTest;

class TransactionTest : public DbTest {};

TEST_P(TransactionTest, StatusCodesOfSelectsAndWrites)
{
    exec("insert into s_group (group_id, group_name) values (?, ?)", {"001", "仓库"});
    EXPECT_EQ(sqlca.sqlnrows, 1);
    EXPECT_TRUE(sqlca.inWriteTransaction());
    ASSERT_EQ(sqlca.commit(), 0);
    EXPECT_FALSE(sqlca.inWriteTransaction());

    QVariantList row;
    EXPECT_EQ(sqlca.selectInto("select group_name from s_group where group_id = ?", {"001"}, row), 0);
    EXPECT_EQ(row.value(0).toString(), QStringLiteral("仓库"));
    EXPECT_EQ(sqlca.selectInto("select group_name from s_group where group_id = ?", {"999"}, row), 100);
    EXPECT_TRUE(row.isEmpty());

    // A maximum over no rows is one row holding null, not "no row".
    EXPECT_EQ(sqlca.selectInto("select max(group_name) from s_group where group_id = ?", {"999"}, row), 0);
    EXPECT_TRUE(row.value(0).isNull());

    // A write that matches no row succeeds; it only affects nothing.
    EXPECT_EQ(sqlca.execute("delete from s_group where group_id = ?", {"999"}), 0);
    EXPECT_EQ(sqlca.sqlnrows, 0);
    EXPECT_EQ(sqlca.rollback(), 0);

    EXPECT_EQ(sqlca.execute("select nosuchcolumn from s_group"), -1);
    EXPECT_FALSE(sqlca.sqlerrtext.isEmpty());
    EXPECT_TRUE(sqlca.sqlerrtext.contains("nosuchcolumn")) << sqlca.sqlerrtext.toStdString();
}

TEST_P(TransactionTest, RowsKeptAsTextEqualTheRowsOfASelect)
{
    // Null apart from empty text, multi-byte text, a column that is not text
    // (read through Qt's own conversion), no row, and a refused select.
    exec("insert into s_group (group_id, group_name) values (?, ?)", {"001", "仓库 \"管理\"'组"});
    exec("insert into s_group (group_id, group_name) values (?, ?)", {"002", ""});
    exec("insert into s_group (group_id, group_name) values (?, ?)", {"003", QVariant()});
    ASSERT_EQ(sqlca.commit(), 0);
    for (const QString& sql : {QStringLiteral("select group_id, group_name from s_group order by group_id"),
                              QStringLiteral("select group_id, count(*) from s_group group by group_id order by 1")}) {
        QList<QVariantList> selected;
        ASSERT_EQ(sqlca.selectRows(sql, {}, &selected), 0) << sqlca.sqlerrtext.toStdString();
        host::TextRows kept;
        ASSERT_EQ(sqlca.readRows(sql, {}, &kept), 0) << sqlca.sqlerrtext.toStdString();
        EXPECT_EQ(sqlca.sqlnrows, 3);
        ASSERT_EQ(kept.rowCount(), selected.size());
        for (qsizetype r = 0; r < selected.size(); ++r) {
            const QVariantList row = kept.row(r, 2);
            for (int c = 0; c < 2; ++c) {
                EXPECT_EQ(row.at(c).isNull(), selected.at(r).at(c).isNull()) << sql.toStdString() << r << c;
                EXPECT_EQ(row.at(c).toString(), selected.at(r).at(c).toString()) << sql.toStdString() << r << c;
            }
        }
    }
    host::TextRows kept;
    EXPECT_EQ(sqlca.readRows("select group_id from s_group where group_id = ?", {"999"}, &kept), 0);
    EXPECT_EQ(kept.rowCount(), 0);
    EXPECT_EQ(sqlca.readRows("select group_id from s_group", {}, &kept), 0);
    EXPECT_EQ(sqlca.readRows("select nosuchcolumn from s_group", {}, &kept), -1);
    EXPECT_EQ(kept.rowCount(), 0);
    EXPECT_TRUE(sqlca.sqlerrtext.contains("nosuchcolumn")) << sqlca.sqlerrtext.toStdString();
}

TEST_P(TransactionTest, RollbackUndoesEveryWriteSinceTheLastCommit)
{
    exec("insert into s_group (group_id, group_name) values (?, ?)", {"001", "a"});
    EXPECT_EQ(sqlca.commit(), 0);
    exec("insert into s_group (group_id, group_name) values (?, ?)", {"002", "b"});
    exec("update s_group set group_name = ? where group_id = ?", {"changed", "001"});
    exec("delete from s_group where group_id = ?", {"001"});
    ASSERT_EQ(sqlca.rollback(), 0);
    EXPECT_EQ(count("s_group"), 1);
    EXPECT_EQ(value("select group_name from s_group where group_id = ?", {"001"}).toString(), "a");
}

TEST_P(TransactionTest, ValuesAreBoundNeverPasted)
{
    const QString tricky = QStringLiteral("a'b\"; drop table s_group; --");
    exec("insert into s_moudle_item (m_item_code, name) values (?, ?)", {tricky, tricky});
    EXPECT_EQ(sqlca.commit(), 0);
    EXPECT_EQ(value("select name from s_moudle_item where m_item_code = ?", {tricky}).toString(), tricky);
    EXPECT_EQ(count("s_group"), 0);
}

TEST_P(TransactionTest, OverlongValueIsRefusedOnBothDatabases)
{
    EXPECT_EQ(sqlca.execute("insert into s_group (group_id, group_name) values (?, ?)", {"1234", "x"}), -1);
    EXPECT_EQ(sqlca.rollback(), 0);
    EXPECT_EQ(count("s_group"), 0);
}

TEST_P(TransactionTest, AnotherClientSeesCommittedDataAndCanWriteWhileWeIdle)
{
    host::Transaction other;
    ASSERT_TRUE(other.connect(url())) << other.sqlerrtext.toStdString();

    // We read; no snapshot or lock may be held afterwards.
    EXPECT_EQ(sqlca.execute("select count(*) from s_group"), 0);
    ASSERT_EQ(other.execute("insert into s_group (group_id, group_name) values (?, ?)", {"001", "x"}), 0)
        << other.sqlerrtext.toStdString();
    ASSERT_EQ(other.commit(), 0) << other.sqlerrtext.toStdString();
    EXPECT_EQ(count("s_group"), 1);

    // Uncommitted writes of one client stay invisible to the other.
    exec("insert into s_group (group_id, group_name) values (?, ?)", {"002", "y"});
    EXPECT_EQ(other.selectValue("select count(*) from s_group").toLongLong(), 1);
    EXPECT_EQ(sqlca.commit(), 0);
    EXPECT_EQ(other.selectValue("select count(*) from s_group").toLongLong(), 2);
}

TEST_P(TransactionTest, CursorFetchesRowsThenReportsTheEnd)
{
    exec("insert into s_group (group_id, group_name) values (?, ?)", {"001", "a"});
    exec("insert into s_group (group_id, group_name) values (?, ?)", {"002", "b"});
    EXPECT_EQ(sqlca.commit(), 0);
    host::Cursor cursor(sqlca, "select group_id, group_name from s_group where group_id <> ? order by group_id");
    ASSERT_EQ(cursor.open({"002"}), 0);
    QVariantList row;
    ASSERT_EQ(cursor.fetch(row), 0);
    EXPECT_EQ(row.value(1).toString(), "a");
    EXPECT_EQ(cursor.fetch(row), 100);
    EXPECT_EQ(sqlca.sqlcode, 100);
    cursor.close();

    host::Cursor broken(sqlca, "select nothing from nowhere");
    EXPECT_EQ(broken.open(), -1);
    EXPECT_EQ(broken.fetch(row), -1);
}

TEST_P(TransactionTest, StatementsOnABrokenConnectionFailCleanly)
{
    sqlca.disconnect();
    QVariantList row;
    EXPECT_EQ(sqlca.selectInto("select 1", {}, row), -1);
    EXPECT_EQ(sqlca.execute("delete from s_group"), -1);
    EXPECT_EQ(sqlca.commit(), -1);
    EXPECT_FALSE(sqlca.sqlerrtext.isEmpty());
}

WMS_INSTANTIATE_DB_TESTS(TransactionTest);

TEST(TransactionSqlite, ALockHeldByAnotherWriterIsAClearErrorNotAHang)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("locked.db");
    host::Transaction first;
    host::Transaction second;
    second.busyTimeoutMs = 200;
    ASSERT_TRUE(first.connect(path));
    ASSERT_EQ(first.execute("create table t (a varchar(3))"), 0);
    ASSERT_TRUE(second.connect(path));
    ASSERT_EQ(first.execute("insert into t (a) values (?)", {"x"}), 0);  // holds the write lock

    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(second.execute("insert into t (a) values (?)", {"y"}), -1);
    EXPECT_LT(timer.elapsed(), 5000);
    EXPECT_TRUE(second.sqlerrtext.contains("locked")) << second.sqlerrtext.toStdString();
    EXPECT_EQ(first.commit(), 0);
    EXPECT_EQ(second.execute("insert into t (a) values (?)", {"y"}), 0);
    EXPECT_EQ(second.commit(), 0);
}

TEST(TransactionConnect, UnopenableDatabasesAreReportedNotCrashed)
{
    host::Transaction trans;
    EXPECT_FALSE(trans.connect("/nonexistent-folder/x/y.db"));
    EXPECT_FALSE(trans.sqlerrtext.isEmpty());
    EXPECT_FALSE(trans.isConnected());
    EXPECT_FALSE(trans.connect("postgresql://nobody@127.0.0.1:1/none"));
    EXPECT_FALSE(trans.sqlerrtext.isEmpty());

    QTemporaryDir dir;
    QFile junk(dir.filePath("junk.db"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, 'x'));
    junk.close();
    EXPECT_FALSE(trans.connect(junk.fileName()));
}

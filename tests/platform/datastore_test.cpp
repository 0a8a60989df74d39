// The data store on both databases: statuses, the update and its failures,
// find and filter over awkward values, and f_filter.
#include "host/filter.h"
#include "host/transaction.h"
#include "platform/datastore.h"
#include "platform/expression.h"
#include "tests/support/test_db.h"

using host::sqlca;
using platform::Buffer;
using platform::DataStore;
using platform::ItemStatus;
using platform::quoteLiteral;
using testing_support::SampleDbTest;

class DataStoreTest : public SampleDbTest {
protected:
    // A store on `name`, attached to sqlca and retrieved.
    std::unique_ptr<DataStore> retrieved(const QString& name, const QVariantList& args = {})
    {
        auto store = std::make_unique<DataStore>(name);
        store->setTransObject(sqlca);
        const long rows = store->retrieve(args);
        EXPECT_GE(rows, 0) << sqlca.sqlerrtext.toStdString();
        return store;
    }
    // The first column of every row of `sql`.
    QStringList column(const QString& sql)
    {
        QList<QVariantList> rows;
        EXPECT_EQ(sqlca.selectRows(sql, {}, &rows), 0) << sqlca.sqlerrtext.toStdString();
        QStringList values;
        for (const QVariantList& row : rows)
            values << row.value(0).toString();
        return values;
    }
    long rowOf(DataStore& store, const QString& column, const QString& value)
    {
        return store.find(column + " = " + quoteLiteral(value), 1, store.rowCount());
    }
};

TEST_P(DataStoreTest, RetrieveReadsRowsAndStatusesFollowEdits)
{
    auto store = retrieved("d_right_group");
    ASSERT_EQ(store->rowCount(), 4);
    EXPECT_EQ(sqlca.sqlcode, 0);
    EXPECT_EQ(store->getRow(), 1);
    EXPECT_EQ(store->getItemString(1, "group_id"), "001");
    EXPECT_EQ(store->getItemString(1, "group_name"), "系统管理组");
    EXPECT_EQ(store->getItemStatus(1), ItemStatus::NotModified);
    EXPECT_TRUE(store->getItem(0, "group_id").isNull());
    EXPECT_TRUE(store->getItem(5, "group_id").isNull());
    EXPECT_TRUE(store->getItem(1, "nosuch").isNull());

    ASSERT_EQ(store->setItem(2, "group_name", "仓库"), 1);
    EXPECT_EQ(store->getItemStatus(2), ItemStatus::DataModified);
    EXPECT_EQ(store->getItemStatus(2, "group_name"), ItemStatus::DataModified);
    EXPECT_EQ(store->getItemStatus(2, "group_id"), ItemStatus::NotModified);
    EXPECT_EQ(store->modifiedCount(), 1);

    const long row = store->insertRow(0);
    EXPECT_EQ(row, 5);
    EXPECT_EQ(store->getItemStatus(row), ItemStatus::New);
    EXPECT_EQ(store->modifiedCount(), 1);  // a new row nobody filled is not a change
    ASSERT_EQ(store->setItem(row, "group_id", "009"), 1);
    EXPECT_EQ(store->getItemStatus(row), ItemStatus::NewModified);
    EXPECT_EQ(store->modifiedCount(), 2);
    EXPECT_EQ(store->insertRow(1), 1);  // before the first row
    EXPECT_EQ(store->getItemString(2, "group_id"), "001");
    EXPECT_EQ(store->insertRow(99), -1);

    EXPECT_EQ(store->deleteRow(2), 1);  // a retrieved row goes to the delete buffer
    EXPECT_EQ(store->deletedCount(), 1);
    EXPECT_EQ(store->getItemString(1, "group_id", Buffer::Delete), "001");
    EXPECT_EQ(store->deleteRow(1), 1);  // a new row is dropped
    EXPECT_EQ(store->deletedCount(), 1);
    EXPECT_EQ(store->deleteRow(42), -1);

    // The retrieval of a form with its argument.
    auto edit = retrieved("d_right_department_edit", {"D02"});
    ASSERT_EQ(edit->rowCount(), 1);
    EXPECT_EQ(edit->getItemString(1, "dept_name"), "财务部");
    EXPECT_EQ(retrieved("d_right_department_edit", {"nosuch"})->rowCount(), 0);
}

TEST_P(DataStoreTest, UpdateWritesOnlyTheChangedColumnByTheOriginalKey)
{
    auto store = retrieved("d_right_department");
    const long row = rowOf(*store, "dept_id", "D01");
    ASSERT_GT(row, 0);

    // Another client changes the remark after we read the row.
    host::Transaction other;
    ASSERT_TRUE(other.connect(url())) << other.sqlerrtext.toStdString();
    ASSERT_EQ(other.execute("update s_dept set memo = ? where dept_id = ?", {"其他人的备注", "D01"}), 0);
    ASSERT_EQ(other.commit(), 0);

    ASSERT_EQ(store->setItem(row, "dept_name", "仓储一部"), 1);
    ASSERT_EQ(store->update(), 1) << sqlca.sqlerrtext.toStdString();
    EXPECT_TRUE(sqlca.inWriteTransaction());  // the window commits, not the view
    ASSERT_EQ(sqlca.commit(), 0);
    EXPECT_EQ(value("select dept_name from s_dept where dept_id = ?", {"D01"}).toString(), "仓储一部");
    EXPECT_EQ(value("select memo from s_dept where dept_id = ?", {"D01"}).toString(), "其他人的备注");
    EXPECT_EQ(store->getItemStatus(row), ItemStatus::NotModified);
    EXPECT_EQ(store->modifiedCount(), 0);

    // A changed key is found by its original value.
    ASSERT_EQ(store->setItem(row, "dept_id", "D09"), 1);
    ASSERT_EQ(store->update(), 1) << sqlca.sqlerrtext.toStdString();
    ASSERT_EQ(sqlca.commit(), 0);
    EXPECT_EQ(count("s_dept", "dept_id = ?", {"D01"}), 0);
    EXPECT_EQ(value("select dept_name from s_dept where dept_id = ?", {"D09"}).toString(), "仓储一部");

    // The memo the other client changed was never read here: writing it is
    // refused as a change made meanwhile, and the edit stays pending.
    ASSERT_EQ(store->setItem(row, "memo", QVariant()), 1);
    EXPECT_EQ(store->update(), -1);
    EXPECT_TRUE(sqlca.changedMeanwhile());
    ASSERT_EQ(sqlca.rollback(), 0);
    EXPECT_EQ(value("select memo from s_dept where dept_id = ?", {"D09"}).toString(), "其他人的备注");
    EXPECT_EQ(store->getItemStatus(row), ItemStatus::DataModified);

    // Read again, a value set to null is written as null.
    ASSERT_GT(store->retrieve(), 0);
    const long reread = rowOf(*store, "dept_id", "D09");
    ASSERT_EQ(store->setItem(reread, "memo", QVariant()), 1);
    ASSERT_EQ(store->update(), 1) << sqlca.sqlerrtext.toStdString();
    ASSERT_EQ(sqlca.commit(), 0);
    EXPECT_EQ(count("s_dept", "dept_id = ? and memo is null", {"D09"}), 1);

    // Nothing to write is a success that writes nothing.
    EXPECT_EQ(store->update(), 1);
    EXPECT_FALSE(sqlca.inWriteTransaction());
}

TEST_P(DataStoreTest, FailedUpdateKeepsEveryPendingChangeAndCanBeRepeated)
{
    auto store = retrieved("d_right_group");
    const long renamed = rowOf(*store, "group_id", "002");
    const long removed = rowOf(*store, "group_id", "004");
    ASSERT_EQ(store->setItem(renamed, "group_name", "仓库管理"), 1);
    ASSERT_EQ(store->deleteRow(removed), 1);
    const long added = store->insertRow(0);
    ASSERT_EQ(store->setItem(added, "group_id", "001"), 1);  // the key of an existing group
    ASSERT_EQ(store->setItem(added, "group_name", "新组"), 1);

    EXPECT_EQ(store->update(), -1);
    EXPECT_EQ(sqlca.sqlcode, -1);
    EXPECT_FALSE(sqlca.sqlerrtext.isEmpty());
    EXPECT_FALSE(store->lastError().isEmpty());
    ASSERT_EQ(sqlca.rollback(), 0);

    EXPECT_EQ(value("select group_name from s_group where group_id = ?", {"002"}).toString(), "仓库管理员");
    EXPECT_EQ(count("s_group", "group_id = ?", {"004"}), 1);
    EXPECT_EQ(store->deletedCount(), 1);
    EXPECT_EQ(store->modifiedCount(), 2);
    EXPECT_EQ(store->getItemStatus(renamed), ItemStatus::DataModified);
    EXPECT_EQ(store->getItemStatus(added), ItemStatus::NewModified);

    // The operator corrects the key and saves again: everything is written.
    ASSERT_EQ(store->setItem(added, "group_id", "005"), 1);
    ASSERT_EQ(store->update(), 1) << sqlca.sqlerrtext.toStdString();
    ASSERT_EQ(sqlca.commit(), 0);
    EXPECT_EQ(value("select group_name from s_group where group_id = ?", {"002"}).toString(), "仓库管理");
    EXPECT_EQ(count("s_group", "group_id = ?", {"004"}), 0);
    EXPECT_EQ(value("select group_name from s_group where group_id = ?", {"005"}).toString(), "新组");
    EXPECT_EQ(store->deletedCount(), 0);
    EXPECT_EQ(store->modifiedCount(), 0);
    EXPECT_EQ(store->getItemStatus(added), ItemStatus::NotModified);
}

TEST_P(DataStoreTest, DeletesRunBeforeUpdatesAndUpdatesBeforeInserts)
{
    auto store = retrieved("d_right_group");
    // Group 001 is deleted and entered again; group 002 takes key 009 and a
    // new group takes its old key 002. Any other order violates a key.
    ASSERT_EQ(store->deleteRow(rowOf(*store, "group_id", "001")), 1);
    ASSERT_EQ(store->setItem(rowOf(*store, "group_id", "002"), "group_id", "009"), 1);
    for (const auto& [id, name] : {std::pair{"001", "重建的组"}, std::pair{"002", "接替的组"}}) {
        const long row = store->insertRow(0);
        ASSERT_EQ(store->setItem(row, "group_id", id), 1);
        ASSERT_EQ(store->setItem(row, "group_name", name), 1);
    }
    ASSERT_EQ(store->update(), 1) << sqlca.sqlerrtext.toStdString();
    ASSERT_EQ(sqlca.commit(), 0);
    EXPECT_EQ(value("select group_name from s_group where group_id = ?", {"001"}).toString(), "重建的组");
    EXPECT_EQ(value("select group_name from s_group where group_id = ?", {"002"}).toString(), "接替的组");
    EXPECT_EQ(value("select group_name from s_group where group_id = ?", {"009"}).toString(), "仓库管理员");
    EXPECT_EQ(count("s_group"), 5);
}

TEST_P(DataStoreTest, RowsNeverLookedAtAreDeletedAndSavedByTheirOwnKeys)
{
    // Nothing reads the rows before they are deleted or saved: the keys of
    // the statements come from the read itself, and a save leaves the rows
    // that were not touched as they were read.
    exec("update s_dept set memo = null where dept_id = ?", {"D01"});
    exec("update s_dept set memo = ? where dept_id = ?", {"", "D02"});
    ASSERT_EQ(sqlca.commit(), 0);
    auto store = retrieved("d_right_department");
    const QStringList read = column("select dept_id from s_dept order by dept_id");
    ASSERT_EQ(store->rowCount(), read.size());
    ASSERT_GE(read.size(), 3);
    ASSERT_EQ(store->deleteRow(3), 1);
    ASSERT_EQ(store->update(), 1) << sqlca.sqlerrtext.toStdString();
    ASSERT_EQ(sqlca.commit(), 0);
    EXPECT_FALSE(column("select dept_id from s_dept").contains(read.at(2)));
    EXPECT_EQ(count("s_dept"), read.size() - 1);
    // Still as read: a null stays null and an empty text empty.
    EXPECT_TRUE(store->getItem(1, "memo").isNull());
    EXPECT_FALSE(store->getItem(2, "memo").isNull());
    EXPECT_EQ(store->getItemString(2, "memo"), "");
    EXPECT_EQ(store->getItemStatus(1), ItemStatus::NotModified);
    EXPECT_EQ(store->getItemString(1, "dept_id"), read.at(0));
}

TEST_P(DataStoreTest, AnUpdateOrDeleteOfARowAnotherClientChangedOrDeletedIsRefusedAsAWhole)
{
    host::Transaction other;
    ASSERT_TRUE(other.connect(url())) << other.sqlerrtext.toStdString();
    const auto otherWrites = [&](const QString& sql, const QVariantList& params) {
        ASSERT_EQ(other.execute(sql, params), 0) << other.sqlerrtext.toStdString();
        ASSERT_EQ(other.commit(), 0);
    };

    // Read, then: 003 deleted, 004 renamed by the other client.
    auto store = retrieved("d_right_group");
    const long gone = rowOf(*store, "group_id", "003");
    otherWrites("delete from s_group where group_id = ?", {"003"});
    otherWrites("update s_group set group_name = ? where group_id = ?", {"他人改名", "004"});

    // An update of the deleted row.
    ASSERT_EQ(store->setItem(gone, "group_name", "x"), 1);
    EXPECT_EQ(store->update(), -1);
    EXPECT_TRUE(sqlca.changedMeanwhile());
    EXPECT_EQ(sqlca.sqlerrtext, "数据已被其他用户修改, 本次修改全部未保存.");
    EXPECT_EQ(store->getItemStatus(gone), ItemStatus::DataModified);
    ASSERT_EQ(sqlca.rollback(), 0);

    // A delete of the renamed row, with an update of an untouched row before
    // it in the same save: nothing of the save stays.
    ASSERT_EQ(store->setItem(gone, "group_name", "仓库"), 1);
    ASSERT_EQ(store->deleteRow(gone), 1);
    const long kept = rowOf(*store, "group_id", "002");
    ASSERT_EQ(store->setItem(kept, "group_name", "仓库管理"), 1);
    ASSERT_EQ(store->deleteRow(rowOf(*store, "group_id", "004")), 1);
    EXPECT_EQ(store->update(), -1);
    EXPECT_TRUE(sqlca.changedMeanwhile());
    ASSERT_EQ(sqlca.rollback(), 0);
    EXPECT_EQ(value("select group_name from s_group where group_id = ?", {"004"}).toString(), "他人改名");
    EXPECT_EQ(value("select group_name from s_group where group_id = ?", {"002"}).toString(), "仓库管理员");
    EXPECT_EQ(store->deletedCount(), 2);
    EXPECT_EQ(store->modifiedCount(), 1);

    // Read again, the same edits are written.
    ASSERT_GT(store->retrieve(), 0);
    ASSERT_EQ(store->setItem(rowOf(*store, "group_id", "002"), "group_name", "仓库管理"), 1);
    ASSERT_EQ(store->deleteRow(rowOf(*store, "group_id", "004")), 1);
    ASSERT_EQ(store->update(), 1) << sqlca.sqlerrtext.toStdString();
    EXPECT_FALSE(sqlca.changedMeanwhile());
    ASSERT_EQ(sqlca.commit(), 0);
    EXPECT_EQ(count("s_group", "group_id = ?", {"004"}), 0);
    EXPECT_EQ(value("select group_name from s_group where group_id = ?", {"002"}).toString(), "仓库管理");
}

TEST_P(DataStoreTest, DeletingANewRowWritesNothing)
{
    auto store = retrieved("d_right_group");
    const long row = store->insertRow(0);
    ASSERT_EQ(store->setItem(row, "group_id", "001"), 1);  // would collide if it were written
    ASSERT_EQ(store->deleteRow(row), 1);
    EXPECT_EQ(store->deletedCount(), 0);
    EXPECT_EQ(store->modifiedCount(), 0);
    EXPECT_EQ(store->update(), 1) << sqlca.sqlerrtext.toStdString();
    EXPECT_FALSE(sqlca.inWriteTransaction());
    EXPECT_EQ(count("s_group"), 4);
}

TEST_P(DataStoreTest, OverlongValuesAreRefusedAndChangeNothing)
{
    auto store = retrieved("d_right_group");
    EXPECT_EQ(store->setItem(1, "group_id", "1234"), -1);
    EXPECT_FALSE(store->lastError().isEmpty());
    EXPECT_EQ(store->getItemString(1, "group_id"), "001");
    EXPECT_EQ(store->getItemStatus(1), ItemStatus::NotModified);

    const QString thirty = QString(30, QChar(0x4ED3));  // thirty Chinese characters fit
    EXPECT_EQ(store->setItem(1, "group_name", thirty), 1);
    EXPECT_EQ(store->setItem(1, "group_name", QString(thirty + "x")), -1);
    EXPECT_EQ(store->getItemString(1, "group_name"), thirty);
    EXPECT_EQ(store->setItem(1, "group_name", QVariant()), 1);
    EXPECT_TRUE(store->getItem(1, "group_name").isNull());
    EXPECT_EQ(store->setItem(1, "nosuch", "x"), -1);
    EXPECT_EQ(store->setItem(9, "group_id", "x"), -1);
}

TEST_P(DataStoreTest, FindAndFilterHandleQuotesBlanksEmptyAndNull)
{
    exec("insert into s_group (group_id, group_name) values (?, ?)", {"q1", "O'Brien"});
    exec("insert into s_group (group_id, group_name) values (?, ?)", {"q2", " 空格 "});
    exec("insert into s_group (group_id, group_name) values (?, ?)", {"q3", ""});
    exec("insert into s_group (group_id, group_name) values (?, ?)", {"q4", QVariant()});
    exec("insert into s_group (group_id, group_name) values (?, ?)", {"q'5", "a\\b\"c"});
    ASSERT_EQ(sqlca.commit(), 0);
    auto store = retrieved("d_right_group");
    ASSERT_EQ(store->rowCount(), 9);

    auto idOf = [&](long row) { return store->getItemString(row, "group_id"); };
    EXPECT_EQ(idOf(store->find("group_name = " + quoteLiteral("O'Brien"), 1, 99)), "q1");
    EXPECT_EQ(idOf(store->find("group_name = " + quoteLiteral(" 空格 "), 1, 99)), "q2");
    EXPECT_EQ(store->find("group_name = " + quoteLiteral("空格"), 1, 99), 0);
    EXPECT_EQ(idOf(store->find("group_name = ''", 1, 99)), "q3");
    EXPECT_EQ(idOf(store->find("isnull(group_name)", 1, 99)), "q4");
    EXPECT_EQ(idOf(store->find("group_name = " + quoteLiteral("a\\b\"c"), 1, 99)), "q'5");
    EXPECT_EQ(idOf(store->find("group_id = " + quoteLiteral("q'5"), 1, 99)), "q'5");
    // Start and end bound the search.
    const long first = store->find("group_id >= '001'", 1, 99);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(store->find("group_id = '001'", 2, 99), 0);
    EXPECT_EQ(store->find("group_id = '004'", 1, 3), 0);

    ASSERT_EQ(host::f_filter(*store, "group_id = " + quoteLiteral("q'5")), 1);
    ASSERT_EQ(store->rowCount(), 1);
    EXPECT_EQ(store->getItemString(1, "group_name"), "a\\b\"c");
    // The condition went into the select: the other rows were not read.
    EXPECT_EQ(store->filteredCount(), 0);

    ASSERT_EQ(host::f_filter(*store, "group_name <> ''"), 1);  // null is not unequal to anything
    EXPECT_EQ(store->rowCount(), 7);
    ASSERT_EQ(host::f_filter(*store, "isnull(group_name) or group_name = ''"), 1);
    EXPECT_EQ(store->rowCount(), 2);

    // A filter kept in the client (an ordering comparison) keeps the rows it
    // filters out, and clearing it brings them back.
    ASSERT_EQ(host::f_filter(*store, "group_id > 'q'"), 1);
    EXPECT_EQ(store->rowCount(), 5);
    EXPECT_EQ(store->filteredCount(), 4);
    ASSERT_EQ(store->setFilter(""), 1);
    ASSERT_EQ(store->filter(), 1);
    EXPECT_EQ(store->rowCount(), 9);
    EXPECT_EQ(store->filteredCount(), 0);
}

TEST_P(DataStoreTest, AFilterReadByTheDatabaseGivesTheRowsOrderAndStatusesOfTheClientFilter)
{
    exec("insert into s_group (group_id, group_name) values (?, ?)", {"q1", "O'Brien"});
    exec("insert into s_group (group_id, group_name) values (?, ?)", {"q2", " 空格 "});
    exec("insert into s_group (group_id, group_name) values (?, ?)", {"q3", ""});
    exec("insert into s_group (group_id, group_name) values (?, ?)", {"q4", QVariant()});
    exec("insert into s_group (group_id, group_name) values (?, ?)", {"q'5", "a\\b\"c"});
    exec("insert into s_group (group_id, group_name) values (?, ?)", {"q6", "5"});
    ASSERT_EQ(sqlca.commit(), 0);
    const QStringList expressions = {
        "group_id = 'q1'", "group_name <> ''", "not (group_name = '')", "not group_name <> 'O''Brien'",
        "isnull(group_name)", "not isnull(group_name) and group_name <> ' 空格 '",
        "group_name = 'O''Brien' or isnull(group_name) or group_id = 'q''5'", "'q2' = group_id",
        "group_name = 5", "not (group_id = 'q1' or group_id = 'q2')", "group_name = 'o''brien'",
        "group_id <> 'nosuch' and not (isnull(group_name) or group_name = 'a\\\\b\"c')"};
    for (const QString& expression : expressions) {
        // The client's answer: every row read, then filtered.
        auto client = retrieved("d_right_group");
        ASSERT_EQ(client->setFilter(expression), 1) << expression.toStdString();
        ASSERT_EQ(client->filter(), 1);
        QStringList expected;
        for (long row = 1; row <= client->rowCount(); ++row)
            expected << client->getItemString(row, "group_id");
        // The database's answer.
        DataStore pushed("d_right_group");
        ASSERT_EQ(host::f_filter(pushed, expression), 1) << expression.toStdString();
        QStringList got;
        for (long row = 1; row <= pushed.rowCount(); ++row) {
            got << pushed.getItemString(row, "group_id");
            EXPECT_EQ(pushed.getItemStatus(row), ItemStatus::NotModified);
        }
        EXPECT_EQ(got, expected) << expression.toStdString();
        EXPECT_EQ(pushed.filteredCount(), 0) << expression.toStdString() << " was not read by the database";
    }
}

// A view read with its filter as the WHERE clause is not filtered again row by
// row; a row inserted or changed afterwards still is.
TEST_P(DataStoreTest, RowsChangedAfterAFilteredReadAreFilteredAgain)
{
    DataStore store("d_right_group");
    ASSERT_GE(host::f_filter(store, "group_id <> '001'"), 0);
    const long read = store.rowCount();
    ASSERT_EQ(rowOf(store, "group_id", "001"), 0);
    ASSERT_EQ(store.setItem(1, "group_id", "001"), 1);
    ASSERT_EQ(store.filter(), 1);
    EXPECT_EQ(store.rowCount(), read - 1);
    EXPECT_EQ(store.filteredCount(), 1);
    const long added = store.insertRow(0);
    ASSERT_GT(added, 0);
    ASSERT_EQ(store.filter(), 1);  // a blank group id is null: the row fails the filter
    EXPECT_EQ(store.rowCount(), read - 1);
    EXPECT_EQ(store.filteredCount(), 2);
    ASSERT_EQ(store.setFilter(""), 1);
    ASSERT_EQ(store.filter(), 1);
    EXPECT_EQ(store.rowCount(), read + 1);
    EXPECT_EQ(store.filteredCount(), 0);
}

TEST_P(DataStoreTest, MalformedExpressionsAreErrorsAndChangeNothing)
{
    auto store = retrieved("d_right_group");
    ASSERT_EQ(store->setFilter("group_id = '001'"), 1);
    for (const char* text : {"group_id = '001", "group_id = ", "nosuch = 'a'", "group_id = '1' and"}) {
        EXPECT_EQ(store->find(text, 1, 99), -1) << text;
        EXPECT_FALSE(store->lastError().isEmpty());
        EXPECT_EQ(store->setFilter(text), -1) << text;
        EXPECT_EQ(host::f_filter(*store, text), -1) << text;
    }
    EXPECT_EQ(store->filterExpression(), "group_id = '001'");
    EXPECT_EQ(store->rowCount(), 4);
    // A string is no condition: the filter fails and the rows stay.
    ASSERT_EQ(store->setFilter("group_name"), 1);
    EXPECT_EQ(store->filter(), -1);
    EXPECT_EQ(store->rowCount(), 4);
}

TEST_P(DataStoreTest, FilterKeepsFilteredRowsForTheUpdate)
{
    auto store = retrieved("d_right_right_setup");
    ASSERT_EQ(store->setFilter("group_id = '002'"), 1);
    ASSERT_EQ(store->filter(), 1);
    ASSERT_EQ(store->rowCount(), 6);
    const long row = rowOf(*store, "m_item_code", "w205");
    ASSERT_EQ(store->setItem(row, "group_right", "1"), 1);
    EXPECT_TRUE(store->isProtected(row, "m_item_code"));
    EXPECT_FALSE(store->isProtected(row, "group_right"));
    const long added = store->insertRow(0);
    EXPECT_FALSE(store->isProtected(added, "m_item_code"));
    ASSERT_EQ(store->setItem(added, "group_id", "002"), 1);
    ASSERT_EQ(store->setItem(added, "m_item_code", "m101"), 1);
    ASSERT_EQ(store->update(), 1) << sqlca.sqlerrtext.toStdString();
    ASSERT_EQ(sqlca.commit(), 0);
    EXPECT_EQ(value("select group_right from s_group_power where group_id = ? and m_item_code = ?",
                    {"002", "w205"}).toString(), "1");
    EXPECT_TRUE(value("select group_right from s_group_power where group_id = ? and m_item_code = ?",
                      {"002", "m101"}).isNull());
    EXPECT_EQ(count("s_group_power", "group_id = ?", {"001"}), 10);
}

TEST_P(DataStoreTest, FailedRetrieveReturnsMinusOneAndLeavesTheError)
{
    auto store = retrieved("d_right_group");
    exec("drop table s_group");
    EXPECT_EQ(sqlca.commit(), 0);
    EXPECT_EQ(store->retrieve(), -1);
    EXPECT_EQ(sqlca.sqlcode, -1);
    EXPECT_EQ(store->rowCount(), 0);
    DataStore unbound("d_right_group");
    EXPECT_EQ(unbound.retrieve(), -1);
    DataStore unknown;
    EXPECT_FALSE(unknown.setDataObject("d_nosuch"));
}

TEST_P(DataStoreTest, ARetrieveHoldsNoReadSnapshot)
{
    auto store = retrieved("d_right_group");
    host::Transaction other;
    ASSERT_TRUE(other.connect(url())) << other.sqlerrtext.toStdString();
    ASSERT_EQ(other.execute("insert into s_group (group_id, group_name) values (?, ?)", {"009", "x"}), 0)
        << other.sqlerrtext.toStdString();
    ASSERT_EQ(other.commit(), 0) << other.sqlerrtext.toStdString();
    EXPECT_EQ(store->retrieve(), 5);
}

WMS_INSTANTIATE_DB_TESTS(DataStoreTest);

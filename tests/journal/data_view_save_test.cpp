// A data view's save (the rights editor's grid) runs through sqlca like any
// statement: its inserts, updates and deletes are journaled and revertible.
#include "journal_core/journal.h"
#include "journal_core/journal_revert.h"
#include "host/operation.h"
#include "platform/datastore.h"
#include "tests/support/test_db.h"

using host::sqlca;

class DataViewSaveTest : public testing_support::SampleDbTest {
protected:
    QStringList powers()
    {
        QList<QVariantList> rows;
        EXPECT_EQ(sqlca.selectRows("select group_id, m_item_code, group_right from s_group_power order by 1, 2", {},
                                   &rows),
                  0);
        QStringList text;
        for (const QVariantList& row : rows)
            text << row.value(0).toString() + '|' + row.value(1).toString() + '|' + row.value(2).toString();
        return text;
    }
};

TEST_P(DataViewSaveTest, TheEditorsRowsAreJournaledAndRevertedExactly)
{
    const QStringList before = powers();
    platform::DataStore store("d_right_right_setup");
    store.setTransObject(sqlca);
    ASSERT_GT(store.retrieve(), 0) << sqlca.sqlerrtext.toStdString();
    const long changed = store.find("group_id = '003' and m_item_code = 'w203'", 1, store.rowCount());
    ASSERT_GT(changed, 0);
    ASSERT_EQ(store.setItem(changed, "group_right", "2"), 1);
    const long removed = store.find("group_id = '003' and m_item_code = 'w301'", 1, store.rowCount());
    ASSERT_EQ(store.deleteRow(removed), 1);
    const long added = store.insertRow(0);
    ASSERT_EQ(store.setItem(added, "group_id", "003"), 1);
    ASSERT_EQ(store.setItem(added, "m_item_code", "w302"), 1);
    ASSERT_EQ(store.setItem(added, "group_right", "1"), 1);
    ASSERT_EQ(store.update(), 1) << sqlca.sqlerrtext.toStdString();
    ASSERT_EQ(sqlca.commit(), 0);

    QList<journal::JournalEntry> entries;
    journal::JournalFilter oldestFirst;
    oldestFirst.newestFirst = false;
    ASSERT_EQ(journal::readJournal(sqlca, oldestFirst, &entries), 0);
    QStringList actions;
    QList<qint64> ids;
    for (const journal::JournalEntry& e : entries) {
        actions << e.table + ' ' + e.action;
        ids << e.id;
    }
    EXPECT_EQ(actions, QStringList({"s_group_power delete", "s_group_power update", "s_group_power insert"}));

    host::Operation operation;
    journal::RevertOutcome outcome;
    ASSERT_EQ(journal::revertJournalEntries(sqlca, ids, {}, &outcome), 0) << outcome.reason.toStdString();
    ASSERT_EQ(operation.commit(), 0);
    EXPECT_EQ(powers(), before);
}

WMS_INSTANTIATE_DB_TESTS(DataViewSaveTest);

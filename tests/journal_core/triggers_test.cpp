// The journal's triggers: every change to the six tables, by the module (its
// operator named) or by any other client (named as such), one entry per row,
// nothing for a rolled-back transaction; a revert of another client's change;
// wms-rights upgrade's journal on a database made without it, run twice.
#include "journal_core/journal_revert.h"
#include "journal_core/journal_upgrade.h"
#include "schema/database.h"
#include "tests/journal_core/journal_fixture.h"

using host::sqlca;
using journal_test::object;
using testing_support::Backend;

namespace {

// One table's three changes: an insert, an update of a column that is not
// the key, a delete, all of one row.
struct TableCase {
    QString table;
    QString insert;
    QVariantList row;
    QString update;
    QVariantList updateParams;
    QString column;  // the updated column
    QString value;   // its new value
    QString remove;
    QVariantList key;
};

QList<TableCase> tableCases()
{
    return {
        {"s_group", "insert into s_group ( group_id , group_name ) values ( ? , ? )", {"009", "盘点组"},
         "update s_group set group_name = ? where group_id = ?", {"盘点二组", "009"}, "group_name", "盘点二组",
         "delete from s_group where group_id = ?", {"009"}},
        {"s_user_group", "insert into s_user_group ( user_code , group_code ) values ( ? , ? )", {"E001", "004"},
         "update s_user_group set group_code = ? where user_code = ? and group_code = ?", {"003", "E001", "004"},
         "group_code", "003", "delete from s_user_group where user_code = ? and group_code = ?", {"E001", "003"}},
        {"s_group_power", "insert into s_group_power ( group_id , m_item_code , group_right ) values ( ? , ? , ? )",
         {"004", "w201", "1"}, "update s_group_power set group_right = ? where group_id = ? and m_item_code = ?",
         {"2", "004", "w201"}, "group_right", "2", "delete from s_group_power where group_id = ? and m_item_code = ?",
         {"004", "w201"}},
        {"s_user", "insert into s_user ( id , password , status ) values ( ? , ? , ? )", {"E003", "", "1"},
         "update s_user set status = ? where id = ?", {"0", "E003"}, "status", "0", "delete from s_user where id = ?",
         {"E003"}},
        {"s_dept", "insert into s_dept ( dept_id , dept_name , memo ) values ( ? , ? , ? )", {"D09", "质检部", "x"},
         "update s_dept set memo = ? where dept_id = ?", {"y", "D09"}, "memo", "y",
         "delete from s_dept where dept_id = ?", {"D09"}},
        {"s_employee", "insert into s_employee ( id , name , dept_id , status ) values ( ? , ? , ? , ? )",
         {"E099", "新人", "D01", "0"}, "update s_employee set name = ? where id = ?", {"新人二", "E099"}, "name",
         "新人二", "delete from s_employee where id = ?", {"E099"}},
    };
}

}  // namespace

class TriggersTest : public journal_test::JournalFixture {
protected:
    // How the journal names a change made by a client that is not the module.
    QString external()
    {
        if (backend() == Backend::Sqlite)
            return QStringLiteral("(外部)");
        return QStringLiteral("db:") + value("select session_user").toString();
    }
    // The three changes of every table on `trans`, checked entry by entry.
    void everyTableEveryAction(host::Transaction& trans, const QString& who)
    {
        for (const TableCase& c : tableCases()) {
            SCOPED_TRACE(c.table.toStdString());
            const qsizetype before = entries().size();
            change(trans, c.insert, c.row);
            change(trans, c.update, c.updateParams);
            change(trans, c.update, c.updateParams);  // the same values again: no entry
            change(trans, c.remove, c.key);
            const QList<journal::JournalEntry> all = entries().mid(before);
            ASSERT_EQ(all.size(), 3);
            QStringList actions;
            for (const journal::JournalEntry& e : all) {
                actions << e.action;
                EXPECT_EQ(e.table, c.table);
                EXPECT_EQ(e.operatorId, who);
                EXPECT_EQ(journal::journalTime(e.changedAt), e.changedAt) << "UTC ISO 8601 with milliseconds";
            }
            EXPECT_EQ(actions, QStringList({"insert", "update", "delete"}));
            EXPECT_TRUE(all.at(0).before.isEmpty());
            EXPECT_TRUE(all.at(2).after.isEmpty());
            EXPECT_EQ(object(all.at(1).before), object(all.at(0).after));
            EXPECT_EQ(object(all.at(1).after).value(c.column).toString(), c.value);
            EXPECT_EQ(object(all.at(2).before), object(all.at(1).after));
            // The key: after the change for insert and update, before it for delete.
            const QJsonObject key = object(all.at(2).key);
            const schema::JournaledTable* table = schema::journaledTable(c.table);
            ASSERT_NE(table, nullptr);
            EXPECT_EQ(key.size(), table->keys.size());
            for (const QString& column : table->keys)
                EXPECT_EQ(key.value(column), object(all.at(2).before).value(column)) << column.toStdString();
            EXPECT_EQ(object(all.at(0).key).size(), table->keys.size());
        }
    }
};

TEST_P(TriggersTest, EveryTableAndActionOfTheModuleIsRecordedWithItsOperator)
{
    everyTableEveryAction(sqlca, QStringLiteral("E006"));
    // The login's writes name the operator logging in.
    sqlca.journalOperator = QStringLiteral("E004");
    change(sqlca, "update s_user set status = ? where id = ?", {"0", "E004"});
    sqlca.journalOperator.clear();
    EXPECT_EQ(entries().last().operatorId, "E004");
}

TEST_P(TriggersTest, EveryTableAndActionOfAnotherClientIsRecordedAsExternal)
{
    host::Transaction other;
    ASSERT_TRUE(other.connect(url()));
    other.namesOperator = false;  // a plain client of the database
    everyTableEveryAction(other, external());
    // The module's next write is its own again; the other's operator row (on
    // SQLite) never outlives its transaction.
    change(sqlca, "update s_group set group_name = ? where group_id = ?", {"仓库组", "002"});
    EXPECT_EQ(entries().last().operatorId, "E006");
    change(other, "update s_group set group_name = ? where group_id = ?", {"仓库二组", "002"});
    EXPECT_EQ(entries().last().operatorId, external());

    // A table made inside the module's write transaction does not leave its
    // operator named for the other clients after the COMMIT.
    {
        host::Operation operation;
        ASSERT_EQ(operation.execute("update s_group set group_name = ? where group_id = ?", {"仓库三组", "002"}), 0);
        ASSERT_EQ(operation.execute("create table scratch (a varchar(1))"), 0);
        ASSERT_EQ(operation.commit(), 0);
    }
    EXPECT_EQ(entries().last().operatorId, "E006");
    change(other, "update s_group set group_name = ? where group_id = ?", {"仓库四组", "002"});
    EXPECT_EQ(entries().last().operatorId, external());
}

TEST_P(TriggersTest, PasswordsAreNeverWrittenAndARolledBackChangeLeavesNothing)
{
    change(sqlca, "update s_user set password = ? where id = ?", {"$argon2id$secret-hash", "E001"});
    change(sqlca, "update s_user set status = ? where id = ?", {"0", "E001"});
    change(sqlca, "update s_user set password = ? where id = ?", {"", "E001"});
    const QList<journal::JournalEntry> all = entries();
    ASSERT_EQ(all.size(), 3);
    for (const journal::JournalEntry& e : all) {
        EXPECT_FALSE(e.before.contains("123")) << e.before.toStdString();
        EXPECT_FALSE(e.after.contains("secret-hash")) << e.after.toStdString();
    }
    EXPECT_EQ(object(all.at(0).before).value("password").toString(), "***");
    EXPECT_EQ(object(all.at(0).after).value("password").toString(), "***(已修改)");
    EXPECT_EQ(object(all.at(1).after).value("password").toString(), "***");
    EXPECT_EQ(object(all.at(2).after).value("password").toString(), "");

    {
        host::Operation operation;
        ASSERT_EQ(operation.execute("delete from s_group_power where group_id = ?", {"002"}), 0);
        operation.rollback();
    }
    host::Transaction other;
    ASSERT_TRUE(other.connect(url()));
    ASSERT_TRUE(other.beginWrite());
    ASSERT_EQ(other.execute("delete from s_user_group"), 0);
    ASSERT_EQ(other.rollback(), 0);
    EXPECT_EQ(entries().size(), 3);
    EXPECT_EQ(count("s_group_power", "group_id = ?", {"002"}), 6);
}

TEST_P(TriggersTest, AnotherClientsChangeIsRevertedLikeAnyOther)
{
    host::Transaction other;
    ASSERT_TRUE(other.connect(url()));
    change(other, "update s_group_power set group_right = ? where group_id = ? and m_item_code = ?",
           {"2", "002", "w205"});
    change(other, "delete from s_user_group where user_code = ? and group_code = ?", {"E002", "003"});
    const QList<journal::JournalEntry> made = entries();
    ASSERT_EQ(made.size(), 2);
    host::Operation operation;
    journal::RevertOutcome outcome;
    ASSERT_EQ(journal::revertJournalEntries(sqlca, {made.at(0).id, made.at(1).id}, {}, &outcome), 0)
        << outcome.reason.toStdString();
    ASSERT_EQ(operation.commit(), 0);
    EXPECT_EQ(value("select group_right from s_group_power where group_id = ? and m_item_code = ?", {"002", "w205"})
                  .toString(),
              "0");
    EXPECT_EQ(count("s_user_group", "user_code = ? and group_code = ?", {"E002", "003"}), 1);
    // The revert is the module's change, named by its operator.
    const QList<journal::JournalEntry> after = entries();
    ASSERT_EQ(after.size(), 4);
    EXPECT_EQ(after.at(2).operatorId, "E006");
    EXPECT_EQ(after.at(3).operatorId, "E006");
}

TEST_P(TriggersTest, UpgradeAddsTheJournalToAnOlderDatabaseOnceAndThenChangesNothing)
{
    dropJournal();
    ASSERT_EQ(sqlca.commit(), 0);
    EXPECT_EQ(journal::journalState(sqlca), journal::JournalState::NoTable);
    change(sqlca, "update s_group set group_name = ? where group_id = ?", {"仓库组", "002"});  // unjournaled, works

    QStringList report;
    ASSERT_EQ(journal::upgradeJournal(sqlca, &report), 0) << sqlca.sqlerrtext.toStdString();
    EXPECT_TRUE(report.contains("已创建 s_right_journal")) << report.join('\n').toStdString();
    EXPECT_FALSE(report.filter("已创建触发器").isEmpty());
    EXPECT_TRUE(report.filter("已存在").isEmpty()) << report.join('\n').toStdString();
    EXPECT_TRUE(journal::journalAvailable(sqlca));
    change(sqlca, "update s_group set group_name = ? where group_id = ?", {"仓库管理员", "002"});
    ASSERT_EQ(entries().size(), 1);
    EXPECT_EQ(entries().first().operatorId, "E006");

    // Run again: everything is there, nothing is created or changed.
    const QString functions = backend() == Backend::Postgres
                                  ? value("select string_agg(p.oid::text, ',' order by p.oid) from pg_proc p where "
                                          "p.proname like 's\\_%\\_journal'")
                                        .toString()
                                  : value("select group_concat(sql, ';') from sqlite_master where type = 'trigger'")
                                        .toString();
    ASSERT_EQ(journal::upgradeJournal(sqlca, &report), 0) << sqlca.sqlerrtext.toStdString();
    EXPECT_TRUE(report.filter("已创建").isEmpty()) << report.join('\n').toStdString();
    EXPECT_TRUE(report.contains("s_right_journal 已存在"));
    EXPECT_EQ(backend() == Backend::Postgres
                  ? value("select string_agg(p.oid::text, ',' order by p.oid) from pg_proc p where "
                          "p.proname like 's\\_%\\_journal'")
                        .toString()
                  : value("select group_concat(sql, ';') from sqlite_master where type = 'trigger'").toString(),
              functions);
    EXPECT_EQ(entries().size(), 1);
}

TEST_P(TriggersTest, UpgradeBuildsTheTriggersForTheColumnsATableHas)
{
    // A host's employee table with a column of its own.
    dropJournal();
    exec("alter table s_employee add column phone varchar(20)");
    ASSERT_EQ(sqlca.commit(), 0);
    QStringList report;
    ASSERT_EQ(journal::upgradeJournal(sqlca, &report), 0) << sqlca.sqlerrtext.toStdString();
    change(sqlca, "update s_employee set phone = ? where id = ?", {"555-0101", "E001"});
    ASSERT_EQ(entries().size(), 1);
    EXPECT_EQ(object(entries().first().after).value("phone").toString(), "555-0101");
    EXPECT_EQ(object(entries().first().before).value("name").toString(), "张伟");
}

WMS_INSTANTIATE_DB_TESTS(TriggersTest);

// The change journal: entries written in the transaction of the change,
// reverts that restore the state before, refusals when a row changed since,
// and a database without the journal table.
#include "journal_core/journal_revert.h"
#include "tests/journal_core/journal_fixture.h"

using host::sqlca;
using journal_test::object;
using testing_support::Backend;

class JournalTest : public journal_test::JournalFixture {
protected:
    // Every row of a table, ordered, as text: what a revert must restore.
    QStringList rows(const QString& table)
    {
        QList<QVariantList> read;
        EXPECT_EQ(sqlca.selectRows(QStringLiteral("select * from %1 order by 1, 2").arg(table), {}, &read), 0);
        QStringList text;
        for (const QVariantList& row : read) {
            QStringList cells;
            for (const QVariant& v : row)
                cells << (v.isNull() ? QStringLiteral("<null>") : v.toString());
            text << cells.join('|');
        }
        return text;
    }
    int revert(const QList<qint64>& ids, QString* reason, journal::RevertOutcome* outcome = nullptr)
    {
        journal::RevertOutcome own;
        journal::RevertOutcome* result = outcome ? outcome : &own;
        host::Operation operation;
        const int status = journal::revertJournalEntries(sqlca, ids, {}, result);
        *reason = result->reason;
        if (status != 0)
            return -1;
        return operation.commit();
    }
    // Makes every `what` (insert, update, delete) on `table` fail at once, or
    // only at COMMIT (a deferred constraint).
    void refuse(const QString& what, const QString& table, bool atCommit)
    {
        if (backend() == Backend::Sqlite) {
            if (!atCommit) {
                exec(QStringLiteral("create trigger refuse_%1 before %1 on %2 begin select raise(abort, 'refused'); end")
                         .arg(what, table));
                return;
            }
            exec("pragma foreign_keys = on");
            exec("create table gate_parent (id integer primary key)");
            exec("create table gate (id integer references gate_parent (id) deferrable initially deferred)");
            exec(QStringLiteral("create trigger gate_%1 after %1 on %2 begin insert into gate values (1); end")
                     .arg(what, table));
        } else {
            exec("create or replace function refuse_row() returns trigger language plpgsql as "
                 "$$ begin raise exception 'refused'; end $$");
            exec(QString::fromUtf8(atCommit ? "create constraint trigger gate_%1 after %1 on %2 deferrable initially "
                                           "deferred for each row execute function refuse_row()"
                                         : "create trigger refuse_%1 before %1 on %2 for each row execute function "
                                           "refuse_row()")
                     .arg(what, table));
        }
    }
};

TEST_P(JournalTest, EveryChangedRowIsRecordedWithItsStateBeforeAndAfter)
{
    ASSERT_TRUE(journal::journalAvailable(sqlca));
    EXPECT_TRUE(entries().isEmpty()) << "loading the sample is not journaled";

    change("insert into s_group ( group_id , group_name ) values ( ? , ? )", {"009", "盘点组"});
    change("update s_group set group_name = ? where group_id = ?", {"盘点组二", "009"});
    change("update s_group set group_name = ? where group_id = ?", {"盘点组二", "009"});  // nothing changes
    change("delete from s_user_group where group_code = ?", {"002"});                    // two members
    change("update s_user set password = ? where id = ?", {"new-secret-hash", "E001"});

    const QList<journal::JournalEntry> all = entries();
    ASSERT_EQ(all.size(), 5);
    EXPECT_EQ(all.at(0).action, "insert");
    EXPECT_EQ(all.at(0).table, "s_group");
    EXPECT_EQ(all.at(0).operatorId, "E006");
    EXPECT_TRUE(all.at(0).before.isEmpty());
    EXPECT_EQ(object(all.at(0).after), object(R"({"group_id":"009","group_name":"盘点组"})"));
    EXPECT_EQ(object(all.at(0).key), object(R"({"group_id":"009"})"));
    EXPECT_FALSE(journal::journalTime(all.at(0).changedAt).isEmpty());

    EXPECT_EQ(all.at(1).action, "update");
    EXPECT_EQ(object(all.at(1).before).value("group_name").toString(), "盘点组");
    EXPECT_EQ(object(all.at(1).after).value("group_name").toString(), "盘点组二");

    for (int i : {2, 3}) {
        EXPECT_EQ(all.at(i).action, "delete");
        EXPECT_EQ(all.at(i).table, "s_user_group");
        EXPECT_TRUE(all.at(i).after.isEmpty());
        EXPECT_EQ(object(all.at(i).before).value("group_code").toString(), "002");
    }

    // A password is never written: only that it changed.
    EXPECT_EQ(all.at(4).table, "s_user");
    EXPECT_FALSE(all.at(4).before.contains("123")) << all.at(4).before.toStdString();
    EXPECT_FALSE(all.at(4).after.contains("new-secret-hash"));
    EXPECT_EQ(object(all.at(4).after).value("password").toString(), "***(已修改)");
}

TEST_P(JournalTest, ARefusedStatementOrCommitLeavesNoEntry)
{
    refuse("update", "s_group", false);
    {
        host::Operation operation;
        EXPECT_EQ(operation.execute("update s_group set group_name = ? where group_id = ?", {"新名", "002"}), -1);
        operation.rollback();
    }
    refuse("insert", "s_dept", true);
    {
        host::Operation operation;
        ASSERT_EQ(operation.execute("insert into s_dept ( dept_id , dept_name ) values ( ? , ? )", {"D99", "临时"}), 0);
        EXPECT_EQ(operation.commit(), -1);
    }
    EXPECT_TRUE(entries().isEmpty());
    host::Transaction other;
    ASSERT_TRUE(other.connect(url()));
    EXPECT_EQ(other.selectValue("select count(*) from s_right_journal").toLongLong(), 0);

    // The same statement, accepted, is journaled; the entry is seen by another
    // client only once committed.
    {
        host::Operation operation;
        ASSERT_EQ(operation.execute("update s_employee set name = ? where id = ?", {"张伟伟", "E001"}), 0);
        EXPECT_EQ(other.selectValue("select count(*) from s_right_journal").toLongLong(), 0);
        ASSERT_EQ(operation.commit(), 0);
    }
    EXPECT_EQ(other.selectValue("select count(*) from s_right_journal").toLongLong(), 1);
}

TEST_P(JournalTest, ARevertRestoresExactlyTheStateBefore)
{
    const QStringList groups = rows("s_group");
    const QStringList members = rows("s_user_group");
    const QStringList powers = rows("s_group_power");

    change("insert into s_group ( group_id , group_name ) values ( ? , ? )", {"009", "盘点组"});
    change("update s_group_power set m_item_code = ? , group_right = ? where group_id = ? and m_item_code = ?",
           {"w999", "2", "003", "w203"});  // a key renamed
    change("delete from s_user_group where group_code = ?", {"002"});
    change("update s_user_group set group_code = ? where group_code = ?", {"009", "003"});
    ASSERT_NE(rows("s_group_power"), powers);
    const QList<journal::JournalEntry> made = entries();
    ASSERT_EQ(made.size(), 6);

    QList<qint64> ids;
    for (const journal::JournalEntry& e : made)
        ids << e.id;
    QString reason;
    ASSERT_EQ(revert(ids, &reason), 0) << reason.toStdString();
    EXPECT_EQ(rows("s_group"), groups);
    EXPECT_EQ(rows("s_user_group"), members);
    EXPECT_EQ(rows("s_group_power"), powers);

    // The revert is journaled as changes of its own, and can itself be reverted.
    const QList<journal::JournalEntry> after = entries();
    ASSERT_EQ(after.size(), 12);
    EXPECT_EQ(after.last().action, "delete");  // the inserted group, reverted last
    QList<qint64> again;
    for (qsizetype i = 6; i < after.size(); ++i)
        again << after.at(i).id;
    ASSERT_EQ(revert(again, &reason), 0) << reason.toStdString();
    EXPECT_EQ(value("select group_name from s_group where group_id = ?", {"009"}).toString(), "盘点组");
    EXPECT_EQ(value("select group_right from s_group_power where group_id = ? and m_item_code = ?", {"003", "w999"})
                  .toString(),
              "2");
}

TEST_P(JournalTest, AStatementThatChangesManyRowsIsJournaledRowByRow)
{
    {
        host::Operation operation;
        for (int i = 0; i < 130; ++i)
            ASSERT_EQ(operation.execute("insert into s_group_power ( group_id , m_item_code , group_right ) values ( ? "
                                        ", ? , ? )",
                                        {"009", QStringLiteral("x%1").arg(i, 3, 10, QLatin1Char('0')), "1"}),
                      0);
        ASSERT_EQ(operation.commit(), 0);
    }
    change("delete from s_right_journal");  // only the two updates count here
    const QStringList before = rows("s_group_power");
    change("update s_group_power set group_right = ? , m_item_code = m_item_code where group_id = ?", {"2", "009"});
    change("update s_group_power set group_id = ? where group_id = ?", {"008", "009"});
    const QList<journal::JournalEntry> all = entries();
    ASSERT_EQ(all.size(), 260);
    EXPECT_EQ(object(all.at(129).before).value("m_item_code").toString(), "x129");
    EXPECT_EQ(object(all.at(129).after).value("group_right").toString(), "2");
    EXPECT_EQ(object(all.at(259).key), object(R"({"group_id":"008","m_item_code":"x129"})"));

    QList<qint64> ids;
    for (const journal::JournalEntry& e : all)
        ids << e.id;
    QString reason;
    ASSERT_EQ(revert(ids, &reason), 0) << reason.toStdString();
    EXPECT_EQ(rows("s_group_power"), before);
}

TEST_P(JournalTest, ARevertIsRefusedWhenTheRowChangedSinceAndChangesNothing)
{
    change("update s_group set group_name = ? where group_id = ?", {"仓库组", "002"});
    change("insert into s_dept ( dept_id , dept_name ) values ( ? , ? )", {"D09", "质检部"});
    QList<qint64> ids;
    for (const journal::JournalEntry& e : entries())
        ids << e.id;
    ASSERT_EQ(ids.size(), 2);

    // Another client renames the group afterwards.
    {
        host::Transaction other;
        ASSERT_TRUE(other.connect(url()));
        ASSERT_EQ(other.execute("update s_group set group_name = ? where group_id = ?", {"仓管", "002"}), 0);
        ASSERT_EQ(other.commit(), 0);
    }
    const QStringList depts = rows("s_dept");
    QString reason;
    EXPECT_EQ(revert(ids, &reason), -1);
    EXPECT_TRUE(reason.contains("已被修改")) << reason.toStdString();
    EXPECT_TRUE(reason.contains("s_group")) << reason.toStdString();
    // The whole selection is one transaction: the department stays too.
    EXPECT_EQ(rows("s_dept"), depts);
    EXPECT_EQ(value("select group_name from s_group where group_id = ?", {"002"}).toString(), "仓管");
    EXPECT_EQ(entries().size(), 3);  // the other client's change is journaled; nothing of the revert

    // A deleted row that is back cannot be reverted either.
    change("delete from s_dept where dept_id = ?", {"D09"});
    change("insert into s_dept ( dept_id , dept_name ) values ( ? , ? )", {"D09", "质检部"});
    const qint64 deleted = entries().at(3).id;
    EXPECT_EQ(revert({deleted}, &reason), -1);
}

// The journal holds "***" for a password, never the password: a revert
// writes nothing of it. An update's revert keeps the current password, a
// deleted operator comes back without one.
TEST_P(JournalTest, ARevertNeverWritesAPasswordFromTheJournal)
{
    const auto password = [this](const QString& id) {
        return value("select password from s_user where id = ?", {id}).toString();
    };
    // 设置密码 on an operator who had none: undoing it must not empty it.
    change("update s_user set password = ? where id = ?", {"", "E002"});
    const qint64 cleared = entries().last().id;
    change("update s_user set password = ? where id = ?", {"$argon2id$new", "E002"});
    const qint64 set = entries().last().id;
    QString reason;
    journal::RevertOutcome outcome;
    ASSERT_EQ(revert({set}, &reason, &outcome), 0) << reason.toStdString();
    EXPECT_EQ(password("E002"), "$argon2id$new");
    EXPECT_EQ(outcome.passwordKept, QStringList({"E002"}));

    // A status and a password changed together: the status goes back only.
    change("update s_user set status = ? , password = ? where id = ?", {"0", "$argon2id$other", "E002"});
    ASSERT_EQ(revert({entries().last().id}, &reason, &outcome), 0) << reason.toStdString();
    EXPECT_EQ(value("select status from s_user where id = ?", {"E002"}).toString(), "1");
    EXPECT_EQ(password("E002"), "$argon2id$other");
    // The password changed since an entry does not stand in its way.
    ASSERT_EQ(revert({cleared}, &reason, &outcome), 0) << reason.toStdString();
    EXPECT_EQ(password("E002"), "$argon2id$other");

    // A deleted operator with a password comes back with an empty one (not
    // "***"), and the outcome names the operator.
    change("delete from s_user where id = ?", {"E001"});
    ASSERT_EQ(revert({entries().last().id}, &reason, &outcome), 0) << reason.toStdString();
    EXPECT_EQ(outcome.restoredWithoutPassword, QStringList({"E001"}));
    EXPECT_EQ(password("E001"), "");
    EXPECT_EQ(value("select status from s_user where id = ?", {"E001"}).toString(), "1");
}

// An entry edited by hand so that a state is no longer a whole row of its
// table is refused, naming it, and nothing is changed.
TEST_P(JournalTest, AnEntryThatIsNotAWholeRowIsRefused)
{
    change("update s_user set status = ? where id = ?", {"0", "E001"});
    const qint64 user = entries().last().id;
    change("update s_group_power set group_right = ? where group_id = ? and m_item_code = ?", {"2", "003", "w203"});
    const qint64 power = entries().last().id;
    change("delete from s_group where group_id = ?", {"004"});
    const qint64 group = entries().last().id;
    const QString hash = value("select password from s_user where id = ?", {"E001"}).toString();

    host::Transaction other;
    ASSERT_TRUE(other.connect(url()));
    const auto edit = [&other](const QString& column, const QString& json, qint64 id) {
        ASSERT_EQ(other.execute(QStringLiteral("update s_right_journal set %1 = ? where id = ?").arg(column), {json, id}), 0)
            << other.sqlerrtext.toStdString();
        ASSERT_EQ(other.commit(), 0);
    };
    const long long journalRows = count("s_right_journal");
    const QStringList powers = rows("s_group_power");
    QString reason;
    struct Case {
        const char* what;
        QString column;
        QString json;
        qint64 id;
        const char* detail;
    };
    const QList<Case> cases = {
        {"after-state without the password", "after_value", R"({"id":"E001","status":"0"})", user, "缺少列 password"},
        {"before-state without the password", "before_value", R"({"id":"E001","status":"1"})", user, "缺少列 password"},
        {"before-state without the level", "before_value", R"({"group_id":"003","m_item_code":"w203"})", power,
         "缺少列 group_right"},
        {"a level as a number", "before_value", R"({"group_id":"003","m_item_code":"w203","group_right":1})", power,
         "不是文本"},
        {"a column the table lacks", "before_value", R"({"group_id":"004","group_name":"财务组","x":"1"})", group,
         "表中没有列 x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QString original = other.selectValue(QStringLiteral("select %1 from s_right_journal where id = ?")
                                                       .arg(c.column),
                                                   {c.id})
                                     .toString();
        edit(c.column, c.json, c.id);
        EXPECT_EQ(revert({group, power, user}, &reason), -1);
        EXPECT_TRUE(reason.startsWith(QStringLiteral("变更 %1 无法撤销").arg(c.id))) << reason.toStdString();
        EXPECT_TRUE(reason.contains(c.detail)) << reason.toStdString();
        EXPECT_EQ(value("select password from s_user where id = ?", {"E001"}).toString(), hash);
        EXPECT_EQ(value("select status from s_user where id = ?", {"E001"}).toString(), "0");
        EXPECT_EQ(rows("s_group_power"), powers);
        EXPECT_EQ(count("s_group", "group_id = ?", {"004"}), 0);
        EXPECT_EQ(count("s_right_journal"), journalRows);
        edit(c.column, original, c.id);
    }
    // Whole again, the three are reverted.
    ASSERT_EQ(revert({group, power, user}, &reason), 0) << reason.toStdString();
    EXPECT_EQ(value("select status from s_user where id = ?", {"E001"}).toString(), "1");
    EXPECT_EQ(value("select password from s_user where id = ?", {"E001"}).toString(), hash);
}

TEST_P(JournalTest, WithoutTheJournalEveryWriteWorksAndNothingIsJournaled)
{
    dropJournal();  // a database made before the database kept the journal
    EXPECT_EQ(journal::journalState(sqlca), journal::JournalState::NoTable);
    change("update s_group set group_name = ? where group_id = ?", {"仓库组", "002"});
    change("insert into s_group select ? , ?", {"010", "x"});
    EXPECT_EQ(value("select group_name from s_group where group_id = ?", {"002"}).toString(), "仓库组");
    QString reason;
    EXPECT_EQ(revert({1}, &reason), -1);
    EXPECT_TRUE(reason.contains("s_right_journal"));
    QList<journal::JournalEntry> read;
    EXPECT_EQ(journal::readJournal(sqlca, {}, &read), -1);
}

TEST_P(JournalTest, AStatementOfAnyShapeIsJournaledRowByRow)
{
    // Statements no client-side reader could follow: an insert from a select,
    // a computed key, a write behind WITH.
    change("insert into s_group select ? , ?", {"01", "x"});
    change("update s_group set group_id = group_id || 'a' where group_id = ?", {"01"});
    change("with g as ( select ? as id ) delete from s_group where group_id in ( select id from g )", {"01a"});
    const QList<journal::JournalEntry> all = entries();
    ASSERT_EQ(all.size(), 3);
    EXPECT_EQ(object(all.at(0).after), object(R"({"group_id":"01","group_name":"x"})"));
    EXPECT_EQ(object(all.at(1).key), object(R"({"group_id":"01a"})"));
    EXPECT_EQ(object(all.at(1).before).value("group_id").toString(), "01");
    EXPECT_EQ(all.at(2).action, "delete");
    EXPECT_EQ(object(all.at(2).key), object(R"({"group_id":"01a"})"));
    // Other tables are not journaled.
    change("insert into s_moudle_item ( m_item_code , name ) values ( ? , ? )", {"w999", "x"});
    EXPECT_EQ(entries().size(), 3);
}

WMS_INSTANTIATE_DB_TESTS(JournalTest);

TEST(JournalTime, AcceptsIsoTimesOnly)
{
    EXPECT_EQ(journal::journalTime("2026-12-08T09:00:00+08:00"), "2026-12-08T01:00:00.000Z");
    EXPECT_EQ(journal::journalTime("2026-12-08T01:00:00Z"), "2026-12-08T01:00:00.000Z");
    EXPECT_FALSE(journal::journalTime("2026-12-08").isEmpty());
    EXPECT_TRUE(journal::journalTime("yesterday").isEmpty());
    EXPECT_TRUE(journal::journalTime("2026-13-01").isEmpty());
    EXPECT_TRUE(journal::journalTime("").isEmpty());
}

// The stress run's checker must see each kind of violation it reports: a
// checker that passes everything would make the 60-s run worthless.

#include "tests/stress/stress_checks.h"

#include <QJsonDocument>
#include <gtest/gtest.h>

namespace {

using stress::OperationRecord;
using stress::RunResult;

constexpr qint64 kMs = 1000000;
const qint64 kT0 = 1796000000000LL;  // a millisecond of 2026, as the journal writes it

QString json(const QJsonObject& row)
{
    return QString::fromUtf8(QJsonDocument(row).toJson(QJsonDocument::Compact));
}

QJsonObject member(const QString& user, const QString& group)
{
    return {{"user_code", user}, {"group_code", group}};
}

class StressChecks : public ::testing::Test {
protected:
    void SetUp() override
    {
        run.clients = 2;
        run.seed = stress::seedState(2);
        run.final = run.seed;
        run.finalAdministrators = stress::administrators(run.seed);
    }

    // An operation of client `client` over milliseconds [at, at + 1].
    OperationRecord& operation(int client, qint64 at, const QString& kind, bool committed)
    {
        OperationRecord record;
        record.client = client;
        record.sequence = int(run.records.size()) + 1;
        record.kind = kind;
        record.startNs = (kT0 + at) * kMs;
        record.endNs = (kT0 + at + 1) * kMs;
        record.committed = committed;
        record.refusal = committed ? stress::Refusal::None : stress::Refusal::ChangedMeanwhile;
        run.records << record;
        return run.records.last();
    }

    // A journal entry of client `client` at millisecond `at`.
    void entry(int client, qint64 at, const QString& action, const QJsonObject& before, const QJsonObject& after)
    {
        journal::JournalEntry e;
        e.id = run.journal.size() + 1;
        e.changedAt = QDateTime::fromMSecsSinceEpoch(kT0 + at)
                          .toUTC()
                          .toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss.zzz'Z'"));
        e.operatorId = stress::clientOperator(client);
        e.table = QStringLiteral("s_user_group");
        e.action = action;
        e.before = before.isEmpty() ? QString() : json(before);
        e.after = after.isEmpty() ? QString() : json(after);
        run.journal << e;
    }

    // Client 1 removes a membership at `at`; its entry and the final state agree.
    void remove(qint64 at, const QString& user, const QString& group)
    {
        OperationRecord& record = operation(1, at, "membership delete", true);
        record.changes << stress::RowChange{"s_user_group", "delete", member(user, group), QJsonValue()};
        entry(1, at, "delete", member(user, group), {});
        run.final.memberships.remove({user, group});
    }
    void removeA1() { remove(10, "A1", "G1"); }

    QStringList failed() const
    {
        QStringList names;
        for (const stress::Invariant& invariant : stress::checkRun(run)) {
            if (!invariant.violations.isEmpty())
                names << invariant.name.section(QLatin1Char(' '), 0, 2);
        }
        return names;
    }

    RunResult run;
};

TEST_F(StressChecks, ARunWhoseJournalMatchesItsRecordsPasses)
{
    removeA1();
    operation(2, 20, "membership delete", false);  // refused, nothing left
    EXPECT_EQ(failed(), QStringList());
}

TEST_F(StressChecks, EntriesThatDoNotMatchWhatTheClientReadOrDidFail)
{
    // A lost update: the delete took a row other than the one read.
    OperationRecord& record = operation(1, 10, "membership delete", true);
    record.changes << stress::RowChange{"s_user_group", "delete", member("A1", "G1"), QJsonValue()};
    entry(1, 10, "delete", member("A6", "G1"), {});
    run.final.memberships.remove({"A6", "G1"});
    EXPECT_EQ(failed(), QStringList{"every operation took"});

    // A refused operation that left an entry, and an entry of no operation.
    run = {};
    SetUp();
    operation(1, 10, "membership delete", false);
    entry(1, 10, "delete", member("A1", "G1"), {});
    entry(2, 50, "delete", member("A6", "G1"), {});
    run.final.memberships.remove({"A1", "G1"});
    run.final.memberships.remove({"A6", "G1"});
    EXPECT_TRUE(failed().contains("every operation took"));
}

TEST_F(StressChecks, AChangeWithoutItsEntryFails)
{
    removeA1();
    run.final.memberships.remove({"A2", "G2"});  // changed, never journaled
    EXPECT_EQ(failed(), QStringList{"every committed row"});

    run.final.memberships.insert({"A2", "G2"});
    run.records.first().changes << stress::RowChange{"s_user_group", "delete", member("A2", "G2"), QJsonValue()};
    EXPECT_TRUE(failed().contains("every committed row"));
}

TEST_F(StressChecks, ACommitThatLeavesNoAdministratorFailsEvenWhenOneComesBackLater)
{
    // A1, A2, A3 and A6 administer: four removals, then A1 is added again.
    remove(10, "A1", "G1");
    remove(20, "A2", "G2");
    remove(30, "A3", "G3");
    remove(40, "A6", "G1");
    OperationRecord& add = operation(2, 50, "membership add", true);
    add.changes << stress::RowChange{"s_user_group", "insert", QJsonValue(), member("A1", "G1")};
    entry(2, 50, "insert", {}, member("A1", "G1"));
    run.final.memberships.insert({"A1", "G1"});
    EXPECT_EQ(failed(), QStringList{"the lock-out guard"});
}

TEST_F(StressChecks, AnAddThatMayHaveCommittedBeforeAGuardedCommitCountsForIt)
{
    // S2 adds A4 to G1 while S1 removes the last administrators: the add
    // began before S1's last commit, so S1's guard may have counted A4.
    OperationRecord& add = operation(2, 5, "membership add", true);
    add.endNs = (kT0 + 60) * kMs;
    add.changes << stress::RowChange{"s_user_group", "insert", QJsonValue(), member("A4", "G1")};
    remove(10, "A2", "G2");
    remove(20, "A3", "G3");
    remove(30, "A6", "G1");
    remove(40, "A1", "G1");
    entry(2, 55, "insert", {}, member("A4", "G1"));
    run.final.memberships.insert({"A4", "G1"});
    run.finalAdministrators = stress::administrators(run.final);
    EXPECT_EQ(failed(), QStringList());
}

TEST_F(StressChecks, AHungClientOrAnUnexplainedRefusalFails)
{
    operation(1, 10, "rights save", false).refusal = stress::Refusal::Unclassified;
    EXPECT_EQ(failed(), QStringList{"no deadlock went"});
    run.records.clear();
    run.hungOrFailedClients << "S2: still running 30 s after its run time, killed";
    EXPECT_EQ(failed(), QStringList{"no deadlock went"});
}

}  // namespace

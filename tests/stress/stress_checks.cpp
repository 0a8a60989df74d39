#include "tests/stress/stress_checks.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QMap>
#include <algorithm>
#include <limits>

namespace stress {

namespace {

// The kinds that change what the lock-out guard counts and ask it.
bool isGuarded(const OperationRecord& record)
{
    return record.kind != QStringLiteral("membership add") && record.kind != QStringLiteral("group rename");
}

QJsonValue parsed(const QString& text)
{
    if (text.isEmpty())
        return QJsonValue();
    return QJsonDocument::fromJson(text.toUtf8()).object();
}

qint64 entryMs(const journal::JournalEntry& entry)
{
    return QDateTime::fromString(entry.changedAt, Qt::ISODateWithMs).toMSecsSinceEpoch();
}

QString describe(const OperationRecord& record)
{
    return QStringLiteral("S%1 #%2 %3").arg(record.client).arg(record.sequence).arg(record.kind);
}

bool matches(const RowChange& change, const journal::JournalEntry& entry)
{
    return change.table == entry.table && change.action == entry.action && change.before == parsed(entry.before) &&
           change.after == parsed(entry.after);
}

void apply(RightsState& state, const journal::JournalEntry& entry)
{
    const QJsonObject before = parsed(entry.before).toObject();
    const QJsonObject after = parsed(entry.after).toObject();
    const auto text = [](const QJsonObject& row, const char* column) { return row.value(QLatin1String(column)).toString(); };
    if (entry.table == QStringLiteral("s_group")) {
        if (!before.isEmpty())
            state.groupNames.remove(text(before, "group_id"));
        if (!after.isEmpty())
            state.groupNames.insert(text(after, "group_id"), text(after, "group_name"));
    } else if (entry.table == QStringLiteral("s_user_group")) {
        if (!before.isEmpty())
            state.memberships.remove({text(before, "user_code"), text(before, "group_code")});
        if (!after.isEmpty())
            state.memberships.insert({text(after, "user_code"), text(after, "group_code")});
    } else if (entry.table == QStringLiteral("s_group_power")) {
        if (!before.isEmpty())
            state.levels.remove({text(before, "group_id"), text(before, "m_item_code")});
        if (!after.isEmpty())
            state.levels.insert({text(after, "group_id"), text(after, "m_item_code")}, text(after, "group_right"));
    }
}

QString compact(const QJsonValue& row)
{
    return row.isObject() ? QString::fromUtf8(QJsonDocument(row.toObject()).toJson(QJsonDocument::Compact))
                          : QStringLiteral("(no row)");
}

// The row's key as a JSON object of its key columns.
QJsonObject keyOf(const QString& table, const QJsonValue& before, const QJsonValue& after)
{
    const QJsonObject row = after.isObject() ? after.toObject() : before.toObject();
    QJsonObject key;
    if (const journal::JournaledTable* known = journal::journaledTable(table)) {
        for (const QString& column : known->keys)
            key.insert(column, row.value(column));
    }
    return key;
}

// Why no entry of the operation is `change`: the row was written from a
// state other than the one read (a change made meanwhile overwritten), or
// no entry names it at all.
QString missing(const RowChange& change, const QList<qsizetype>& entries, const RunResult& run)
{
    const QJsonObject key = keyOf(change.table, change.before, change.after);
    for (qsizetype e : entries) {
        const journal::JournalEntry& entry = run.journal.at(e);
        if (entry.table == change.table && keyOf(entry.table, parsed(entry.before), parsed(entry.after)) == key)
            return QStringLiteral("its %1 of %2 %3 found %4, not the %5 it read (overwrote a change made meanwhile)")
                .arg(change.action, change.table, compact(key), compact(parsed(entry.before)), compact(change.before));
    }
    return QStringLiteral("its %1 of %2 %3 → %4 has no journal entry of the operation")
        .arg(change.action, change.table, compact(change.before), compact(change.after));
}

void limit(QStringList& violations, const QString& violation)
{
    if (violations.size() < 20)
        violations << violation;
    else if (violations.size() == 20)
        violations << QStringLiteral("…");
}

}  // namespace

QList<Invariant> checkRun(const RunResult& run)
{
    // Every entry of a client's operator belongs to the one operation of
    // that client whose time holds it: a client runs one at a time, each in
    // later milliseconds than the one before.
    QList<QList<qsizetype>> entriesOf(run.records.size());
    QHash<QString, QList<qsizetype>> recordsOf;  // operator → its operations, in order
    for (qsizetype r = 0; r < run.records.size(); ++r)
        recordsOf[QStringLiteral("S%1").arg(run.records.at(r).client)] << r;
    for (QList<qsizetype>& list : recordsOf)
        std::sort(list.begin(), list.end(), [&run](qsizetype a, qsizetype b) {
            return run.records.at(a).startNs < run.records.at(b).startNs;
        });
    QStringList orphans;
    for (qsizetype e = 0; e < run.journal.size(); ++e) {
        const journal::JournalEntry& entry = run.journal.at(e);
        const qint64 ms = entryMs(entry);
        qsizetype owner = -1;
        const QList<qsizetype> candidates = recordsOf.value(entry.operatorId);
        // The last operation that started in or before the entry's millisecond.
        const auto after = std::upper_bound(candidates.begin(), candidates.end(), ms, [&run](qint64 t, qsizetype r) {
            return t < run.records.at(r).startNs / 1000000;
        });
        if (after != candidates.begin() && ms <= run.records.at(*(after - 1)).endNs / 1000000)
            owner = *(after - 1);
        if (owner < 0)
            limit(orphans, QStringLiteral("journal entry %1 (%2, %3 %4) belongs to no operation of its client")
                               .arg(entry.id)
                               .arg(entry.operatorId, entry.action, entry.table));
        else
            entriesOf[owner] << e;
    }

    Invariant seen{QStringLiteral("every operation took effect exactly as its client saw it, or was refused and "
                                  "left nothing"),
                   orphans,
                   {}};
    qsizetype committedChanges = 0;
    for (qsizetype r = 0; r < run.records.size(); ++r) {
        const OperationRecord& record = run.records.at(r);
        const QList<qsizetype>& mine = entriesOf.at(r);
        if (!record.committed) {
            if (!mine.isEmpty())
                limit(seen.violations, QStringLiteral("%1 was %2 but left %3 journal entries")
                                           .arg(describe(record), record.skipped ? "skipped" : "refused")
                                           .arg(mine.size()));
            continue;
        }
        committedChanges += record.changes.size();
        QList<qsizetype> unmatched = mine;
        for (const RowChange& change : record.changes) {
            const auto found = std::find_if(unmatched.begin(), unmatched.end(),
                                            [&](qsizetype e) { return matches(change, run.journal.at(e)); });
            if (found == unmatched.end()) {
                limit(seen.violations, QStringLiteral("%1 committed, but %2").arg(describe(record), missing(change, mine, run)));
            } else {
                unmatched.erase(found);
            }
        }
        if (!unmatched.isEmpty())
            limit(seen.violations, QStringLiteral("%1 committed %2 row change(s) it did not make")
                                       .arg(describe(record))
                                       .arg(unmatched.size()));
    }

    // One entry per committed row change, client by client, and the journal
    // replayed on the seed gives the database's final state.
    Invariant once{QStringLiteral("every committed row change has exactly one journal entry"), {}, {}};
    QMap<int, QPair<qsizetype, qsizetype>> perClient;  // client → (changes, entries)
    for (const OperationRecord& record : run.records) {
        if (record.committed)
            perClient[record.client].first += record.changes.size();
    }
    for (const journal::JournalEntry& entry : run.journal)
        perClient[entry.operatorId.mid(1).toInt()].second += 1;
    for (auto it = perClient.cbegin(); it != perClient.cend(); ++it) {
        if (it->first != it->second)
            limit(once.violations, QStringLiteral("S%1: %2 row changes committed, %3 journal entries")
                                       .arg(it.key())
                                       .arg(it->first)
                                       .arg(it->second));
    }
    RightsState replayed = run.seed;
    for (const journal::JournalEntry& entry : run.journal)
        apply(replayed, entry);
    if (replayed.groupNames != run.final.groupNames)
        limit(once.violations, QStringLiteral("the journal replayed on the seed does not give the groups' names"));
    if (replayed.memberships != run.final.memberships)
        limit(once.violations, QStringLiteral("the journal replayed on the seed does not give the memberships"));
    if (replayed.levels != run.final.levels)
        limit(once.violations, QStringLiteral("the journal replayed on the seed does not give the rights"));
    once.detail = QStringLiteral("%1 committed row changes, %2 journal entries")
                      .arg(committedChanges)
                      .arg(run.journal.size());

    // The lock-out guard: guarded operations commit one after the other, so
    // ordered by their first journal entry (ids are taken in order) each one's
    // commit sees the seed and everything ordered before it. A membership add
    // takes no lock: one that may have committed by then counts (an add can
    // only add administrators, so counting it never hides a violation that
    // the guard could have seen).
    Invariant guard{QStringLiteral("the lock-out guard was never violated"), {}, {}};
    QList<qsizetype> order;  // committed operations with entries, by first entry
    QHash<qsizetype, qint64> firstId;
    for (qsizetype r = 0; r < run.records.size(); ++r) {
        if (!run.records.at(r).committed || entriesOf.at(r).isEmpty())
            continue;
        qint64 first = std::numeric_limits<qint64>::max();
        for (qsizetype e : entriesOf.at(r))
            first = std::min(first, run.journal.at(e).id);
        firstId.insert(r, first);
        order << r;
    }
    std::sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) { return firstId.value(a) < firstId.value(b); });
    QList<qsizetype> adds;
    for (qsizetype r : std::as_const(order)) {
        if (run.records.at(r).kind == QStringLiteral("membership add"))
            adds << r;
    }
    int guardedCommits = 0;
    int least = administrators(run.seed);
    if (least < 1)
        limit(guard.violations, QStringLiteral("the seed has no administrator"));
    // The operations in that order, each one's entries applied in turn (an
    // entry of another operation between two of its own never names the
    // same row: the row's lock orders them).
    RightsState sofar = run.seed;
    for (qsizetype g : std::as_const(order)) {
        for (qsizetype e : entriesOf.at(g))
            apply(sofar, run.journal.at(e));
        const OperationRecord& committed = run.records.at(g);
        if (!isGuarded(committed))
            continue;
        ++guardedCommits;
        RightsState state = sofar;
        for (qsizetype a : std::as_const(adds)) {
            if (firstId.value(a) > firstId.value(g) && run.records.at(a).startNs < committed.endNs) {
                for (qsizetype e : entriesOf.at(a))
                    apply(state, run.journal.at(e));
            }
        }
        const int count = administrators(state);
        least = std::min(least, count);
        if (count < 1)
            limit(guard.violations, QStringLiteral("after %1 nobody but admin can administer").arg(describe(committed)));
    }
    const int atEnd = administrators(run.final);
    if (atEnd < 1 || run.finalAdministrators < 1)
        limit(guard.violations, QStringLiteral("at the end nobody but admin can administer (%1 counted by the module)")
                                    .arg(run.finalAdministrators));
    guard.detail = QStringLiteral("%1 guarded commits checked, fewest administrators %2, at the end %3")
                       .arg(guardedCommits)
                       .arg(least)
                       .arg(atEnd);

    Invariant reported{QStringLiteral("no deadlock went unreported: no client hung, every refusal classified"),
                       run.hungOrFailedClients,
                       {}};
    for (const OperationRecord& record : run.records) {
        if (!record.committed && !record.skipped && record.refusal == Refusal::Unclassified)
            limit(reported.violations, QStringLiteral("%1 was refused without a reason").arg(describe(record)));
    }
    return {seen, guard, once, reported};
}

}  // namespace stress

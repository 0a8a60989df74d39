#pragma once
// The invariants of a stress run, checked afterwards from the clients'
// records, the journal and the database's final state.

#include "journal_core/journal.h"
#include "tests/stress/stress_data.h"
#include "tests/stress/stress_record.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace stress {

struct RunResult {
    int clients = 0;
    QList<OperationRecord> records;
    QList<journal::JournalEntry> journal;  // oldest first
    RightsState seed;
    RightsState final;
    long long finalAdministrators = -1;  // rights::administratorCount at the end
    QStringList hungOrFailedClients;     // "S3: ..." for a client that hung or did not end well
};

struct Invariant {
    QString name;
    QStringList violations;  // empty: ok
    QString detail;          // figures behind the verdict
};

QList<Invariant> checkRun(const RunResult& run);

}  // namespace stress

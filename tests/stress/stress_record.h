#pragma once
// What a stress client did in one operation, written as one JSON line: what
// it read, the row changes it meant to make, and whether they were committed
// or refused (and why).

#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QString>

namespace stress {

// Why an operation was refused.
enum class Refusal { None, ChangedMeanwhile, Guard, LockTimeout, Deadlock, OtherError, Unclassified };
QString refusalName(Refusal refusal);
Refusal refusalFromName(const QString& name);
// The reason a refusal's text gives (a message box's text, the database's
// error): Unclassified for an empty text.
Refusal classify(const QString& text);

// One row the operation changes, as the journal records it: the whole row
// before and after (JSON null where there is none).
struct RowChange {
    QString table;
    QString action;  // insert, update, delete
    QJsonValue before;
    QJsonValue after;
};

struct OperationRecord {
    int client = 0;
    int sequence = 0;
    QString kind;
    qint64 startNs = 0;  // wall clock, before the first read
    qint64 endNs = 0;    // after the COMMIT or ROLLBACK returned
    bool committed = false;
    bool skipped = false;  // nothing to do with what was read; wrote nothing
    Refusal refusal = Refusal::None;
    QString reason;       // the text the refusal was classified from
    QJsonObject read;     // what the client read that decided the write
    QList<RowChange> changes;
    int boxes = 0;        // message boxes shown

    QJsonObject toJson() const;
    static OperationRecord fromJson(const QJsonObject& json);
};

// Nanoseconds since the epoch (the same clock in every client process).
qint64 nowNs();

}  // namespace stress

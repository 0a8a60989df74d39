#pragma once
// The change journal: every insert, update and delete that runs on a
// Transaction against the rights tables (s_group, s_user_group,
// s_group_power, s_user, s_dept, s_employee) is recorded in s_right_journal,
// one row per changed row, inside the same write transaction and before its
// COMMIT. A refused statement or a refused COMMIT therefore leaves no entry.
//
// The transaction reads the affected rows before the statement (its own
// WHERE and values; on PostgreSQL FOR UPDATE), runs it, reads them again by
// primary key (the new key where an update sets key columns) and writes one
// entry per row whose values changed:
//
//   changed_at    UTC time, ISO 8601 with milliseconds ("2026-12-08T13:24:06.123Z")
//   operator_id   gs_user_id
//   table_name    the table
//   row_key       the row's key as a JSON object (column → value): after the
//                 change for insert and update, before it for delete
//   action        insert, update or delete
//   before_value, after_value
//                 the whole row as a JSON object, null where there is no row
//
// A password column is never written: a non-empty value is "***" (an update
// that changed it writes "***(已修改)" after), an empty one "" and null null.
//
// A database without s_right_journal works as before: the journal is off.
// Statements on those tables that the journal cannot follow (an insert from
// a select, an update that computes a key) are refused while it is on, so
// that no change goes unrecorded.

#include "host_database/export.h"

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <optional>
#include <utility>

namespace host {

class Transaction;

inline const QString kJournalTable = QStringLiteral("s_right_journal");

// A journaled table and its primary key columns.
struct JournaledTable {
    QString name;
    QStringList keys;
};
WMS_HOST_DATABASE_EXPORT const QList<JournaledTable>& journaledTables();
WMS_HOST_DATABASE_EXPORT const JournaledTable* journaledTable(const QString& name);

// How the journal reads a statement that writes.
struct JournalPlan {
    enum class Action { Insert, Update, Delete };
    Action action = Action::Insert;
    QString table;       // the journaled table's name
    QString tableText;   // as the statement writes it (owner, quotes)
    QString where;       // update, delete: the condition ("" for every row)
    int whereFirstParam = 0;  // index of the condition's first bound value
    // update: column → expression; insert: column → value text ("?" or a literal)
    QList<std::pair<QString, QString>> assignments;
    QString error;       // set when the journal cannot follow the statement
};

// The plan for a statement, or nothing when it does not write a journaled
// table (selects, other tables, the journal itself).
WMS_HOST_DATABASE_EXPORT std::optional<JournalPlan> journalPlan(const QString& sql);

// True for a password column: its values are not written to the journal.
WMS_HOST_DATABASE_EXPORT bool isSecretColumn(const QString& column);
WMS_HOST_DATABASE_EXPORT QString actionName(JournalPlan::Action action);

struct JournalEntry {
    qint64 id = 0;
    QString changedAt;
    QString operatorId;
    QString table;
    QString key;
    QString action;
    QString before;  // JSON text, empty when there is no row
    QString after;
};

struct JournalFilter {
    QString since;     // changed_at >= since (UTC ISO text), when not empty
    QString until;     // changed_at < until, when not empty
    QString operatorId;
    QString table;
    bool newestFirst = true;
    int limit = 0;     // 0: every entry
};

// The entries that match, through `trans`: 0, or -1 with trans.sqlerrtext.
[[nodiscard]] WMS_HOST_DATABASE_EXPORT int readJournal(Transaction& trans, const JournalFilter& filter,
                                              QList<JournalEntry>* entries);

// An ISO 8601 time ("2026-12-08", "2026-12-08T10:00", "…+08:00", "…Z"; local
// time when it names no zone) as the journal writes changed_at; empty when
// the text is not such a time.
WMS_HOST_DATABASE_EXPORT QString journalTime(const QString& iso);

// A JSON object of the journal as "column=value, …" for people.
WMS_HOST_DATABASE_EXPORT QString describeJournalValue(const QString& json);

}  // namespace host

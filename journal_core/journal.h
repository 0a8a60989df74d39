#pragma once
// The change journal as the module reads and reverts it. The database keeps
// it: triggers on the six rights tables write one entry per changed row into
// s_right_journal, whoever makes the change (schema/journal_ddl.h says what
// an entry holds). A database without the table or the triggers works
// unjournaled; journalAvailable() tells.

#include "journal_core/export.h"

#include "schema/journal_ddl.h"

#include <QList>
#include <QString>

namespace host {
class Transaction;
}

namespace journal {

using schema::isSecretColumn;
using schema::journaledTable;
using schema::journaledTables;
using schema::JournaledTable;

inline const QString kJournalTable = QStringLiteral("s_right_journal");

// Whether changes to the database are journaled: its journal table and the
// triggers of all six tables are there.
enum class JournalState { On, NoTable, NoTriggers, Failed };
[[nodiscard]] WMS_JOURNAL_CORE_EXPORT JournalState journalState(host::Transaction& trans);
// journalState() == On.
[[nodiscard]] WMS_JOURNAL_CORE_EXPORT bool journalAvailable(host::Transaction& trans);

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
[[nodiscard]] WMS_JOURNAL_CORE_EXPORT int readJournal(host::Transaction& trans, const JournalFilter& filter,
                                                      QList<JournalEntry>* entries);

// An ISO 8601 time ("2026-12-08", "2026-12-08T10:00", "…+08:00", "…Z"; local
// time when it names no zone) as the journal writes changed_at; empty when
// the text is not such a time.
WMS_JOURNAL_CORE_EXPORT QString journalTime(const QString& iso);

// A JSON object of the journal as "column=value, …" for people.
WMS_JOURNAL_CORE_EXPORT QString describeJournalValue(const QString& json);

}  // namespace journal

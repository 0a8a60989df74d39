#include "journal_core/journal.h"

#include "host/transaction.h"
#include "schema/database.h"

namespace journal {

JournalState journalState(host::Transaction& trans)
{
    const bool postgres = trans.dialect() == host::Dialect::Postgres;
    if (!schema::hasJournalTable(trans))
        return trans.sqlcode == host::Transaction::kError ? JournalState::Failed : JournalState::NoTable;
    // The triggers by name, on the tables the search path (or the file) has.
    QStringList names;
    for (const JournaledTable& journaled : journaledTables())
        names += schema::journalTriggerNames(trans.dialect(), journaled.name);
    const QString marks = QStringList(names.size(), QStringLiteral("?")).join(QStringLiteral(", "));
    QVariantList params;
    for (const QString& name : names)
        params << name;
    QList<QVariantList> rows;
    const QString sql =
        postgres ? QStringLiteral("select count(*) from pg_trigger t join pg_class c on c.oid = t.tgrelid "
                                  "where c.oid = to_regclass(c.relname) and t.tgname in (%1)")
                       .arg(marks)
                 : QStringLiteral("select count(*) from sqlite_master where type = 'trigger' and name in (%1)").arg(marks);
    if (trans.selectRows(sql, params, &rows) != host::Transaction::kSuccess || rows.isEmpty())
        return JournalState::Failed;
    return rows.first().value(0).toLongLong() == names.size() ? JournalState::On : JournalState::NoTriggers;
}

bool journalAvailable(host::Transaction& trans)
{
    return journalState(trans) == JournalState::On;
}

}  // namespace journal

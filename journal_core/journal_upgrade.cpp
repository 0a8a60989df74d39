#include "journal_core/journal_upgrade.h"

#include "host/operation.h"
#include "journal_core/journal.h"
#include "schema/database.h"

namespace journal {

namespace {

using host::Transaction;

// The first column of every row of `sql`; false on error.
bool column(Transaction& trans, const QString& sql, const QVariantList& params, QStringList* values)
{
    QList<QVariantList> rows;
    if (trans.selectRows(sql, params, &rows) != Transaction::kSuccess)
        return false;
    for (const QVariantList& row : std::as_const(rows))
        *values << row.value(0).toString();
    return true;
}

// The triggers of `table` that exist, of the names the journal gives them.
bool existingTriggers(Transaction& trans, const QString& table, QStringList* names)
{
    if (trans.dialect() == host::Dialect::Postgres)
        return column(trans,
                      QStringLiteral("select tgname from pg_trigger where tgrelid = to_regclass(?) and not tgisinternal"),
                      {table}, names);
    return column(trans, QStringLiteral("select name from sqlite_master where type = 'trigger' and tbl_name = ?"),
                  {table}, names);
}

// The table's columns in their order, as the database has them.
bool tableColumns(Transaction& trans, const QString& table, QStringList* names)
{
    if (trans.dialect() == host::Dialect::Postgres)
        return column(trans,
                      QStringLiteral("select attname from pg_attribute where attrelid = to_regclass(?) and attnum > 0 "
                                     "and not attisdropped order by attnum"),
                      {table}, names);
    return column(trans, QStringLiteral("select name from pragma_table_info(?) order by cid"), {table}, names);
}

bool run(Transaction& trans, const QStringList& statements)
{
    for (const QString& statement : statements)
        if (trans.execute(statement) != Transaction::kSuccess)
            return false;
    return true;
}

}  // namespace

int upgradeJournal(Transaction& trans, QStringList* report)
{
    const host::Dialect dialect = trans.dialect();
    host::Operation operation(trans);
    if (!operation.begin())
        return Transaction::kError;
    QStringList lines;
    const QStringList tableDdl = schema::journalTableStatements(dialect);
    if (schema::hasJournalTable(trans)) {
        lines << QStringLiteral("%1 已存在").arg(kJournalTable);
    } else {
        if (trans.sqlcode == Transaction::kError || !run(trans, tableDdl.mid(0, 2)))
            return Transaction::kError;
        lines << QStringLiteral("已创建 %1").arg(kJournalTable);
    }
    if (dialect == host::Dialect::Sqlite) {
        QStringList present;
        if (!column(trans, QStringLiteral("select name from sqlite_master where type = 'table' and name = ?"),
                    {schema::s_journal_operator}, &present))
            return Transaction::kError;
        if (!present.isEmpty()) {
            lines << QStringLiteral("%1 已存在").arg(schema::s_journal_operator);
        } else {
            if (!run(trans, tableDdl.mid(2)))
                return Transaction::kError;
            lines << QStringLiteral("已创建 %1").arg(schema::s_journal_operator);
        }
    }
    for (const JournaledTable& table : journaledTables()) {
        QStringList existing;
        if (!existingTriggers(trans, table.name, &existing))
            return Transaction::kError;
        const QStringList names = schema::journalTriggerNames(dialect, table.name);
        QStringList columns;
        if (!tableColumns(trans, table.name, &columns))
            return Transaction::kError;
        const QStringList statements = schema::journalTriggerStatements(dialect, table, columns);
        // PostgreSQL: the function, then the trigger; SQLite: one per trigger.
        const qsizetype first = statements.size() - names.size();
        for (qsizetype i = 0; i < names.size(); ++i) {
            if (existing.contains(names.at(i))) {
                lines << QStringLiteral("触发器 %1 已存在").arg(names.at(i));
                continue;
            }
            if (i == 0 && !run(trans, statements.mid(0, first)))
                return Transaction::kError;
            if (!run(trans, {statements.at(first + i)}))
                return Transaction::kError;
            lines << QStringLiteral("已创建触发器 %1").arg(names.at(i));
        }
    }
    if (operation.commit() != Transaction::kSuccess)
        return Transaction::kError;
    *report = lines;
    return Transaction::kSuccess;
}

}  // namespace journal

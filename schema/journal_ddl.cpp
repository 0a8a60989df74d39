#include "schema/journal_ddl.h"

#include "host/transaction.h"
#include "schema/tables.h"

namespace schema {

namespace {

QString identifier(const QString& name)
{
    QString quoted = name;
    return QLatin1Char('"') + quoted.replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

QString literal(const QString& text)
{
    QString quoted = text;
    return QLatin1Char('\'') + quoted.replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
}

// How each dialect writes the pieces of an entry.
struct Dialect {
    bool postgres;
    QString object() const { return postgres ? QStringLiteral("json_build_object") : QStringLiteral("json_object"); }
    QString objectEnd() const { return postgres ? QStringLiteral(")::text") : QStringLiteral(")"); }
    QString distinct() const { return postgres ? QStringLiteral("is distinct from") : QStringLiteral("is not"); }
};

// The JSON object of `columns` of the row `row` ("new" or "old"). With
// `changedFrom`, a password that differs from that row's is "***(已修改)".
QString rowObject(const Dialect& d, const QStringList& columns, const QString& row, const QString& changedFrom = {})
{
    QStringList parts;
    for (const QString& column : columns) {
        const QString value = row + QLatin1Char('.') + identifier(column);
        QString shown = value;
        if (isSecretColumn(column)) {
            QString changed;
            if (!changedFrom.isEmpty())
                changed = QStringLiteral(" when %1.%2 %3 %4 then '***(已修改)'")
                              .arg(changedFrom, identifier(column), d.distinct(), value);
            shown = QStringLiteral("case when %1 is null then null when %1 = '' then ''%2 else '***' end")
                        .arg(value, changed);
        }
        parts << literal(column) + QStringLiteral(", ") + shown;
    }
    return d.object() + QLatin1Char('(') + parts.join(QStringLiteral(", ")) + d.objectEnd();
}

QString entryInsert(const QString& table, const QString& time, const QString& who, const QString& key,
                    const QString& action, const QString& before, const QString& after)
{
    return QStringLiteral("insert into s_right_journal (changed_at, operator_id, table_name, row_key, action, "
                          "before_value, after_value) values (%1, %2, %3, %4, '%5', %6, %7)")
        .arg(time, who, literal(table), key, action, before, after);
}

QStringList postgresTrigger(const JournaledTable& table, const QStringList& columns)
{
    const Dialect d{true};
    const QString time =
        QStringLiteral("to_char(clock_timestamp() at time zone 'UTC', 'YYYY-MM-DD\"T\"HH24:MI:SS.MS\"Z\"')");
    const QString who = QStringLiteral("coalesce(nullif(current_setting('wms.operator', true), ''), "
                                       "'db:' || session_user)");
    const QString function = journalFunctionName(table.name);
    // One line: a script of these statements is split at ";" and a line break.
    const QString body =
        QStringLiteral("begin if tg_op = 'INSERT' then %1; "
                       "elsif tg_op = 'UPDATE' then if old is not distinct from new then return null; end if; %2; "
                       "else %3; end if; return null; end")
            .arg(entryInsert(table.name, time, who, rowObject(d, table.keys, "new"), "insert", "null",
                             rowObject(d, columns, "new")),
                 entryInsert(table.name, time, who, rowObject(d, table.keys, "new"), "update",
                             rowObject(d, columns, "old"), rowObject(d, columns, "new", "old")),
                 entryInsert(table.name, time, who, rowObject(d, table.keys, "old"), "delete",
                             rowObject(d, columns, "old"), "null"));
    // The function finds s_right_journal in the schema it was made in,
    // whatever the search path of the client whose change fires it.
    return {
        QStringLiteral("create or replace function %1() returns trigger language plpgsql "
                       "set search_path from current as $journal$ %2 $journal$")
            .arg(function, body),
        QStringLiteral("create trigger %1 after insert or update or delete on %2 for each row execute function %3()")
            .arg(journalTriggerNames(host::Dialect::Postgres, table.name).first(), table.name, function),
    };
}

QStringList sqliteTriggers(const JournaledTable& table, const QStringList& columns)
{
    const Dialect d{false};
    const QString time = QStringLiteral("strftime('%Y-%m-%dT%H:%M:%fZ', 'now')");
    const QString who = QStringLiteral("coalesce((select operator_id from %1), '(外部)')").arg(s_journal_operator);
    const QStringList names = journalTriggerNames(host::Dialect::Sqlite, table.name);
    QStringList changed;
    for (const QString& column : columns)
        changed << QStringLiteral("old.%1 is not new.%1").arg(identifier(column));
    const auto trigger = [&](const QString& name, const QString& event, const QString& when, const QString& entry) {
        return QStringLiteral("create trigger %1 after %2 on %3%4 begin %5; end")
            .arg(name, event, table.name, when.isEmpty() ? QString() : QStringLiteral(" when ") + when, entry);
    };
    return {
        trigger(names.at(0), "insert", {},
                entryInsert(table.name, time, who, rowObject(d, table.keys, "new"), "insert", "null",
                            rowObject(d, columns, "new"))),
        trigger(names.at(1), "update", changed.join(QStringLiteral(" or ")),
                entryInsert(table.name, time, who, rowObject(d, table.keys, "new"), "update",
                            rowObject(d, columns, "old"), rowObject(d, columns, "new", "old"))),
        trigger(names.at(2), "delete", {},
                entryInsert(table.name, time, who, rowObject(d, table.keys, "old"), "delete",
                            rowObject(d, columns, "old"), "null")),
    };
}

}  // namespace

const QList<JournaledTable>& journaledTables()
{
    static const QList<JournaledTable> tables = {
        {s_group, {"group_id"}, {"group_id", "group_name"}},
        {s_user_group, {"user_code", "group_code"}, {"user_code", "group_code"}},
        {s_group_power, {"group_id", "m_item_code"}, {"group_id", "m_item_code", "group_right"}},
        {s_user, {"id"}, {"id", "password", "status"}},
        {s_dept, {"dept_id"}, {"dept_id", "dept_name", "memo"}},
        {s_employee, {"id"}, {"id", "name", "dept_id", "status"}},
    };
    return tables;
}

const JournaledTable* journaledTable(const QString& name)
{
    for (const JournaledTable& table : journaledTables())
        if (table.name.compare(name, Qt::CaseInsensitive) == 0)
            return &table;
    return nullptr;
}

bool isSecretColumn(const QString& column)
{
    return column.compare(QLatin1String("password"), Qt::CaseInsensitive) == 0;
}

QStringList journalTableStatements(host::Dialect dialect)
{
    const bool postgres = dialect == host::Dialect::Postgres;
    QStringList statements = {
        QStringLiteral("create table %1 (id %2, changed_at varchar(30) not null, operator_id varchar(%3), "
                       "table_name varchar(30) not null, row_key text not null, action varchar(6) not null, "
                       "before_value text, after_value text)")
            .arg(s_right_journal,
                 postgres ? QStringLiteral("bigserial primary key")
                          : QStringLiteral("integer primary key autoincrement"))
            .arg(len::journal_operator_id),
        QStringLiteral("create index %1_changed_at on %1 (changed_at)").arg(s_right_journal),
    };
    if (!postgres)
        statements << QStringLiteral("create table %1 (operator_id varchar(%2))")
                          .arg(s_journal_operator)
                          .arg(len::journal_operator_id);
    return statements;
}

QStringList journalTriggerStatements(host::Dialect dialect, const JournaledTable& table, const QStringList& columns)
{
    return dialect == host::Dialect::Postgres ? postgresTrigger(table, columns) : sqliteTriggers(table, columns);
}

QStringList journalTriggerNames(host::Dialect dialect, const QString& table)
{
    if (dialect == host::Dialect::Postgres)
        return {table + QStringLiteral("_journal")};
    return {table + QStringLiteral("_journal_insert"), table + QStringLiteral("_journal_update"),
            table + QStringLiteral("_journal_delete")};
}

QString journalFunctionName(const QString& table)
{
    return table + QStringLiteral("_journal");
}

}  // namespace schema

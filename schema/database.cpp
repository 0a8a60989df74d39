#include "schema/database.h"

#include "host/operation.h"
#include "host/transaction.h"
#include "schema/journal_ddl.h"
#include "schema/tables.h"

#include <utility>

namespace schema {

namespace {

// A string column of at most `length` characters.
QString column(host::Dialect dialect, const QString& name, int length, bool notNull = false)
{
    QString text = QStringLiteral("%1 varchar(%2)").arg(name).arg(length);
    if (notNull)
        text += QStringLiteral(" not null");
    if (dialect == host::Dialect::Sqlite)
        text += QStringLiteral(" check (length(%1) <= %2)").arg(name).arg(length);
    return text;
}

QString table(const QString& name, const QStringList& columns, const QString& key)
{
    return QStringLiteral("create table %1 (%2, primary key (%3))")
        .arg(name, columns.join(QStringLiteral(", ")), key);
}

}  // namespace

QStringList createStatements(const host::Transaction& trans)
{
    return createStatements(trans.dialect());
}

QStringList createStatements(host::Dialect t)
{
    return tableStatements(t) + journalStatements(t);
}

QStringList tableStatements(host::Dialect t)
{
    return {
        table(s_dept,
              {column(t, "dept_id", len::dept_id, true), column(t, "dept_name", len::dept_name),
               column(t, "memo", len::memo)},
              "dept_id"),
        table(s_employee,
              {column(t, "id", len::employee_id, true), column(t, "name", len::employee_name),
               column(t, "dept_id", len::dept_id), column(t, "status", len::employee_status)},
              "id"),
        table(s_user,
              {column(t, "id", len::user_id, true), column(t, "password", len::user_password),
               column(t, "status", len::user_status)},
              "id"),
        table(s_group,
              {column(t, "group_id", len::group_id, true), column(t, "group_name", len::group_name)},
              "group_id"),
        table(s_user_group,
              {column(t, "user_code", len::user_id, true), column(t, "group_code", len::group_id, true)},
              "user_code, group_code"),
        table(s_group_power,
              {column(t, "group_id", len::group_id, true), column(t, "m_item_code", len::m_item_code, true),
               column(t, "group_right", len::group_right)},
              "group_id, m_item_code"),
        table(s_moudle_item,
              {column(t, "m_item_code", len::m_item_code, true), column(t, "name", len::m_item_name)},
              "m_item_code"),
    };
}

QStringList journalStatements(host::Dialect dialect)
{
    QStringList statements = journalTableStatements(dialect);
    for (const JournaledTable& table : journaledTables())
        statements += journalTriggerStatements(dialect, table, table.columns);
    return statements;
}

QString createScript(host::Dialect dialect)
{
    QString script;
    for (const QString& statement : createStatements(dialect))
        script += statement + QStringLiteral(";\n");
    return script;
}

namespace {

bool runAll(host::Transaction& trans, const QStringList& statements)
{
    for (const QString& statement : statements) {
        if (trans.execute(statement) != 0)
            return false;
    }
    return true;
}

}  // namespace

bool createTables(host::Transaction& trans, bool withJournal)
{
    return runAll(trans, withJournal ? createStatements(trans) : tableStatements(trans.dialect()));
}

bool createJournal(host::Transaction& trans)
{
    return runAll(trans, journalStatements(trans.dialect()));
}

bool dropTables(host::Transaction& trans)
{
    for (const QString& name : {s_dept, s_employee, s_user, s_group, s_user_group, s_group_power, s_moudle_item,
                                s_right_journal, s_journal_operator}) {
        if (trans.execute(QStringLiteral("drop table if exists %1").arg(name)) != 0)
            return false;
    }
    if (trans.dialect() == host::Dialect::Postgres) {
        for (const JournaledTable& table : journaledTables()) {
            if (trans.execute(QStringLiteral("drop function if exists %1()").arg(journalFunctionName(table.name))) != 0)
                return false;
        }
    }
    return true;
}

TablesCheck checkTables(host::Transaction& trans, QStringList* missing)
{
    const QStringList names = {s_dept, s_employee, s_user, s_group, s_user_group, s_group_power, s_moudle_item};
    QStringList absent;
    if (trans.dialect() == host::Dialect::Sqlite) {
        QList<QVariantList> rows;
        if (trans.selectRows(QStringLiteral("select name from sqlite_master where type in ('table', 'view')"), {},
                             &rows) != host::Transaction::kSuccess)
            return TablesCheck::Failed;
        QStringList present;
        for (const QVariantList& row : std::as_const(rows))
            present << row.value(0).toString();
        for (const QString& name : names) {
            if (!present.contains(name, Qt::CaseInsensitive))
                absent << name;
        }
    } else {
        // to_regclass follows the search path and needs no right on the table.
        for (const QString& name : names) {
            QString found;
            if (trans.selectText(QStringLiteral("select cast(to_regclass(?) as text)"), {name}, &found) !=
                host::Transaction::kSuccess)
                return TablesCheck::Failed;
            if (found.isNull())
                absent << name;
        }
    }
    if (missing)
        *missing = absent;
    if (!absent.isEmpty())
        return TablesCheck::Missing;
    // Each table once, without a row: a lock held by another client, or a
    // table that cannot be read, shows here with its own reason.
    for (const QString& name : names) {
        if (trans.execute(QStringLiteral("select * from %1 where 1 = 0").arg(name)) == host::Transaction::kError)
            return TablesCheck::Failed;
    }
    return TablesCheck::Present;
}

bool hasJournalTable(host::Transaction& trans)
{
    QString found;
    const int code = trans.dialect() == host::Dialect::Postgres
                         ? trans.selectText(QStringLiteral("select cast(to_regclass(?) as text)"), {s_right_journal},
                                            &found)
                         : trans.selectText(QStringLiteral("select name from sqlite_master where type = 'table' and "
                                                           "name = ?"),
                                            {s_right_journal}, &found);
    return code == host::Transaction::kSuccess && !found.isNull();
}

bool tablesExist(host::Transaction& trans)
{
    return checkTables(trans) == TablesCheck::Present;
}

namespace {

struct Row {
    QString sql;
    QVariantList values;
};

QList<Row> sampleRows()
{
    QList<Row> rows;
    auto add = [&rows](const char* sql, std::initializer_list<QString> values) {
        QVariantList list;
        for (const QString& v : values)
            list << v;
        rows.append({QString::fromUtf8(sql), list});
    };
    const char* dept = "insert into s_dept (dept_id, dept_name, memo) values (?, ?, ?)";
    add(dept, {"D01", "仓储部", "收货、存储与发货"});
    add(dept, {"D02", "财务部", "结算与对账"});
    add(dept, {"D03", "信息部", "系统维护"});

    const char* employee = "insert into s_employee (id, name, dept_id, status) values (?, ?, ?, ?)";
    add(employee, {"admin", "系统管理员", "D03", "1"});
    add(employee, {"E001", "张伟", "D01", "1"});
    add(employee, {"E002", "王芳", "D01", "1"});
    add(employee, {"E003", "李娜", "D01", "0"});
    add(employee, {"E004", "刘洋", "D02", "1"});
    add(employee, {"E005", "陈静", "D02", "2"});
    add(employee, {"E006", "杨磊", "D03", "1"});

    const char* user = "insert into s_user (id, password, status) values (?, ?, ?)";
    add(user, {"admin", "admin", "1"});
    add(user, {"E001", "123", "1"});
    add(user, {"E002", "123", "1"});
    add(user, {"E004", "123", "1"});
    add(user, {"E006", "123", "1"});

    const char* group = "insert into s_group (group_id, group_name) values (?, ?)";
    add(group, {"001", "系统管理组"});
    add(group, {"002", "仓库管理员"});
    add(group, {"003", "查询员"});
    add(group, {"004", "财务组"});

    const char* member = "insert into s_user_group (user_code, group_code) values (?, ?)";
    add(member, {"admin", "001"});
    add(member, {"E006", "001"});
    add(member, {"E001", "002"});
    add(member, {"E002", "002"});
    add(member, {"E002", "003"});
    add(member, {"E004", "004"});
    add(member, {"E004", "003"});

    const char* item = "insert into s_moudle_item (m_item_code, name) values (?, ?)";
    add(item, {"m101", "部门管理"});
    add(item, {"m102", "权限管理"});
    add(item, {"003", "操作组权限设置"});
    add(item, {"w201", "入库登记"});
    add(item, {"w202", "出库登记"});
    add(item, {"w203", "库存查询"});
    add(item, {"w204", "库存盘点"});
    add(item, {"w205", "库位管理"});
    add(item, {"w301", "进出库报表"});
    add(item, {"w302", "费用结算"});

    const char* power = "insert into s_group_power (group_id, m_item_code, group_right) values (?, ?, ?)";
    for (const char* code : {"m101", "m102", "003", "w201", "w202", "w203", "w204", "w205", "w301", "w302"})
        add(power, {"001", QString::fromLatin1(code), "2"});
    add(power, {"002", "w201", "2"});
    add(power, {"002", "w202", "2"});
    add(power, {"002", "w203", "1"});
    add(power, {"002", "w204", "2"});
    add(power, {"002", "w205", "0"});
    add(power, {"002", "w301", "1"});
    add(power, {"003", "w203", "1"});
    add(power, {"003", "w301", "1"});
    add(power, {"003", "w201", "0"});
    add(power, {"004", "w302", "2"});
    add(power, {"004", "w301", "1"});
    add(power, {"004", "m101", "1"});
    return rows;
}

}  // namespace

bool loadSampleData(host::Transaction& trans)
{
    // Setting up a database is no change an operator made: not logged.
    const bool logChanges = std::exchange(trans.logChanges, false);
    host::Operation operation(trans);
    bool ok = true;
    for (const Row& row : sampleRows()) {
        if (operation.execute(row.sql, row.values) != 0) {
            operation.rollback();  // keeps the error of the statement
            ok = false;
            break;
        }
    }
    // Nor is it a change to journal: the triggers' entries of the load go
    // with it.
    if (ok && hasJournalTable(trans) && operation.execute(QStringLiteral("delete from %1").arg(s_right_journal)) != 0) {
        operation.rollback();
        ok = false;
    }
    if (ok)
        ok = operation.commit() == 0;
    trans.logChanges = logChanges;
    return ok;
}

}  // namespace schema

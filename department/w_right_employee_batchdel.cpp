#include "department/w_right_employee_batchdel.h"

#include "common/administration_guard.h"
#include "host/changed_meanwhile.h"
#include "host/messages.h"
#include "host/operation.h"
#include "host/transaction.h"

#include <QSet>

namespace department {

namespace {

QString employeeChanged(const QString& code)
{
    return host::changedMeanwhileText(QStringLiteral("员工 ") + code + QStringLiteral(" 的记录"));
}

// " and column = ?" with the value bound, or " and column is null".
QString named(const QString& column, const QVariant& value, QVariantList* params)
{
    if (value.isNull())
        return QStringLiteral(" and ") + column + QStringLiteral(" is null");
    params->append(value);
    return QStringLiteral(" and ") + column + QStringLiteral(" = ?");
}

}  // namespace

w_right_employee_batchdel::w_right_employee_batchdel(QWidget* parent)
    : EmployeeSeriesWindow(QStringLiteral("批量删除员工"), QStringLiteral("cb_del"), QStringLiteral("删除"), parent)
{
}

bool w_right_employee_batchdel::readSeries(const QStringList& codes, QMap<QString, Shown>* shown) const
{
    QList<QVariantList> rows;
    if (host::sqlca.selectRows(QStringLiteral("select e.id, e.name, e.status, u.id from s_employee e left join "
                                              "s_user u on u.id = e.id where e.dept_id = ?"),
                               {is_dept}, &rows) != host::Transaction::kSuccess)
        return false;
    const QSet<QString> series(codes.cbegin(), codes.cend());
    shown->clear();
    for (const QVariantList& row : rows) {
        const QString code = row.value(0).toString();
        if (series.contains(code))
            shown->insert(code, {row.value(1), row.value(2), !row.value(3).isNull()});
    }
    return true;
}

EmployeeSeriesWindow::CodeResult w_right_employee_batchdel::processCode(const QString& code)
{
    // Only an employee the question counted is deleted.
    const auto found = shown_.constFind(code);
    if (found == shown_.constEnd())
        return {};
    // Each employee is an operation of its own. An employee who is also an
    // operator loses the operator account and its memberships with it.
    common::AdministrationGuard guard;
    host::Operation operation;
    QVariantList params{code, is_dept};
    QString sql = QStringLiteral("delete from s_employee where id = ? and dept_id = ?");
    sql += named(QStringLiteral("name"), found->name, &params);
    sql += named(QStringLiteral("status"), found->status, &params);
    if (operation.execute(sql, params) != host::Transaction::kSuccess) {
        operation.rollback();
        return {.failure = operation.error()};
    }
    if (host::sqlca.sqlnrows != 1)
        return {.failure = employeeChanged(code)};
    if (operation.execute(QStringLiteral("delete from s_user_group where user_code = ?"), {code}) !=
            host::Transaction::kSuccess ||
        operation.execute(QStringLiteral("delete from s_user where id = ?"), {code}) != host::Transaction::kSuccess) {
        operation.rollback();
        return {.failure = operation.error()};
    }
    // Made an operator, or no longer one, since the question counted it.
    if ((host::sqlca.sqlnrows > 0) != found->isOperator)
        return {.failure = employeeChanged(code)};
    if (!guard.allows(false)) {
        operation.rollback();
        return {.done = false, .failure = guard.reason()};
    }
    if (operation.commit() != host::Transaction::kSuccess)
        return {.failure = operation.error()};
    return {.done = true, .failure = {}};
}

QString w_right_employee_batchdel::doneText(long done) const
{
    return QStringLiteral("共删除%1名员工.").arg(done);
}

bool w_right_employee_batchdel::runQuestion(const QStringList& codes, QString* question)
{
    *question = QStringLiteral("确定进行删除操作吗?");
    // The operators among the department's employees of the series lose
    // their accounts and memberships with them.
    if (!readSeries(codes, &shown_)) {
        host::databaseErrorBox(host::sqlca.sqlerrtext);
        return false;
    }
    long operators = 0;
    for (const Shown& employee : std::as_const(shown_))
        operators += employee.isOperator ? 1 : 0;
    if (operators > 0)
        *question += QStringLiteral("\n其中%1名员工同时是操作员, 其操作员帐号和所属组将一并删除.").arg(operators);
    return true;
}

EmployeeSeriesWindow::RunCheck w_right_employee_batchdel::checkBeforeRun(const QStringList& codes)
{
    // While the operator read the question, another client may have changed
    // the series: then nothing is deleted.
    QMap<QString, Shown> now;
    if (!readSeries(codes, &now)) {
        host::databaseErrorBox(host::sqlca.sqlerrtext);
        return RunCheck::Stop;
    }
    if (now == shown_)
        return RunCheck::Go;
    QString code;
    for (auto it = shown_.cbegin(); it != shown_.cend() && code.isEmpty(); ++it)
        if (!now.contains(it.key()) || now.value(it.key()) != it.value())
            code = it.key();
    for (auto it = now.cbegin(); it != now.cend() && code.isEmpty(); ++it)
        if (!shown_.contains(it.key()))
            code = it.key();
    return host::askReadAgain(QString(), employeeChanged(code)) ? RunCheck::Again : RunCheck::Stop;
}

}  // namespace department

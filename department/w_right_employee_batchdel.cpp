#include "department/w_right_employee_batchdel.h"

#include "common/administration_guard.h"
#include "host/messages.h"
#include "host/operation.h"
#include "host/transaction.h"

#include <QSet>

namespace department {

w_right_employee_batchdel::w_right_employee_batchdel(QWidget* parent)
    : EmployeeSeriesWindow(QStringLiteral("批量删除员工"), QStringLiteral("cb_del"), QStringLiteral("删除"), parent)
{
}

EmployeeSeriesWindow::CodeResult w_right_employee_batchdel::processCode(const QString& code)
{
    // Each employee is an operation of its own. An employee who is also an
    // operator loses the operator account and its memberships with it.
    common::AdministrationGuard guard;
    host::Operation operation;
    if (operation.execute(QStringLiteral("delete from s_employee where id = ? and dept_id = ?"), {code, is_dept}) !=
        host::Transaction::kSuccess) {
        operation.rollback();
        return {.failure = operation.error()};
    }
    const bool deleted = host::sqlca.sqlnrows > 0;
    if (deleted &&
        (operation.execute(QStringLiteral("delete from s_user_group where user_code = ?"), {code}) !=
             host::Transaction::kSuccess ||
         operation.execute(QStringLiteral("delete from s_user where id = ?"), {code}) != host::Transaction::kSuccess)) {
        operation.rollback();
        return {.failure = operation.error()};
    }
    if (deleted && !guard.allows(false)) {
        operation.rollback();
        return {.done = false, .failure = guard.reason()};
    }
    if (operation.commit() != host::Transaction::kSuccess)
        return {.failure = operation.error()};
    return {.done = deleted, .failure = {}};
}

QString w_right_employee_batchdel::doneText(long done) const
{
    return QStringLiteral("共删除%1名员工.").arg(done);
}

}  // namespace department

namespace department {

bool w_right_employee_batchdel::runQuestion(const QStringList& codes, QString* question) const
{
    *question = QStringLiteral("确定进行删除操作吗?");
    // The operators among the department's employees of the series lose
    // their accounts and memberships with them.
    QList<QVariantList> rows;
    if (host::sqlca.selectRows(QStringLiteral("select e.id from s_employee e, s_user u where u.id = e.id and "
                                              "e.dept_id = ?"),
                               {is_dept}, &rows) != host::Transaction::kSuccess) {
        host::databaseErrorBox(host::sqlca.sqlerrtext);
        return false;
    }
    const QSet<QString> series(codes.cbegin(), codes.cend());
    long operators = 0;
    for (const QVariantList& row : rows)
        operators += series.contains(row.value(0).toString()) ? 1 : 0;
    if (operators > 0)
        *question += QStringLiteral("\n其中%1名员工同时是操作员, 其操作员帐号和所属组将一并删除.").arg(operators);
    return true;
}

}  // namespace department

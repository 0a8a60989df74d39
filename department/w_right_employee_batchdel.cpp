#include "department/w_right_employee_batchdel.h"

#include "common/administration_guard.h"
#include "host/operation.h"
#include "host/transaction.h"

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

QString w_right_employee_batchdel::runQuestion() const
{
    return QStringLiteral("确定进行删除操作吗?");
}

}  // namespace department

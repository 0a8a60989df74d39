#include "department/w_right_employee_batchadd.h"

#include "host/operation.h"
#include "host/transaction.h"

namespace department {

w_right_employee_batchadd::w_right_employee_batchadd(QWidget* parent)
    : EmployeeSeriesWindow(QStringLiteral("批量增加员工"), QStringLiteral("cb_add"), QStringLiteral("增加"), parent)
{
}

EmployeeSeriesWindow::CodeResult w_right_employee_batchadd::processCode(const QString& code)
{
    // Each employee is an operation of its own: a failure (the code held by
    // another department, a refused COMMIT) undoes only that one. The
    // existence check runs inside it.
    host::Operation operation;
    if (!operation.begin())
        return {.failure = operation.error()};
    const QVariant have = host::sqlca.selectValue(
        QStringLiteral("select count ( *) from s_employee where id = ? and dept_id = ?"), {code, is_dept});
    // Named in the run's final message: a box now would wait for an answer
    // under the progress dialog.
    if (!have.isNull() && have.toLongLong() >= 1)
        return {.done = false, .failure = {}, .skipped = true};
    if (operation.execute(QStringLiteral("INSERT INTO s_employee ( id , name , status , dept_id ) VALUES ( ? , "
                                         "? , '1' , ? )"),
                          {code, code, is_dept}) != host::Transaction::kSuccess ||
        operation.commit() != host::Transaction::kSuccess) {
        operation.rollback();
        return {.failure = operation.error()};
    }
    return {.done = true, .failure = {}};
}

QString w_right_employee_batchadd::doneText(long done) const
{
    return QStringLiteral("共增加%1名员工.").arg(done);
}

QString w_right_employee_batchadd::skippedText(const QString& codes) const
{
    return QStringLiteral("该部门已存在编号为：") + codes + QStringLiteral("的员工");
}

}  // namespace department

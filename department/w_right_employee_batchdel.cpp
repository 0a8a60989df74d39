#include "department/w_right_employee_batchdel.h"

#include "host/transaction.h"

namespace department {

w_right_employee_batchdel::w_right_employee_batchdel(QWidget* parent)
    : EmployeeSeriesWindow(QStringLiteral("批量删除员工"), QStringLiteral("cb_del"), QStringLiteral("删除"), parent)
{
}

void w_right_employee_batchdel::processCode(const QString& code)
{
    if (host::sqlca.execute(QStringLiteral("delete from s_employee where id = ? and dept_id = ?"), {code, is_dept}) ==
        0)
        host::sqlca.commit();
    else
        host::sqlca.rollback();
}

}  // namespace department

#include "department/w_right_employee_batchadd.h"

#include "host/messages.h"
#include "host/transaction.h"

namespace department {

w_right_employee_batchadd::w_right_employee_batchadd(QWidget* parent)
    : EmployeeSeriesWindow(QStringLiteral("批量增加员工"), QStringLiteral("cb_add"), QStringLiteral("增加"), parent)
{
}

void w_right_employee_batchadd::processCode(const QString& code)
{
    const QVariant have = host::sqlca.selectValue(
        QStringLiteral("select count ( *) from s_employee where id = ? and dept_id = ?"), {code, is_dept});
    if (have.isNull() || have.toLongLong() < 1) {
        // A failed insert (the code in another department) is not reported.
        if (host::sqlca.execute(QStringLiteral("INSERT INTO s_employee ( id , name , status , dept_id ) VALUES ( ? , "
                                               "? , '1' , ? )"),
                                {code, code, is_dept}) == 0)
            host::sqlca.commit();
        else
            host::sqlca.rollback();
        return;
    }
    host::MessageBox(QStringLiteral("提示"),
                     QStringLiteral("该部门已存在编号为：") + code + QStringLiteral("的员工"));
}

}  // namespace department

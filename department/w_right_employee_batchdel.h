#pragma once
// The batch delete dialog: deletes the employees of a numbered series from
// one department, after one confirmation naming the series; employees of other departments and the
// operator rows stay. Each deletion is committed on its own.

#include "department/export.h"

#include "department/employee_series.h"

namespace department {

class WMS_DEPARTMENT_EXPORT w_right_employee_batchdel : public EmployeeSeriesWindow {
    Q_OBJECT
public:
    explicit w_right_employee_batchdel(QWidget* parent = nullptr);

    QPushButton* cb_del() const { return startButton(); }

protected:
    CodeResult processCode(const QString& code) override;
    QString doneText(long done) const override;
    QString runQuestion() const override;
};

}  // namespace department

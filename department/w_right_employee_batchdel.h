#pragma once
// The batch delete dialog: deletes the employees of a numbered series from
// one department, after one confirmation naming the series and how many of
// them are operators; an operator's account and memberships go with the
// employee. Employees of other departments stay. Each deletion is committed
// on its own.

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
    bool runQuestion(const QStringList& codes, QString* question) const override;
};

}  // namespace department

#pragma once
// The batch add dialog: creates a numbered series of employees in one
// department, each named like its code, with status "1" ("在职"); a code that
// already exists in the department is skipped and named in the final message.
// Each employee is committed on its own.

#include "department/export.h"

#include "department/employee_series.h"

namespace department {

class WMS_DEPARTMENT_EXPORT w_right_employee_batchadd : public EmployeeSeriesWindow {
    Q_OBJECT
public:
    explicit w_right_employee_batchadd(QWidget* parent = nullptr);

    QPushButton* cb_add() const { return startButton(); }

protected:
    CodeResult processCode(const QString& code) override;
    QString doneText(long done) const override;
    QString skippedText(const QString& codes) const override;
};

}  // namespace department

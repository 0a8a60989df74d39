#pragma once
// The edit employee dialog: shows the employee whose code is the open
// parameter and saves changes to the name, status and department.

#include "department/export.h"

#include "common/record_dialog.h"

namespace department {

class WMS_DEPARTMENT_EXPORT w_right_employee_edit : public common::RecordDialog {
    Q_OBJECT
public:
    explicit w_right_employee_edit(QWidget* parent = nullptr);

    void openEvent(const QString& parameter) override;
    void cb1Clicked() override;

protected:
    void readRecord() override;
};

}  // namespace department

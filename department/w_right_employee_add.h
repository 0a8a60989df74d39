#pragma once
// The add employee dialog: stores one employee after another into
// s_employee, proposing the department current in the manager's tree, and
// appends each to the open manager's list.

#include "department/export.h"

#include "common/record_dialog.h"

namespace department {

class WMS_DEPARTMENT_EXPORT w_right_employee_add : public common::RecordDialog {
    Q_OBJECT
public:
    explicit w_right_employee_add(QWidget* parent = nullptr);

    void openEvent(const QString& parameter) override;
    void cb1Clicked() override;

    QString departmentId() const { return is_department_id; }

protected:
    // A fresh record proposing the department.
    void newRecord() override;
    void recordAdded(const QString& id, const QString& name) override;

private:
    QString is_department_id;
};

}  // namespace department

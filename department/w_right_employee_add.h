#pragma once
// The add employee dialog: stores one employee after another into
// s_employee, proposing the department current in the manager's tree, and
// appends each to the open manager's list.

#include "host/w_father.h"

class QPushButton;

namespace platform {
class DataWindow;
}

namespace department {

class w_right_employee_add : public host::w_father {
    Q_OBJECT
public:
    explicit w_right_employee_add(QWidget* parent = nullptr);

    void openEvent(const QString& parameter) override;

    QString departmentId() const { return is_department_id; }
    platform::DataWindow* dw_1() const { return dw_1_; }
    QPushButton* cb_1() const { return cb_1_; }
    QPushButton* cb_2() const { return cb_2_; }

    void cb1Clicked();

private:
    // A fresh record proposing the department.
    void newRecord();

    QString is_department_id;
    platform::DataWindow* dw_1_;
    QPushButton* cb_1_;
    QPushButton* cb_2_;
};

}  // namespace department

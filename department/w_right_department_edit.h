#pragma once
// The edit department dialog: shows the department whose code is the open
// parameter and saves changes to its name and remark.

#include "host/w_father.h"

class QPushButton;

namespace platform {
class DataWindow;
}

namespace department {

class w_right_department_edit : public host::w_father {
    Q_OBJECT
public:
    explicit w_right_department_edit(QWidget* parent = nullptr);

    void openEvent(const QString& parameter) override;

    platform::DataWindow* dw_1() const { return dw_1_; }
    QPushButton* cb_1() const { return cb_1_; }
    QPushButton* cb_2() const { return cb_2_; }

    void cb1Clicked();

private:
    platform::DataWindow* dw_1_;
    QPushButton* cb_1_;
    QPushButton* cb_2_;
};

}  // namespace department

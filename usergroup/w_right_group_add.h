#pragma once
// The add group dialog: stores one group after another into s_group and adds
// each to the open manager's tree and list.

#include "host/w_father.h"

class QPushButton;

namespace platform {
class DataWindow;
}

namespace usergroup {

class w_right_group_add : public host::w_father {
    Q_OBJECT
public:
    explicit w_right_group_add(QWidget* parent = nullptr);

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

}  // namespace usergroup

#pragma once
// The add user dialog: puts employees or existing operators, one after
// another, into the group current in the manager's tree. An employee who is
// not yet an operator gets an s_user row on the way. An operator without a
// password is offered 设置密码 right after the add (usergroup/password_offer.h).

#include "usergroup/export.h"

#include "host/w_father.h"

class QGroupBox;
class QPushButton;
class QRadioButton;

namespace platform {
class DataWindow;
}

namespace usergroup {

class WMS_USERGROUP_EXPORT w_right_user_add : public host::w_father {
    Q_OBJECT
public:
    explicit w_right_user_add(QWidget* parent = nullptr);

    void openEvent(const QString& parameter) override;

    QString groupId() const { return is_group_id; }
    platform::DataWindow* dw_1() const { return dw_1_; }
    QRadioButton* rb_1() const { return rb_1_; }
    QRadioButton* rb_2() const { return rb_2_; }
    QPushButton* cb_1() const { return cb_1_; }
    QPushButton* cb_2() const { return cb_2_; }

    void cb1Clicked();

private:
    // Reloads the form with `source` feeding the person field.
    void chooseSource(const QString& source);
    void newRecord();

    QString is_group_id;
    QGroupBox* gb_1_;
    QRadioButton* rb_1_;
    QRadioButton* rb_2_;
    platform::DataWindow* dw_1_;
    QPushButton* cb_1_;
    QPushButton* cb_2_;
};

}  // namespace usergroup

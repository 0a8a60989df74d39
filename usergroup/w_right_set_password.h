#pragma once
// The set password dialog: a new password for one operator (the open
// parameter, s_user.id), typed twice and stored as its hash. Opened as a
// response window from the manager's popup menu; it closes with "1" once the
// password is stored, with the empty string otherwise.

#include "usergroup/export.h"

#include "host/w_father.h"

#include <QVariant>

class QLabel;
class QLineEdit;
class QPushButton;

namespace usergroup {

class WMS_USERGROUP_EXPORT w_right_set_password : public host::w_father {
    Q_OBJECT
public:
    explicit w_right_set_password(QWidget* parent = nullptr);

    void openEvent(const QString& parameter) override;

    QString userId() const { return is_user_id; }
    QLabel* st_operator() const { return st_operator_; }
    QLineEdit* sle_password() const { return sle_password_; }
    QLineEdit* sle_confirm() const { return sle_confirm_; }
    QPushButton* cb_ok() const { return cb_ok_; }
    QPushButton* cb_cancel() const { return cb_cancel_; }

    void cbOkClicked();

private:
    // Reads the operator's row: the name shown and the password to name in
    // the update. False (the dialog closing) when it is gone or unreadable.
    bool readOperator();

    QString is_user_id;
    QVariant passwordRead_;
    QLabel* st_operator_;
    QLineEdit* sle_password_;
    QLineEdit* sle_confirm_;
    QPushButton* cb_ok_;
    QPushButton* cb_cancel_;
};

}  // namespace usergroup

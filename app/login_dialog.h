#pragma once
// The host's login dialog: operator id and password, checked against s_user.

#include "app/login.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace app {

class LoginDialog : public QDialog {
    Q_OBJECT
public:
    explicit LoginDialog(const QString& operatorId = {}, QWidget* parent = nullptr);

    // The accepted operator's id (after exec() returned Accepted).
    QString operatorId() const { return accepted_; }

    // Checks what was entered: accepts the dialog, or tells the operator why
    // not in a message box and stays open.
    void tryLogin();

private:
    QLineEdit* sle_operator;
    QLineEdit* sle_password;
    QPushButton* cb_ok;
    QPushButton* cb_cancel;
    QString accepted_;
};

// Shows the refusal of a login in a message box.
void reportLoginFailure(const LoginResult& result);

}  // namespace app

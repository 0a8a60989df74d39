#pragma once
// The host's login dialog: operator id and password, checked against s_user;
// and the dialog in which an operator without a password sets the first one.

#include "app/login.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace app {

class LoginDialog : public QDialog {
    Q_OBJECT
public:
    explicit LoginDialog(const QString& operatorId = {}, QWidget* parent = nullptr);

    // The accepted operator's id (after exec() returned Accepted).
    QString operatorId() const { return accepted_; }

    // Checks what was entered: accepts the dialog, asks an operator without a
    // password to set one first, or tells the operator why not in a message
    // box and stays open.
    void tryLogin();

private:
    QLineEdit* sle_operator;
    QLineEdit* sle_password;
    QPushButton* cb_ok;
    QPushButton* cb_cancel;
    QString accepted_;
};

// 设置密码: the new password typed twice for an operator whose stored password
// is empty. Accepted once the password is stored and the operator logged in.
class FirstPasswordDialog : public QDialog {
    Q_OBJECT
public:
    explicit FirstPasswordDialog(const QString& operatorId, QWidget* parent = nullptr);

    // cb_ok: checks both entries and stores the password; stays open with a
    // message box when the entries are refused or the database fails.
    void trySetPassword();

private:
    QString operatorId_;
    QLabel* st_prompt;
    QLineEdit* sle_new_password;
    QLineEdit* sle_confirm_password;
    QPushButton* cb_ok;
    QPushButton* cb_cancel;
};

// Asks the operator of a PasswordNotSet login for a first password; true when
// it was stored and the operator is logged in.
bool askFirstPassword(const QString& operatorId, QWidget* parent = nullptr);

// Shows the refusal of a login in a message box.
void reportLoginFailure(const LoginResult& result);

}  // namespace app

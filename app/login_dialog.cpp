#include "app/login_dialog.h"

#include "host/messages.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace app {

namespace {

QLineEdit* passwordField(QWidget* parent, const QString& name)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setEchoMode(QLineEdit::Password);
    return field;
}

// cb_ok (the default button) and cb_cancel at the right of a row.
QHBoxLayout* okCancel(QWidget* parent, const QString& okText, const QString& cancelText, QPushButton** ok,
                      QPushButton** cancel)
{
    *ok = new QPushButton(okText, parent);
    (*ok)->setObjectName(QStringLiteral("cb_ok"));
    (*ok)->setDefault(true);
    *cancel = new QPushButton(cancelText, parent);
    (*cancel)->setObjectName(QStringLiteral("cb_cancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(*ok);
    buttons->addWidget(*cancel);
    return buttons;
}

// The prompt above the form above the buttons.
void stack(QWidget* parent, QWidget* prompt, QFormLayout* form, QHBoxLayout* buttons)
{
    auto* layout = new QVBoxLayout(parent);
    layout->addWidget(prompt);
    layout->addLayout(form);
    layout->addLayout(buttons);
    parent->setMinimumWidth(320);
}

}  // namespace

void reportLoginFailure(const LoginResult& result)
{
    if (result.outcome == LoginOutcome::Failed)
        host::MessageBox(QStringLiteral("数据库错误"), result.message, host::Icon::StopSign);
    else
        host::MessageBox(QStringLiteral("登录"), result.message, host::Icon::Exclamation);
}

LoginDialog::LoginDialog(const QString& operatorId, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("w_login"));
    setWindowTitle(QStringLiteral("登录 - 仓库管理系统"));

    auto* title = new QLabel(QStringLiteral("仓库管理系统"), this);
    title->setObjectName(QStringLiteral("st_title"));
    QFont font = title->font();
    font.setPointSize(font.pointSize() + 4);
    font.setBold(true);
    title->setFont(font);
    title->setAlignment(Qt::AlignCenter);

    sle_operator = new QLineEdit(operatorId, this);
    sle_operator->setObjectName(QStringLiteral("sle_operator"));
    sle_password = passwordField(this, QStringLiteral("sle_password"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("操作员:"), sle_operator);
    form->addRow(QStringLiteral("密码:"), sle_password);
    stack(this, title, form, okCancel(this, QStringLiteral("登录(&L)"), QStringLiteral("取消(&C)"), &cb_ok, &cb_cancel));

    connect(cb_ok, &QPushButton::clicked, this, &LoginDialog::tryLogin);
    connect(cb_cancel, &QPushButton::clicked, this, &QDialog::reject);
    if (!operatorId.isEmpty())
        sle_password->setFocus();
}

void LoginDialog::tryLogin()
{
    const LoginResult result = checkLogin(sle_operator->text(), sle_password->text());
    sle_password->clear();
    if (result.outcome == LoginOutcome::Accepted) {
        accepted_ = result.operatorId;
        accept();
        return;
    }
    reportLoginFailure(result);
    sle_password->setFocus();
}

}  // namespace app

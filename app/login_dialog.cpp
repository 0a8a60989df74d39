#include "app/login_dialog.h"

#include "host/messages.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace app {

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
    sle_password = new QLineEdit(this);
    sle_password->setObjectName(QStringLiteral("sle_password"));
    sle_password->setEchoMode(QLineEdit::Password);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("操作员:"), sle_operator);
    form->addRow(QStringLiteral("密码:"), sle_password);

    cb_ok = new QPushButton(QStringLiteral("登录(&L)"), this);
    cb_ok->setObjectName(QStringLiteral("cb_ok"));
    cb_ok->setDefault(true);
    cb_cancel = new QPushButton(QStringLiteral("取消(&C)"), this);
    cb_cancel->setObjectName(QStringLiteral("cb_cancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cb_ok);
    buttons->addWidget(cb_cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addLayout(form);
    layout->addLayout(buttons);
    setMinimumWidth(320);

    connect(cb_ok, &QPushButton::clicked, this, &LoginDialog::tryLogin);
    connect(cb_cancel, &QPushButton::clicked, this, &QDialog::reject);
    if (!operatorId.isEmpty())
        sle_password->setFocus();
}

void LoginDialog::tryLogin()
{
    const LoginResult result = checkLogin(sle_operator->text(), sle_password->text());
    if (result.outcome == LoginOutcome::Accepted) {
        accepted_ = result.operatorId;
        accept();
        return;
    }
    reportLoginFailure(result);
    sle_password->clear();
    sle_password->setFocus();
}

}  // namespace app

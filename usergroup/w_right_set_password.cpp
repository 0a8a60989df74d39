#include "usergroup/w_right_set_password.h"

#include "common/dialog_support.h"
#include "common/fonts.h"
#include "common/levels.h"
#include "host/changed_meanwhile.h"
#include "host/functions.h"
#include "host/messages.h"
#include "host/operation.h"
#include "host/password.h"
#include "host/transaction.h"
#include "host/units.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace usergroup {

namespace {

const QString kFailed = QStringLiteral("设置密码失败.");

QString operatorGone(const QString& id)
{
    return QStringLiteral("不存在编号为") + id + QStringLiteral("的操作员.");
}

QLabel* caption(QWidget* parent, const QString& name, const QString& text, int x, int y, int width, int height)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);  // the operator's name comes from the database
    host::placeUnits(label, x, y, width, height);
    return label;
}

QLineEdit* passwordField(QWidget* parent, const QString& name, int x, int y, int width, int height)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setEchoMode(QLineEdit::Password);
    host::placeUnits(field, x, y, width, height);
    return field;
}

}  // namespace

w_right_set_password::w_right_set_password(QWidget* parent) : host::w_father(parent)
{
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setWindowTitle(QStringLiteral("设置密码"));
    setFont(common::songti(9));
    setFixedSize(host::unitsSize(1440, 452));

    st_operator_ = caption(this, QStringLiteral("st_operator"), QString(), 46, 40, 960, 72);
    caption(this, QStringLiteral("st_password"), QStringLiteral("新密码:"), 46, 172, 270, 72);
    sle_password_ = passwordField(this, QStringLiteral("sle_password"), 320, 160, 686, 88);
    caption(this, QStringLiteral("st_confirm"), QStringLiteral("确认密码:"), 46, 300, 270, 72);
    sle_confirm_ = passwordField(this, QStringLiteral("sle_confirm"), 320, 288, 686, 88);

    cb_ok_ = common::commandButton(this, QStringLiteral("cb_ok"), QStringLiteral("确定"), 1056, 52, 343, 84);
    cb_cancel_ = common::commandButton(this, QStringLiteral("cb_cancel"), QStringLiteral("取消"), 1056, 160, 343, 84);
    setDefaultButton(cb_ok_);
    setCancelButton(cb_cancel_);
    setTabOrder(sle_password_, sle_confirm_);
    setTabOrder(sle_confirm_, cb_ok_);
    setTabOrder(cb_ok_, cb_cancel_);

    connect(cb_ok_, &QPushButton::clicked, this, &w_right_set_password::cbOkClicked);
    connect(cb_cancel_, &QPushButton::clicked, this, [this] { closeWithReturn(QStringLiteral("")); });
}

void w_right_set_password::openEvent(const QString& parameter)
{
    host::w_father::openEvent(parameter);
    cb_ok_->setEnabled(common::canModify(this));
    is_user_id = host::trimBlanks(parameter);
    if (host::f_isnull(is_user_id)) {
        host::f_box(QStringLiteral("请选择操作员."));
        closeWithReturn(QStringLiteral(""));
        return;
    }
    if (!readOperator())
        return;
    sle_password_->setFocus();
}

bool w_right_set_password::readOperator()
{
    // The stored password (a hash, or empty) is kept to name it in the
    // update: never shown, never logged.
    QVariantList row;
    const int status =
        host::sqlca.selectInto(QStringLiteral("select password from s_user where id = ?"), {is_user_id}, row);
    if (status == host::Transaction::kError) {
        host::databaseErrorBox(host::sqlca.sqlerrtext);
        closeWithReturn(QStringLiteral(""));
        return false;
    }
    if (status == host::Transaction::kNotFound) {
        host::f_box(operatorGone(is_user_id));
        closeWithReturn(QStringLiteral(""));
        return false;
    }
    passwordRead_ = row.value(0);
    const QVariant name =
        host::sqlca.selectValue(QStringLiteral("select name from s_employee where id = ?"), {is_user_id});
    st_operator_->setText(QStringLiteral("操作员: ") + is_user_id +
                          (name.isNull() ? QString() : QStringLiteral(" ") + name.toString()));
    return true;
}

void w_right_set_password::cbOkClicked()
{
    if (!common::ensureCanModify(this))
        return;
    const QString problem = host::newPasswordProblem(sle_password_->text(), sle_confirm_->text());
    if (!problem.isEmpty()) {
        host::f_box(problem);
        sle_confirm_->clear();
        sle_password_->setFocus();
        sle_password_->selectAll();
        return;
    }
    const QString hash = host::hashPassword(sle_password_->text());
    if (hash.isEmpty()) {
        host::f_log(QStringLiteral("设置密码失败: 操作员 %1, 无法计算散列值").arg(is_user_id));
        host::f_box(kFailed);
        return;
    }
    // One statement, one operation: the hash is stored, or nothing changes
    // and the dialog keeps what was typed for another try. It names the
    // password read when the dialog opened: one another administrator set
    // meanwhile (or an operator removed meanwhile) is not silently replaced.
    host::Operation operation;
    QString update = QStringLiteral("update s_user set password = ? where id = ?");
    QVariantList values{hash, is_user_id};
    if (passwordRead_.isNull()) {
        update += QStringLiteral(" and password is null");
    } else {
        update += QStringLiteral(" and password = ?");
        values << passwordRead_;
    }
    if (operation.execute(update, values) != host::Transaction::kSuccess) {
        const QString reason = operation.error();
        operation.rollback();
        host::f_log(QStringLiteral("设置密码失败: 操作员 %1, %2").arg(is_user_id, reason));
        host::f_box(kFailed);
        return;
    }
    if (host::sqlca.sqlnrows == 0) {
        const QString reason = host::changedMeanwhileText(QStringLiteral("操作员 ") + is_user_id + QStringLiteral(" 的密码"));
        host::sqlca.recordChangedMeanwhile(reason);
        operation.rollback();
        host::f_log(QStringLiteral("设置密码失败: 操作员 %1, %2").arg(is_user_id, reason));
        // 是: the operator's row is read again (the dialog closes when it
        // is gone); the typed passwords stay for another 确定 either way.
        if (host::askReadAgain(kFailed, reason))
            readOperator();
        return;
    }
    if (operation.commit() != host::Transaction::kSuccess) {
        host::f_log(QStringLiteral("设置密码失败: 操作员 %1, %2").arg(is_user_id, operation.error()));
        host::f_box(kFailed);
        return;
    }
    host::f_log(QStringLiteral("设置密码: 操作员 %1").arg(is_user_id));
    sle_password_->clear();
    sle_confirm_->clear();
    host::f_box(QStringLiteral("设置密码成功."));
    closeWithReturn(QStringLiteral("1"));
}

}  // namespace usergroup

#include "department/w_right_department_add.h"

#include "common/dialog_support.h"
#include "common/fonts.h"
#include "department/open_manager.h"
#include "department/w_right_department_manage.h"
#include "host/functions.h"
#include "host/messages.h"
#include "host/transaction.h"
#include "host/units.h"
#include "platform/datawindow.h"

#include <QPushButton>

namespace department {

w_right_department_add::w_right_department_add(QWidget* parent) : host::w_father(parent)
{
    setWindowTitle(QStringLiteral("增加部门"));
    setFont(common::songti(9));
    setFixedSize(host::unitsSize(1499, 508));
    setBackgroundRole(QPalette::Button);

    dw_1_ = new platform::DataWindow(this);
    dw_1_->setObjectName(QStringLiteral("dw_1"));
    dw_1_->setDataObject(QStringLiteral("d_right_department_freeform"));
    host::placeUnits(dw_1_, 18, 24, 987, 352);

    cb_1_ = common::commandButton(this, QStringLiteral("cb_1"), QStringLiteral("增加(&A)"), 1083, 44, 343, 84);
    cb_2_ = common::commandButton(this, QStringLiteral("cb_2"), QStringLiteral("取消(&C)"), 1083, 152, 343, 84);
    setDefaultButton(cb_1_);
    setCancelButton(cb_2_);
    setTabOrder(dw_1_, cb_1_);
    setTabOrder(cb_1_, cb_2_);

    connect(cb_1_, &QPushButton::clicked, this, &w_right_department_add::cb1Clicked);
    connect(cb_2_, &QPushButton::clicked, this, &QWidget::close);
}

void w_right_department_add::openEvent(const QString& parameter)
{
    host::w_father::openEvent(parameter);
    dw_1_->setTransObject(host::sqlca);
    dw_1_->insertRow(0);
}

void w_right_department_add::cb1Clicked()
{
    dw_1_->acceptText();
    const QString id = host::trimBlanks(dw_1_->getItemString(1, QStringLiteral("dept_id")));
    if (host::f_isnull(id)) {
        host::f_box(QStringLiteral("部门编号不能为空."));
        common::focusField(dw_1_, 1);
        return;
    }
    const QString name = host::trimBlanks(dw_1_->getItemString(1, QStringLiteral("dept_name")));
    if (host::f_isnull(name)) {
        host::f_box(QStringLiteral("部门名称不能为空."));
        common::focusField(dw_1_, 2);
        return;
    }
    const platform::ItemStatus status = dw_1_->getItemStatus(1);
    if (status == platform::ItemStatus::New || status == platform::ItemStatus::NewModified) {
        const long long have =
            host::sqlca.selectValue(QStringLiteral("select count ( *) from s_dept where dept_id = ?"), {id})
                .toLongLong();
        if (have > 0) {
            host::f_box(QStringLiteral("该部门编号已存在，请改用其它编号."));
            return;
        }
        if (host::sqlca.sqlcode == host::Transaction::kError) {
            host::MessageBox(QStringLiteral("SQL错误"), host::sqlca.sqlerrtext);
            return;
        }
    }
    // The record is saved as typed; the manager is given the trimmed values.
    if (dw_1_->update() != 1) {
        host::sqlca.rollback();
        host::f_box(QStringLiteral("增加失败."));
    } else {
        host::sqlca.commit();
        dw_1_->reset();
        dw_1_->insertRow(0);
        if (w_right_department_manage* manager = openManager())
            manager->wf_insert_tvi(name, id);
        host::f_box(QStringLiteral("增加成功."));
    }
    common::focusField(dw_1_, 1);
}

}  // namespace department

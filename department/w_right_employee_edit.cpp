#include "department/w_right_employee_edit.h"

#include "common/dialog_support.h"
#include "common/fonts.h"
#include "host/functions.h"
#include "host/transaction.h"
#include "host/units.h"
#include "platform/datawindow.h"

#include <QPushButton>

namespace department {

w_right_employee_edit::w_right_employee_edit(QWidget* parent) : host::w_father(parent)
{
    setWindowTitle(QStringLiteral("编辑员工信息"));
    setFont(common::songti(9));
    setFixedSize(host::unitsSize(1563, 588));
    setBackgroundRole(QPalette::Button);

    dw_1_ = new platform::DataWindow(this);
    dw_1_->setObjectName(QStringLiteral("dw_1"));
    dw_1_->setDataObject(QStringLiteral("d_right_employee_edit"));
    host::placeUnits(dw_1_, 18, 24, 987, 428);

    cb_1_ = common::commandButton(this, QStringLiteral("cb_1"), QStringLiteral("修改(&E)"), 1083, 44, 343, 84);
    cb_2_ = common::commandButton(this, QStringLiteral("cb_2"), QStringLiteral("取消(&C)"), 1083, 152, 343, 84);
    setDefaultButton(cb_1_);
    setCancelButton(cb_2_);
    setTabOrder(dw_1_, cb_1_);
    setTabOrder(cb_1_, cb_2_);

    connect(cb_1_, &QPushButton::clicked, this, &w_right_employee_edit::cb1Clicked);
    connect(cb_2_, &QPushButton::clicked, this, &QWidget::close);
}

void w_right_employee_edit::openEvent(const QString& parameter)
{
    host::w_father::openEvent(parameter);
    dw_1_->setTransObject(host::sqlca);
    dw_1_->retrieve({stringParm()});
}

void w_right_employee_edit::cb1Clicked()
{
    if (dw_1_->rowCount() < 1)
        return;
    dw_1_->acceptText();
    const QString name = host::trimBlanks(dw_1_->getItemString(1, QStringLiteral("name")));
    if (host::f_isnull(name)) {
        host::f_box(QStringLiteral("员工名称不能为空."));
        common::focusField(dw_1_, 2);
        return;
    }
    if (dw_1_->update() == 1) {
        host::sqlca.commit();
        host::f_box(QStringLiteral("修改成功."));
    } else {
        host::sqlca.rollback();
        host::f_box(QStringLiteral("修改失败."));
    }
}

}  // namespace department

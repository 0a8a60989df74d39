#include "usergroup/w_right_select_group.h"

#include "common/dialog_support.h"
#include "common/fonts.h"
#include "host/filter.h"
#include "host/messages.h"
#include "host/transaction.h"
#include "host/units.h"
#include "platform/datawindow.h"
#include "platform/expression.h"

#include <QApplication>
#include <QPushButton>

namespace usergroup {

w_right_select_group::w_right_select_group(QWidget* parent) : host::Window(parent)
{
    // A response window: title bar, no control menu, not resizable.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setWindowTitle(QStringLiteral("请选择目的组"));
    setFont(common::songti(9));
    setFixedSize(host::unitsSize(1678, 1352));
    setBackgroundRole(QPalette::Button);

    dw_1_ = new platform::DataWindow(this);
    dw_1_->setObjectName(QStringLiteral("dw_1"));
    dw_1_->setDataObject(QStringLiteral("d_right_group"));
    host::placeUnits(dw_1_, 18, 12, 1175, 1224);

    cb_ok_ = common::commandButton(this, QStringLiteral("cb_ok"), QStringLiteral("确定"), 1262, 36, 343, 84, 10);
    cb_cancel_ = common::commandButton(this, QStringLiteral("cb_cancel"), QStringLiteral("取消"), 1266, 160, 343, 84, 10);
    setTabOrder(cb_ok_, dw_1_);
    setTabOrder(dw_1_, cb_cancel_);
    // Esc cancels; Enter confirms once a group is chosen.
    setCancelButton(cb_cancel_);
    setDefaultButton(cb_ok_);
    cb_ok_->setEnabled(false);

    connect(dw_1_, &platform::DataWindow::rowFocusChanged, this, &w_right_select_group::rowFocusChanged);
    connect(cb_ok_, &QPushButton::clicked, this, &w_right_select_group::cbOkClicked);
    connect(cb_cancel_, &QPushButton::clicked, this, [this] { closeWithReturn(QStringLiteral("")); });
}

void w_right_select_group::openEvent(const QString& parameter)
{
    host::Window::openEvent(parameter);
    setWindowIcon(QApplication::windowIcon());
    const QString source = stringParm();
    dw_1_->setTransObject(host::sqlca);
    if (host::f_filter(*dw_1_, QStringLiteral("group_id <> ") + platform::quoteLiteral(source)) < 0)
        host::databaseErrorBox(host::sqlca.sqlerrtext);
    // No group is chosen for the operator: a whole group must never move
    // into the first group of the list by one click on 确定.
    dw_1_->setRow(0);
    dw_1_->selectRow(0, false);
    cb_ok_->setEnabled(false);
    // The grid would make its first row current when it gets the focus on
    // showing; the focus starts on 取消 instead.
    cb_cancel_->setFocus();
}

void w_right_select_group::rowFocusChanged(long row)
{
    dw_1_->selectRow(0, false);
    if (row >= 1)
        dw_1_->selectRow(row, true);
    cb_ok_->setEnabled(row >= 1);
}

void w_right_select_group::cbOkClicked()
{
    const long row = dw_1_->getRow();
    if (row < 1) {
        host::MessageBox(QStringLiteral("提示"), QStringLiteral("无选中的目的组."));
        return;
    }
    closeWithReturn(dw_1_->getItemString(row, QStringLiteral("group_id")));
}

}  // namespace usergroup

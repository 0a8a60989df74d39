#include "usergroup/w_right_user_add.h"

#include "common/dialog_support.h"
#include "common/fonts.h"
#include "common/levels.h"
#include "common/list_view.h"
#include "host/functions.h"
#include "host/messages.h"
#include "host/operation.h"
#include "host/transaction.h"
#include "host/units.h"
#include "platform/datawindow.h"
#include "usergroup/open_manager.h"
#include "usergroup/password_offer.h"
#include "usergroup/w_right_setup.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

namespace usergroup {

namespace {
const QString kForm = QStringLiteral("d_right_user_freeform");
const QString kUserCode = QStringLiteral("user_code");
const QString kGroupCode = QStringLiteral("group_code");
}  // namespace

w_right_user_add::w_right_user_add(QWidget* parent) : host::w_father(parent)
{
    setWindowTitle(QStringLiteral("增加操作员"));
    setFont(common::songti(9));
    setFixedSize(host::unitsSize(1399, 548));

    gb_1_ = new QGroupBox(this);
    gb_1_->setObjectName(QStringLiteral("gb_1"));
    host::placeUnits(gb_1_, 14, 0, 901, 400);

    rb_1_ = new QRadioButton(QStringLiteral("选取员工"), this);
    rb_1_->setObjectName(QStringLiteral("rb_1"));
    host::placeUnits(rb_1_, 96, 68, 325, 60);
    rb_1_->setChecked(true);
    rb_2_ = new QRadioButton(QStringLiteral("选取操作员"), this);
    rb_2_->setObjectName(QStringLiteral("rb_2"));
    host::placeUnits(rb_2_, 453, 68, 361, 60);

    dw_1_ = new platform::DataWindow(this);
    dw_1_->setObjectName(QStringLiteral("dw_1"));
    dw_1_->setDataObject(kForm);
    host::placeUnits(dw_1_, 96, 160, 745, 216);

    cb_1_ = common::commandButton(this, QStringLiteral("cb_1"), QStringLiteral("增加(&A)"), 978, 52, 343, 84);
    cb_2_ = common::commandButton(this, QStringLiteral("cb_2"), QStringLiteral("取消(&C)"), 978, 160, 343, 84);
    setDefaultButton(cb_1_);
    setCancelButton(cb_2_);
    setTabOrder(dw_1_, cb_1_);
    setTabOrder(cb_1_, cb_2_);

    connect(rb_1_, &QRadioButton::clicked, this, [this] { chooseSource(QStringLiteral("dddw_right_employee")); });
    connect(rb_2_, &QRadioButton::clicked, this, [this] { chooseSource(QStringLiteral("dddw_right_user")); });
    connect(cb_1_, &QPushButton::clicked, this, &w_right_user_add::cb1Clicked);
    connect(cb_2_, &QPushButton::clicked, this, &QWidget::close);
}

void w_right_user_add::openEvent(const QString& parameter)
{
    host::w_father::openEvent(parameter);
    dw_1_->setTransObject(host::sqlca);
    cb_1_->setEnabled(common::canModify(this));
    dw_1_->insertRow(0);
    if (w_right_setup* manager = openManager())
        is_group_id = common::ManagerFrame::itemData(manager->currentTreeItem());
    dw_1_->setItem(1, kGroupCode, is_group_id);
}

void w_right_user_add::newRecord()
{
    dw_1_->insertRow(0);
    dw_1_->setItem(1, kGroupCode, is_group_id);
}

void w_right_user_add::chooseSource(const QString& source)
{
    dw_1_->setDataObject(kForm);
    dw_1_->setTransObject(host::sqlca);
    platform::DropDownSpec spec;
    spec.dataObject = source;
    spec.dataColumn = QStringLiteral("id");
    spec.displayColumn = QStringLiteral("name");
    spec.widthPercent = 200;
    dw_1_->setDropDown(kUserCode, spec);
    newRecord();
}

void w_right_user_add::cb1Clicked()
{
    if (!common::ensureCanModify(this))
        return;
    dw_1_->acceptText();
    const QString id = host::trimBlanks(dw_1_->getItemString(1, kUserCode));
    if (host::f_isnull(id)) {
        host::f_box(QStringLiteral("操作员不能为空."));
        common::focusField(dw_1_, 1);
        return;
    }
    // The operator row (when the employee is not an operator yet) and the
    // membership are one operation: both are stored, or neither.
    // The counts that decide the writes run inside their transaction.
    host::Operation operation;
    if (!operation.begin()) {
        host::MessageBox(QStringLiteral("SQL错误"), operation.error());
        return;
    }
    const platform::ItemStatus status = dw_1_->getItemStatus(1);
    if (status == platform::ItemStatus::New || status == platform::ItemStatus::NewModified) {
        long long have = host::sqlca
                             .selectValue(QStringLiteral("select count ( *) from s_user_group where user_code = ? "
                                                         "and group_code = ?"),
                                          {id, is_group_id})
                             .toLongLong();
        if (have > 0) {
            host::f_box(QStringLiteral("操作员在此组已存在，请选择其人员."));
            return;
        }
        if (host::sqlca.sqlcode == host::Transaction::kError) {
            host::MessageBox(QStringLiteral("SQL错误"), host::sqlca.sqlerrtext);
            return;
        }
        have = host::sqlca.selectValue(QStringLiteral("select count ( *) from s_user where id = ?"), {id})
                   .toLongLong();
        if (have <= 0) {
            if (host::sqlca.sqlcode == host::Transaction::kError) {
                host::MessageBox(QStringLiteral("SQL错误"), host::sqlca.sqlerrtext);
                return;
            }
            // The employee becomes an operator: empty password, status "1",
            // the person id the statement's only parameter. Without its
            // operator row the membership would name nobody.
            if (operation.execute(QStringLiteral("insert into s_user ( id, password, status ) values ( ?, '', '1' )"),
                                  {id}) != 0) {
                host::f_log(QStringLiteral("向操作员表中插入员工ID") + id + QStringLiteral("时发生错误"));
                operation.rollback();
                host::f_box(QStringLiteral("增加失败."));
                common::focusField(dw_1_, 1);
                return;
            }
        }
    }

    if (dw_1_->update(false) != 1 || operation.commit() != host::Transaction::kSuccess) {
        operation.rollback();
        host::f_box(QStringLiteral("增加失败."));
        common::focusField(dw_1_, 1);
        return;
    }
    dw_1_->reset();
    newRecord();
    if (w_right_setup* manager = openManager()) {
        const QVariant name = host::sqlca.selectValue(QStringLiteral("select name from s_employee where id = ?"), {id});
        manager->lv_1()->addItem(name.isNull() ? QString() : name.toString(), id, 2);
    }
    reportAdded(id);
    common::focusField(dw_1_, 1);
}

}  // namespace usergroup

#include "common/record_dialog.h"

#include "common/dialog_support.h"
#include "common/fonts.h"
#include "common/levels.h"
#include "host/changed_meanwhile.h"
#include "host/functions.h"
#include "host/messages.h"
#include "host/operation.h"
#include "host/transaction.h"
#include "host/units.h"
#include "platform/datawindow.h"

#include <QPushButton>

namespace common {

RecordDialog::RecordDialog(const RecordDialogLayout& layout, QWidget* parent) : host::w_father(parent)
{
    setWindowTitle(layout.title);
    setFont(songti(9));
    setFixedSize(host::unitsSize(layout.size.width(), layout.size.height()));
    // Every single-record dialog is painted in the button face colour.
    setBackgroundRole(QPalette::Button);

    dw_1_ = new platform::DataWindow(this);
    dw_1_->setObjectName(QStringLiteral("dw_1"));
    dw_1_->setDataObject(layout.dataObject);
    host::placeUnits(dw_1_, layout.form.x(), layout.form.y(), layout.form.width(), layout.form.height());

    cb_1_ = commandButton(this, QStringLiteral("cb_1"), layout.actionText, layout.buttonsX, 44, 343, 84);
    cb_2_ = commandButton(this, QStringLiteral("cb_2"), QStringLiteral("取消(&C)"), layout.buttonsX, 152, 343, 84);
    setDefaultButton(cb_1_);
    setCancelButton(cb_2_);
    setTabOrder(dw_1_, cb_1_);
    setTabOrder(cb_1_, cb_2_);

    connect(cb_1_, &QPushButton::clicked, this, [this] { cb1Clicked(); });
    connect(cb_2_, &QPushButton::clicked, this, &QWidget::close);
}

void RecordDialog::openEvent(const QString& parameter)
{
    host::w_father::openEvent(parameter);
    dw_1_->setTransObject(host::sqlca);
    // An operator who may only look sees the record but cannot store it.
    const bool modify = canModify(this);
    cb_1_->setEnabled(modify);
    dw_1_->setReadOnly(!modify);
}

void RecordDialog::newRecord()
{
    dw_1_->insertRow(0);
}

void RecordDialog::recordAdded(const QString&, const QString&) {}

void RecordDialog::addRecord(const AddRecordTexts& texts)
{
    if (!ensureCanModify(this))
        return;
    dw_1_->acceptText();
    const QString id = host::trimBlanks(dw_1_->getItemString(1, texts.idColumn));
    if (host::f_isnull(id)) {
        host::f_box(texts.emptyId);
        focusField(dw_1_, 1);
        return;
    }
    const QString name = host::trimBlanks(dw_1_->getItemString(1, texts.nameColumn));
    if (host::f_isnull(name)) {
        host::f_box(texts.emptyName);
        focusField(dw_1_, 2);
        return;
    }
    // The record is one operation: written and committed, or not there at
    // all, with every typed value still in the form. The count of the code
    // runs inside it, so that a code another client stored meanwhile is
    // reported as existing rather than refused by the database.
    host::Operation operation;
    if (!operation.begin()) {
        host::MessageBox(QStringLiteral("SQL错误"), operation.error());
        return;
    }
    const platform::ItemStatus status = dw_1_->getItemStatus(1);
    if (status == platform::ItemStatus::New || status == platform::ItemStatus::NewModified) {
        const long long have = host::sqlca.selectValue(texts.countStatement, {id}).toLongLong();
        if (have > 0) {
            host::f_box(texts.duplicateId);
            return;
        }
        if (host::sqlca.sqlcode == host::Transaction::kError) {
            host::MessageBox(QStringLiteral("SQL错误"), host::sqlca.sqlerrtext);
            return;
        }
    }
    // The code is stored trimmed (the manager lists and finds it so); the
    // other fields are saved as typed.
    if (dw_1_->getItemString(1, texts.idColumn) != id && dw_1_->setItem(1, texts.idColumn, id) != 1) {
        host::f_box(QStringLiteral("增加失败."));
        return;
    }
    if (dw_1_->update(false) != 1 || operation.commit() != host::Transaction::kSuccess) {
        operation.rollback();
        host::f_box(QStringLiteral("增加失败."));
        focusField(dw_1_, 1);
        return;
    }
    dw_1_->reset();
    newRecord();
    recordAdded(id, name);
    host::f_box(QStringLiteral("增加成功."));
    focusField(dw_1_, 1);
}

void RecordDialog::saveRecord(const QString& nameColumn, const QString& emptyName, const QString& what)
{
    if (dw_1_->rowCount() < 1 || !ensureCanModify(this))
        return;
    dw_1_->acceptText();
    const QString name = host::trimBlanks(dw_1_->getItemString(1, nameColumn));
    if (host::f_isnull(name)) {
        host::f_box(emptyName);
        focusField(dw_1_, 2);
        return;
    }
    // A refused save keeps the changes in the form, so that saving again
    // writes them.
    host::Operation operation;
    if (dw_1_->update(false) != 1 || operation.commit() != host::Transaction::kSuccess) {
        operation.rollback();
        if (!host::sqlca.changedMeanwhile()) {
            host::f_box(QStringLiteral("修改失败."));
            return;
        }
        if (host::askReadAgain(QStringLiteral("修改失败."), host::changedMeanwhileText(what)))
            readRecord();
        return;
    }
    dw_1_->resetUpdate();
    host::f_box(QStringLiteral("修改成功."));
}

}  // namespace common

#pragma once
// The ancestor of the single-record dialogs: a form dw_1 beside the command
// buttons cb_1 (the default button) and cb_2 (cancel, closes the dialog).
// It carries the dialogs' add and edit flows; a concrete dialog gives its
// texts, statement and what happens to the manager after an add.

#include "common/export.h"

#include "host/w_father.h"

#include <QRect>
#include <QSize>
#include <QString>

class QPushButton;

namespace platform {
class DataWindow;
}

namespace common {

// How a single-record dialog looks; sizes and places in layout units.
struct WMS_COMMON_EXPORT RecordDialogLayout {
    QString title;
    QSize size;
    QString dataObject;
    QRect form;
    QString actionText;  // cb_1's caption
    // cb_1 and cb_2 stand one above the other at this left edge.
    int buttonsX = 0;
};

// What an add dialog checks and says; the record's code is column 1 and its
// name column 2 of the form.
struct WMS_COMMON_EXPORT AddRecordTexts {
    QString idColumn;
    QString nameColumn;
    QString emptyId;
    QString emptyName;
    // Counts the stored records with the code bound as its single parameter.
    QString countStatement;
    QString duplicateId;
};

class WMS_COMMON_EXPORT RecordDialog : public host::w_father {
    Q_OBJECT
public:
    platform::DataWindow* dw_1() const { return dw_1_; }
    QPushButton* cb_1() const { return cb_1_; }
    QPushButton* cb_2() const { return cb_2_; }

    // Binds the form to the host transaction.
    void openEvent(const QString& parameter) override;

    // cb_1: add or save the record.
    virtual void cb1Clicked() = 0;

protected:
    RecordDialog(const RecordDialogLayout& layout, QWidget* parent);

    // Stores the record of the form as a new one and starts a fresh record.
    void addRecord(const AddRecordTexts& texts);
    // Saves the changes to the record shown; `nameColumn` must not be empty.
    // A record another client changed or deleted since it was read is not
    // written: the operator is asked whether to read it again (readRecord),
    // naming it as `what` ("员工 E001"); on 否 the typed values stay.
    void saveRecord(const QString& nameColumn, const QString& emptyName, const QString& what);

    // Reads the record shown from the database (again).
    virtual void readRecord() {}

    // Starts a fresh record in the form.
    virtual void newRecord();
    // A record was added, with its trimmed code and name.
    virtual void recordAdded(const QString& id, const QString& name);

private:
    platform::DataWindow* dw_1_;
    QPushButton* cb_1_;
    QPushButton* cb_2_;
};

}  // namespace common

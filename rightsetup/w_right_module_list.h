#pragma once
// The module list "选择模块": every module item the group holds no right on
// yet, each with a check box. Confirming appends one unsaved row per ticked
// item to the grid of the group rights editor, which saves them.
//
// Opened modally by the editor with the group code as its parameter.

#include "rightsetup/export.h"

#include "host/w_listview_father.h"

#include <QIcon>
#include <QString>

class QPushButton;

namespace rightsetup {

class WMS_RIGHTSETUP_EXPORT w_right_module_list : public host::w_listview_father {
    Q_OBJECT
public:
    // Roles of an entry of lv_1: its module item code and its picture (1 or 2).
    static constexpr int kDataRole = Qt::UserRole;
    static constexpr int kPictureRole = Qt::UserRole + 1;

    explicit w_right_module_list(QWidget* parent = nullptr);

    void openEvent(const QString& parameter) override;

    void cb_ok_clicked();

    // The group whose rights are being edited.
    QString is_group_code;

    QPushButton* cb_ok = nullptr;
    QPushButton* cb_cancel = nullptr;

protected:
    // A right click in the list does nothing here.
    void lv_1RightClicked(int index) override;

private:
    void addEntry(const QString& name, const QString& code);

    QIcon pictures_[2];
};

}  // namespace rightsetup

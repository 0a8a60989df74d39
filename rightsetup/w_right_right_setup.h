#pragma once
// The group rights editor "操作组权限设置": the s_group_power rows of one
// group in an editable grid. The group is the entry selected in the list of
// the user and group manager when the editor opens. Module items are added
// through the module list (w_right_module_list), levels are chosen in the
// grid, and a save checks for missing and repeated module items before it
// writes anything. A save or delete that finds a row changed by another
// client since it was read writes nothing; the operator chooses between
// reading the group's rows again and keeping the changes.

#include "rightsetup/export.h"

#include "host/w_father.h"

#include <QString>

class QPushButton;

namespace platform {
class DataWindow;
}

namespace rightsetup {

class WMS_RIGHTSETUP_EXPORT w_right_right_setup : public host::w_father {
    Q_OBJECT
public:
    // The window's module item code, its tag.
    static inline const QString kModuleItem = QStringLiteral("003");

    explicit w_right_right_setup(QWidget* parent = nullptr);

    void openEvent(const QString& parameter) override;
    void resizeWindow(int newWidth, int newHeight) override;
    bool closeQuery() override;

    // The buttons' click handling, public so that the module list and tests
    // can run it as a click does.
    void cb_add_clicked();
    void cb_delete_clicked();
    void cb_save_clicked();

    // The group being edited.
    QString is_group_id;
    // False once the grid was edited since opening (also by the module list);
    // closing then looks for unsaved changes.
    bool ib_canexit = true;
    // False while a save runs, true once it succeeded.
    bool ib_save_success = false;

    platform::DataWindow* dw_1 = nullptr;
    QPushButton* cb_add = nullptr;
    QPushButton* cb_delete = nullptr;
    QPushButton* cb_save = nullptr;
    QPushButton* cb_cancel = nullptr;

private:
    // Grid edited by the operator.
    void gridEdited();
    // Enables the data-changing buttons and the grid by the operator's level.
    void applyLevel();
    // Scrolls to `row`, focuses the grid there on the module column.
    void focusModule(long row);
    // Reads the group's rows afresh.
    void loadRows();
    // What stops a save before anything is written: a notice and the row to
    // focus, or a database error of the existence check (on sqlca).
    struct RowProblem {
        QString notice;
        long row = 0;
        bool databaseError = false;
    };
    // Checks every changed row (module chosen, not held yet, not repeated).
    RowProblem checkRows();
    // After a write another client's change refused: `failure` first, then
    // the reason and the question; 是 reads the group's rows again.
    void offerReadAgain(const QString& failure);
    // Opens the drop-down of the level of `row` (at level 2 only).
    void openLevelChoices(long row);
};

}  // namespace rightsetup

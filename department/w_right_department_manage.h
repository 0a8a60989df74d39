#pragma once
// The department and employee manager: the tree-and-list frame with the
// departments as entities and the employees of a department as members.
// Besides the frame it opens the department and employee edit dialogs
// (ue_edit) and the batch dialogs that add or delete a numbered series of
// employees of the department selected in the list (ue_batchadd, ue_batchdel).

#include "department/export.h"

#include "common/manager_frame.h"

namespace department {

class WMS_DEPARTMENT_EXPORT w_right_department_manage : public common::ManagerFrame {
    Q_OBJECT
public:
    explicit w_right_department_manage(QWidget* parent = nullptr);

    static common::FrameParameters frameParameters();

    QPushButton* pb_batch() const { return button4(); }
    QPushButton* pb_batchdel() const { return button5(); }

    // Opens the edit dialog of the department or employee selected in the list.
    void ue_edit();
    // Open the batch dialogs for the department selected in the root's list.
    void ue_batchadd();
    void ue_batchdel();

protected:
    std::unique_ptr<common::PopupMenu> createPopupMenu() override;
    void button2Event() override;
    QString deleteQuestion(int treeLevel, const QString& key, const QString& label) override;
    void button4Clicked() override;
    void button5Clicked() override;

private:
    // The department selected in the root's list, or empty.
    QString selectedDepartment() const;
};

}  // namespace department

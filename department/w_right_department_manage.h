#pragma once
// The department and employee manager: the tree-and-list frame with the
// departments as entities and the employees of a department as members.
// Besides the frame it opens the department and employee edit dialogs
// (ue_edit) and the batch dialogs that add or delete a numbered series of
// employees of the department selected in the list (ue_batchadd, ue_batchdel).
//
// Employees whose department does not exist are listed under a tree item
// "(无部门)" after the departments, shown when there are such employees when
// the tree is built. It is not a department: it is not in the root's list (so
// it is never renamed, deleted or given a batch) and no employee is added
// under it. A department is deleted only while it holds no employee.

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

    // The data of the "(无部门)" tree item: longer than a department code
    // may be, so no department can carry it.
    static const QString& noDepartmentKey();
    // Whether `item` is the "(无部门)" tree item.
    static bool isNoDepartment(const QTreeWidgetItem* item);

protected:
    std::unique_ptr<common::PopupMenu> createPopupMenu() override;
    void button2Event() override;
    QString deleteQuestion(int treeLevel, const QString& key, const QString& label) override;
    void button4Clicked() override;
    void button5Clicked() override;
    QString memberFilter(const QString& entityKey) const override;
    bool entityDeleteAllowed(host::Operation& operation, const QString& key) override;
    void treeBuilt(QTreeWidgetItem* root) override;

private:
    // The filter of the employees shown under no department: their
    // department code is null or none of the departments' codes (trimmed, as
    // the tree has them). Empty when the departments could not be read.
    QString noDepartmentFilter() const;

    // The department selected in the root's list, or empty.
    QString selectedDepartment() const;
};

}  // namespace department

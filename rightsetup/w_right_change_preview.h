#pragma once
// "导入权限矩阵": the changes an imported matrix file would make, listed
// before anything is written, with what the file named that the database does
// not know. 应用 writes them as one operation and closes with "applied";
// 取消 closes with nothing written.

#include "rightsetup/export.h"

#include "host/w_father.h"
#include "rightsetup/rights_diff.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace rightsetup {

class WMS_RIGHTSETUP_EXPORT w_right_change_preview : public host::w_father {
    Q_OBJECT
public:
    explicit w_right_change_preview(QWidget* parent = nullptr);

    void setChanges(const QList<RightChange>& changes, const QMap<QString, QString>& itemNames,
                    const QString& notes);
    const QList<RightChange>& changes() const { return changes_; }

    // 应用: level 2, then the one operation. True when it was committed.
    bool apply();

    QLabel* st_notes = nullptr;
    QTableWidget* dw_changes = nullptr;
    QPushButton* cb_apply = nullptr;
    QPushButton* cb_cancel = nullptr;

private:
    QList<RightChange> changes_;
};

}  // namespace rightsetup

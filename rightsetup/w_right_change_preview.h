#pragma once
// "导入权限矩阵": the changes an imported matrix file would make, listed
// before anything is written, with what the file named that the database does
// not know. 应用 writes them as one operation and closes with "applied";
// 取消 closes with nothing written. When another client changed one of the
// cells since the matrix was read, nothing is written and the operator is
// asked whether to read again: 是 closes with "read again" (the opener reads
// the database and the file again), 否 keeps the list open.

#include "rightsetup/export.h"

#include "host/w_father.h"
#include "rightsetup/rights_diff.h"
#include "rightsetup/rights_writer.h"

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

    // The dialog's string results.
    static inline const QString kApplied = QStringLiteral("applied");
    static inline const QString kReadAgain = QStringLiteral("read again");

    // 应用: level 2, then the one operation.
    WriteResult apply();

    QLabel* st_notes = nullptr;
    QTableWidget* dw_changes = nullptr;
    QPushButton* cb_apply = nullptr;
    QPushButton* cb_cancel = nullptr;

private:
    QList<RightChange> changes_;
};

}  // namespace rightsetup

#pragma once
// "复制与比较操作组权限": two groups, 源组 and 目标组, chosen by the operator
// (none is chosen when the dialog opens). The 复制 page lists the changes
// copying the source's rights onto the target would make, as 替换 (the target
// ends with exactly the source's rows) or 合并 (the source's rows are added
// where the target has none; where both have a row the greater level wins);
// its 应用 asks first, with the number of changes, and then writes exactly
// that list as one operation. The 比较 page only shows both groups' levels
// side by side, the rows that differ marked: it has no 应用, and nothing on it
// writes.

#include "rightsetup/export.h"

#include "host/w_father.h"
#include "rightsetup/rights_diff.h"

class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTableWidget;
class QTabWidget;

namespace rightsetup {

class WMS_RIGHTSETUP_EXPORT w_right_group_copy : public host::w_father {
    Q_OBJECT
public:
    explicit w_right_group_copy(QWidget* parent = nullptr);

    // Lists the groups; the parameter is not used to choose one.
    void openEvent(const QString& parameter) override;

    void setSource(const QString& group);
    void setTarget(const QString& group);
    void setMode(CopyMode mode);
    CopyMode mode() const;

    // Reads both groups afresh and shows the preview and the comparison.
    void refresh();
    // The changes the preview shows.
    const QList<RightChange>& preview() const { return preview_; }
    const QList<CompareRow>& comparison() const { return comparison_; }
    // 应用 on the 复制 page: level 2, the question (否 writes nothing), then
    // one operation that writes the list shown only while both groups still
    // give it. True when it was committed.
    bool apply();
    // True once a copy was committed while the dialog was open.
    bool applied() const { return applied_; }

    QComboBox* ddlb_source = nullptr;
    QComboBox* ddlb_target = nullptr;
    QTabWidget* tab_pages = nullptr;
    // The 复制 page: the mode, the changes and 应用.
    QWidget* tabpage_copy = nullptr;
    QRadioButton* rb_replace = nullptr;
    QRadioButton* rb_merge = nullptr;
    QTableWidget* dw_preview = nullptr;
    QPushButton* cb_apply = nullptr;
    // The 比较 page.
    QTableWidget* dw_compare = nullptr;
    QLabel* st_summary = nullptr;
    QPushButton* cb_close = nullptr;

private:
    QString source() const;
    QString target() const;
    // Why the chosen groups cannot be copied or compared; empty when they can.
    QString choiceProblem() const;
    QString groupLabel(const QString& group) const;
    bool readGroup(const QString& group, GroupRights* rights);
    bool readState(GroupRights* source, GroupRights* target);
    // False when the groups no longer give the list shown, or cannot be read
    // (sqlca then holds the error). Shows nothing.
    bool previewStillHolds();
    void showComparison();

    QMap<QString, QString> groupNames_;
    QMap<QString, QString> itemNames_;
    QList<RightChange> preview_;
    QList<CompareRow> comparison_;
    bool applied_ = false;
};

}  // namespace rightsetup

#pragma once
// "复制与比较操作组权限": two groups, 源组 and 目标组. The 复制 page lists
// the changes copying the source's rights onto the target would make, as
// 替换 (the target ends with exactly the source's rows) or 合并 (the source's
// rows are added where the target has none; where both have a row the greater
// level wins); 应用 writes exactly that list as one operation. The 比较 page
// shows both groups' levels side by side, the rows that differ marked.
// Opened with the source group's id as its parameter.

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
    // 应用: level 2, the same list read again, then one operation. True when
    // it was committed.
    bool apply();
    // True once a copy was committed while the dialog was open.
    bool applied() const { return applied_; }

    QComboBox* ddlb_source = nullptr;
    QComboBox* ddlb_target = nullptr;
    QRadioButton* rb_replace = nullptr;
    QRadioButton* rb_merge = nullptr;
    QTabWidget* tab_pages = nullptr;
    QTableWidget* dw_preview = nullptr;
    QTableWidget* dw_compare = nullptr;
    QLabel* st_summary = nullptr;
    QPushButton* cb_apply = nullptr;
    QPushButton* cb_close = nullptr;

private:
    QString source() const;
    QString target() const;
    bool readGroup(const QString& group, GroupRights* rights);
    bool readState(GroupRights* source, GroupRights* target);
    void showComparison();

    QMap<QString, QString> itemNames_;
    QList<RightChange> preview_;
    QList<CompareRow> comparison_;
    bool applied_ = false;
};

}  // namespace rightsetup

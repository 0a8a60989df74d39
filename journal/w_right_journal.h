#pragma once
// 权限变更记录: the entries of the change journal, newest first, filtered by
// time, operator and table; 撤销 undoes the selected entries in one guarded
// transaction (level 2 on the window's tag and, for every entry, on the item
// of its table (journal/revert.h); the lock-out guard; refused when a row
// changed since). Viewing needs only that the window opens.

#include "journal/export.h"

#include "host/w_father.h"

#include <QList>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace journal {

class WMS_JOURNAL_EXPORT w_right_journal : public host::w_father {
    Q_OBJECT
public:
    explicit w_right_journal(QWidget* parent = nullptr);

    void openEvent(const QString& parameter) override;

    // Reads the entries the filters describe (cb_query); false after a
    // message when a filter is not valid or the read failed.
    bool query();
    // 刷新 (cb_refresh, F5): query() again, the selected entries kept selected.
    void refresh();
    // Undoes the selected entries (cb_revert).
    void revertSelected();
    // The journal ids of the rows shown, in order, and of the selected rows.
    QList<qint64> shownIds() const;
    QList<qint64> selectedIds() const;

    QLineEdit* sle_since = nullptr;
    QLineEdit* sle_until = nullptr;
    QLineEdit* sle_operator = nullptr;
    QComboBox* ddlb_table = nullptr;
    QPushButton* cb_query = nullptr;
    QPushButton* cb_refresh = nullptr;
    QPushButton* cb_revert = nullptr;
    QPushButton* cb_close = nullptr;
    QTableWidget* dw_journal = nullptr;
    // How many entries are shown, and whether older ones were left out.
    QLabel* st_count = nullptr;

    // The most entries one query shows (the newest).
    static constexpr int kMaxRows = 5000;
    int maxRows = kMaxRows;
};

}  // namespace journal

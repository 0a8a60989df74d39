#pragma once
// "权限矩阵": every group's level on every module item in one grid, groups in
// the rows (code and name), items in the columns (code and name). A click on
// a cell steps it through 无 → 禁止 → 查询 → 修改 → 无; the keys 0, 1, 2 set
// the selected cells' level, Delete takes their row away, Space steps them. A
// whole row (the items shown) or column can be set at once from the context
// menu or the buttons. Edits stay marked and pending until 保存 writes them
// all as one operation and reads the matrix again; a refused save keeps them
// pending. A cell another client changed since the matrix was read refuses
// the save, and the operator chooses between reading again (the edits given
// up) and keeping the edits. Changing needs level 2 on the window's tag; below it the window is
// for viewing. It opens the copy and compare dialog, exports the matrix as
// CSV (the console's format) and as a PDF report, and imports a matrix CSV
// after showing the changes it makes.

#include "rightsetup/export.h"

#include "host/w_father.h"
#include "rightsetup/rights_diff.h"

#include <QModelIndexList>

class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTableView;

namespace rightsetup {

class MatrixModel;

class WMS_RIGHTSETUP_EXPORT w_right_matrix : public host::w_father {
    Q_OBJECT
public:
    // The module item code of the group rights editor: the matrix changes the
    // same rows.
    static inline const QString kModuleItem = QStringLiteral("003");

    explicit w_right_matrix(QWidget* parent = nullptr);

    void openEvent(const QString& parameter) override;
    bool closeQuery() override;

    // Reads the matrix afresh; pending edits are dropped. False when the read
    // failed (the operator was told).
    bool reload();
    // 保存: true when every pending edit was committed (or there was none).
    bool save();
    // The row and column commands, on the current cell.
    void setCurrentRow(const Level& level);
    void setCurrentColumn(const Level& level);
    // A key or a click on the cells, as the grid passes them on.
    void keyOnCells(int key);
    void clickOnCell(const QModelIndex& index);
    // The context menu of a cell (row and column commands), built anew.
    QMenu* contextMenu(const QModelIndex& index);

    // 复制/比较: opens w_right_group_copy, no group chosen.
    void openCopy();
    // The database's matrix as CSV (with a byte order mark) / as a PDF report.
    bool exportCsv(const QString& path);
    bool exportPdf(const QString& path);
    // Reads a matrix CSV, shows its changes and applies them when the
    // operator confirms. True when changes were committed. When a cell was
    // changed by another client meanwhile and the operator reads again, the
    // file is read again against the database and its changes shown anew.
    bool importCsv(const QString& path);

    MatrixModel* model() const { return model_; }

    QLineEdit* sle_filter = nullptr;
    QComboBox* ddlb_level = nullptr;
    QPushButton* cb_set_row = nullptr;
    QPushButton* cb_set_column = nullptr;
    QTableView* dw_matrix = nullptr;
    QLabel* st_status = nullptr;
    QPushButton* cb_copy = nullptr;
    QPushButton* cb_export_csv = nullptr;
    QPushButton* cb_import_csv = nullptr;
    QPushButton* cb_export_pdf = nullptr;
    QPushButton* cb_reload = nullptr;
    QPushButton* cb_save = nullptr;
    QPushButton* cb_close = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Enables what changes data by the operator's level.
    void applyLevel();
    void updateStatus();
    // Copy and import work on the database: edits must be saved first.
    bool noPendingEdits();
    Level chosenLevel() const;
    enum class ImportOutcome { Applied, NotApplied, ReadAgain };
    // One reading of the file against the database and its preview.
    ImportOutcome importOnce(const QString& path);
    QModelIndexList targetCells() const;
    // The current cell, when the operator may change it and one is chosen
    // (otherwise an invalid index, the operator told why).
    QModelIndex cellToChange();

    MatrixModel* model_ = nullptr;
};

}  // namespace rightsetup

#pragma once
// The rights matrix as a table model: one row per group, one column per module
// item (those the filter lets through), each cell the group's level on the
// item: 无 (no row), 禁止, 查询 or 修改. Edits are kept as pending levels over
// the levels read from the database until they are saved or dropped; changed
// cells are marked. The cells are held in one array of small codes, so that
// 1,000 groups × 2,000 items cost a few megabytes and no lookup per cell.

#include "rightsetup/export.h"

#include "rights/review.h"
#include "rightsetup/rights_diff.h"

#include <QAbstractTableModel>
#include <QHash>
#include <vector>

namespace rightsetup {

class WMS_RIGHTSETUP_EXPORT MatrixModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // The cell's level as text, or an invalid QVariant for no row.
    static constexpr int kLevelRole = Qt::UserRole + 1;
    // True for a cell whose pending level differs from the stored one.
    static constexpr int kChangedRole = Qt::UserRole + 2;

    explicit MatrixModel(QObject* parent = nullptr);

    // Shows `matrix` as the stored state; pending edits are dropped.
    void setMatrix(const rights::Matrix& matrix);
    const rights::Matrix& matrix() const { return matrix_; }

    // Shows only the items whose code or name holds `text` (any letter case).
    void setFilter(const QString& text);
    QString filter() const { return filter_; }

    QString groupAt(int row) const;
    QString itemAt(int column) const;
    int rowOfGroup(const QString& group) const;
    int columnOfItem(const QString& item) const;

    // The level shown (pending, else stored) and the stored one.
    Level level(int row, int column) const;
    Level storedLevel(int row, int column) const;

    // Sets cells; a level equal to the stored one takes the edit back.
    void setLevel(int row, int column, const Level& level);
    void setLevels(const QModelIndexList& cells, const Level& level);
    // Every item shown in `row`; every group in `column`.
    void setRowLevel(int row, const Level& level);
    void setColumnLevel(int column, const Level& level);
    // 无 → 禁止 → 查询 → 修改 → 无.
    void cycle(int row, int column);

    bool hasChanges() const;
    int changeCount() const;
    // The pending edits as changes, by group, then item.
    QList<RightChange> changes() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

Q_SIGNALS:
    void changesChanged();

private:
    // A cell: -1 no row, 0..2 the level, 3 another stored text (in odd_).
    using Code = qint8;
    static Code codeOf(const Level& level);
    Level levelOf(qsizetype cell, Code code) const;
    qsizetype cellOf(int row, int column) const;
    bool setCell(int row, int column, const Level& level);

    rights::Matrix matrix_;
    std::vector<Code> stored_;
    QHash<qsizetype, QString> odd_;
    QHash<qsizetype, Code> pending_;
    QList<int> columns_;  // item indexes shown
    QString filter_;
};

}  // namespace rightsetup

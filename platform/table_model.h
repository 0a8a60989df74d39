#pragma once
// A table model over a data store, for grids and drop-down lists: one model
// row per row in view, one model column per column of the definition (hidden
// columns included; the views hide them). The store stays the owner of the
// rows; the model follows its signals.

#include "platform/export.h"

#include "platform/datastore.h"

#include <QAbstractTableModel>

namespace platform {

class DropDownSet;

class WMS_PLATFORM_EXPORT TableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // `dropDowns` (may be null) turns stored values of drop-down columns into
    // their display texts.
    explicit TableModel(DataStore& store, const DropDownSet* dropDowns = nullptr, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    DataStore& store() const { return store_; }
    // Whether the operator may change a cell (not display only, has a tab
    // stop, not protected on its row).
    bool isEditable(const QModelIndex& index) const;
    // Every cell changed its look (drop-down lists read, statuses reset).
    void refreshAll();

private:
    void refreshRow(long row);

    DataStore& store_;
    const DropDownSet* dropDowns_;
    long currentRow_ = 0;
    int columns_ = 0;
};

}  // namespace platform

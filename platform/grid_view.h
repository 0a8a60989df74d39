#pragma once
// A data view shown as a grid: a table view over the store's model, column
// headers from the labels, hidden columns hidden, the current cell following
// the store's current row and column, highlighted rows set by the window.

#include "platform/export.h"

#include <QTableView>

namespace platform {

class DataStore;
class DropDownSet;
class ItemDelegate;

class WMS_PLATFORM_EXPORT GridView : public QTableView {
    Q_OBJECT
public:
    GridView(DataStore& store, DropDownSet& dropDowns, QWidget* parent = nullptr);

    DataStore& store() const { return store_; }
    ItemDelegate* delegate() const { return delegate_; }

    // Commits the open cell editor: 1, or -1 when the store refused the value
    // (the editor stays open with the text).
    int acceptEdit();
    // Makes a cell current (row 1-based, column 0-based) without editing it.
    void showCell(long row, int column);

Q_SIGNALS:
    // A click on a cell, or beside the rows (row 0, column -1).
    void cellClicked(long row, int column);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    void configureColumns();

    DataStore& store_;
    ItemDelegate* delegate_;
    bool syncing_ = false;
};

}  // namespace platform

#include "platform/grid_view.h"

#include "platform/datastore.h"
#include "platform/dropdown.h"
#include "platform/item_delegate.h"

#include <QHash>
#include <QHeaderView>
#include <QMouseEvent>

namespace platform {

namespace {

class RowNumberHeader : public QHeaderView {
public:
    explicit RowNumberHeader(QWidget* parent) : QHeaderView(Qt::Vertical, parent)
    {
        // As the table view's own vertical header.
        setSectionsClickable(true);
        setHighlightSections(true);
    }

protected:
    QSize sectionSizeFromContents(int logicalIndex) const override
    {
        // Digits are as wide as each other: one measure per number of digits.
        const qsizetype digits = QString::number(logicalIndex + 1).size();
        const auto known = sizes_.constFind(digits);
        if (known != sizes_.constEnd())
            return known.value();
        const QSize size = QHeaderView::sectionSizeFromContents(logicalIndex);
        sizes_.insert(digits, size);
        return size;
    }

private:
    mutable QHash<qsizetype, QSize> sizes_;
};

}  // namespace

GridView::GridView(DataStore& store, DropDownSet& dropDowns, QWidget* parent)
    : QTableView(parent), store_(store)
{
    // Row numbers in the vertical header: every section of a given number of
    // digits is as wide as any other, so a long grid need not measure each.
    setVerticalHeader(new RowNumberHeader(this));
    // The store is the model; its drop-down columns show their lists' texts.
    store.setDisplayLists(&dropDowns);
    delegate_ = new ItemDelegate(store, dropDowns, this);
    setModel(&store);
    setItemDelegate(delegate_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    // Rows are highlighted by the window (selectRow), not by clicks.
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                    | QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    horizontalHeader()->setStretchLastSection(true);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    configureColumns();
    connect(&store_, &QAbstractItemModel::modelReset, this, [this] {
        configureColumns();
        showCell(store_.getRow(), currentIndex().isValid() ? currentIndex().column() : -1);
    });
    connect(&store_, &DataStore::currentRowChanged, this, [this](long row) {
        showCell(row, currentIndex().isValid() ? currentIndex().column() : -1);
    });
    connect(&store_, &DataStore::currentColumnChanged, this, [this](const QString& column) {
        const Definition* def = store_.definition();
        if (def)
            showCell(store_.getRow(), def->columnIndex(column));
    });
}

void GridView::configureColumns()
{
    const Definition* def = store_.definition();
    if (!def)
        return;
    for (int c = 0; c < def->columns.size(); ++c)
        setColumnHidden(c, !def->columns.at(c).visible);
}

void GridView::showCell(long row, int column)
{
    const Definition* def = store_.definition();
    if (!def || syncing_)
        return;
    if (column < 0) {
        const int current = def->columnIndex(store_.getColumn());
        column = current;
        for (int c = 0; column < 0 && c < def->columns.size(); ++c)
            if (def->columns.at(c).visible)
                column = c;
    }
    syncing_ = true;
    if (row < 1 || row > store_.rowCount()) {
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    } else {
        const QModelIndex index = store_.index(int(row - 1), qMax(0, column));
        if (index != currentIndex())
            selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    }
    syncing_ = false;
}

void GridView::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    if (syncing_ || !current.isValid())
        return;
    const Definition* def = store_.definition();
    syncing_ = true;
    store_.setRow(current.row() + 1);
    if (def && current.column() < def->columns.size())
        store_.setColumn(def->columns.at(current.column()).name);
    syncing_ = false;
}

int GridView::acceptEdit()
{
    QWidget* editor = delegate_->openEditor();
    if (!editor)
        return 1;
    delegate_->commitDirectly(editor);
    if (!delegate_->lastCommitAccepted())
        return -1;
    closeEditor(editor, QAbstractItemDelegate::NoHint);
    return 1;
}

void GridView::mousePressEvent(QMouseEvent* event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    QTableView::mousePressEvent(event);
    Q_EMIT cellClicked(index.isValid() ? index.row() + 1 : 0, index.isValid() ? index.column() : -1);
}

}  // namespace platform

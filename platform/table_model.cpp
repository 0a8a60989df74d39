#include "platform/table_model.h"

#include "platform/column_editor.h"
#include "platform/dropdown.h"

#include <QApplication>
#include <QPalette>

namespace platform {

TableModel::TableModel(DataStore& store, const DropDownSet* dropDowns, QObject* parent)
    : QAbstractTableModel(parent), store_(store), dropDowns_(dropDowns), columns_(store.columnCount())
{
    connect(&store_, &DataStore::aboutToReset, this, [this] { beginResetModel(); });
    connect(&store_, &DataStore::resetDone, this, [this] {
        columns_ = store_.columnCount();
        currentRow_ = store_.getRow();
        endResetModel();
    });
    connect(&store_, &DataStore::rowsAboutToBeInserted, this,
            [this](long first, long last) { beginInsertRows({}, int(first - 1), int(last - 1)); });
    connect(&store_, &DataStore::rowsInserted, this, [this](long, long) { endInsertRows(); });
    connect(&store_, &DataStore::rowsAboutToBeRemoved, this,
            [this](long first, long last) { beginRemoveRows({}, int(first - 1), int(last - 1)); });
    connect(&store_, &DataStore::rowsRemoved, this, [this](long, long) { endRemoveRows(); });
    // A changed value can change the row's status, and with it its colours.
    connect(&store_, &DataStore::itemSet, this, [this](long row, const QString&) { refreshRow(row); });
    connect(&store_, &DataStore::statusChanged, this, &TableModel::refreshAll);
    connect(&store_, &DataStore::currentRowChanged, this, [this](long row) {
        const long before = currentRow_;
        currentRow_ = row;
        refreshRow(before);
        refreshRow(row);
    });
    if (dropDowns_)
        connect(dropDowns_, &DropDownSet::changed, this, &TableModel::refreshAll);
}

int TableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(store_.rowCount());
}

int TableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : columns_;
}

QVariant TableModel::data(const QModelIndex& index, int role) const
{
    const Definition* def = store_.definition();
    if (!index.isValid() || !def || index.row() >= rowCount() || index.column() >= def->columns.size())
        return {};
    const ColumnDefinition& column = def->columns.at(index.column());
    const long row = index.row() + 1;
    switch (role) {
    case Qt::DisplayRole:
        return displayText(column, dropDowns_ ? dropDowns_->at(index.column()) : nullptr,
                           store_.getItem(row, column.name));
    case Qt::EditRole:
        return store_.getItemString(row, column.name);
    case Qt::BackgroundRole:
        if (column.background) {
            const QColor colour = column.background(store_, row, row == store_.getRow());
            if (colour.isValid())
                return colour;
        }
        if (column.displayOnly)
            return QApplication::palette().color(QPalette::Window);
        return {};
    default:
        return {};
    }
}

bool TableModel::isEditable(const QModelIndex& index) const
{
    const Definition* def = store_.definition();
    if (!index.isValid() || !def || index.column() >= def->columns.size())
        return false;
    const ColumnDefinition& column = def->columns.at(index.column());
    if (column.displayOnly || column.tabOrder <= 0)
        return false;
    return !store_.isProtected(index.row() + 1, column.name);
}

bool TableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    const Definition* def = store_.definition();
    if (role != Qt::EditRole || !index.isValid() || !def || index.column() >= def->columns.size())
        return false;
    // The store announces the change (itemSet), which refreshes the row.
    return store_.setItem(index.row() + 1, def->columns.at(index.column()).name, value) == 1;
}

Qt::ItemFlags TableModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (isEditable(index))
        flags |= Qt::ItemIsEditable;
    return flags;
}

QVariant TableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    const Definition* def = store_.definition();
    if (!def || section < 0 || section >= def->columns.size())
        return {};
    return def->columns.at(section).label;
}

void TableModel::refreshRow(long row)
{
    if (row < 1 || row > rowCount() || columns_ == 0)
        return;
    Q_EMIT dataChanged(index(int(row - 1), 0), index(int(row - 1), columns_ - 1));
}

void TableModel::refreshAll()
{
    if (rowCount() == 0 || columns_ == 0)
        return;
    Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columns_ - 1));
}

}  // namespace platform

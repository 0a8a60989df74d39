// The data store as a Qt item model: what views show and edit.
#include "platform/datastore.h"

#include "platform/datastore_impl.h"
#include "platform/column_editor.h"
#include "platform/dropdown.h"

#include <QApplication>
#include <QPalette>

namespace platform {

int DataStore::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(d->rows.primary.size());
}

int DataStore::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : d->columns();
}

QVariant DataStore::data(const QModelIndex& index, int role) const
{
    const Definition* def = d->def.get();
    if (!index.isValid() || !def || index.row() >= d->rows.primary.size() || index.column() >= def->columns.size())
        return {};
    const ColumnDefinition& column = def->columns.at(index.column());
    const long row = index.row() + 1;
    const QVariant& value = d->rows.primary.at(index.row()).value(index.column());
    switch (role) {
    case Qt::DisplayRole:
        return displayText(column, d->displayLists ? d->displayLists->at(index.column()) : nullptr, value);
    case Qt::EditRole:
        return value.toString();
    case Qt::BackgroundRole:
        if (column.background) {
            const QColor colour = column.background(*this, row, row == d->currentRow);
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

bool DataStore::isEditable(const QModelIndex& index) const
{
    const Definition* def = d->def.get();
    if (!index.isValid() || !def || index.column() >= def->columns.size())
        return false;
    const ColumnDefinition& column = def->columns.at(index.column());
    if (column.displayOnly || column.tabOrder <= 0)
        return false;
    return !isProtected(index.row() + 1, column.name);
}

bool DataStore::setData(const QModelIndex& index, const QVariant& value, int role)
{
    const Definition* def = d->def.get();
    if (role != Qt::EditRole || !index.isValid() || !def || index.column() >= def->columns.size())
        return false;
    // setItem announces the change (itemSet), which refreshes the row.
    return setItem(index.row() + 1, def->columns.at(index.column()).name, value) == 1;
}

Qt::ItemFlags DataStore::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (isEditable(index))
        flags |= Qt::ItemIsEditable;
    return flags;
}

QVariant DataStore::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    const Definition* def = d->def.get();
    if (!def || section < 0 || section >= def->columns.size())
        return {};
    return def->columns.at(section).label;
}

void DataStore::setDisplayLists(const DropDownSet* lists)
{
    if (d->displayLists)
        disconnect(d->displayLists, nullptr, this, nullptr);
    d->displayLists = lists;
    if (lists)
        connect(lists, &DropDownSet::changed, this, &DataStore::refreshAll);
    refreshAll();
}

void DataStore::refreshRow(long row)
{
    const int columns = d->columns();
    if (row < 1 || row > d->rows.primary.size() || columns == 0)
        return;
    Q_EMIT dataChanged(index(int(row - 1), 0), index(int(row - 1), columns - 1));
}

void DataStore::refreshAll()
{
    const int columns = d->columns();
    if (d->rows.primary.isEmpty() || columns == 0)
        return;
    Q_EMIT dataChanged(index(0, 0), index(int(d->rows.primary.size()) - 1, columns - 1));
}

}  // namespace platform

#include "platform/row_buffer.h"

namespace platform {

Row Row::blank(int columns, bool isNew)
{
    Row row;
    for (int i = 0; i < columns; ++i) {
        row.values.append(QVariant());
        row.original.append(QVariant());
    }
    row.changed = QVector<bool>(columns, false);
    row.isNew = isNew;
    return row;
}

ItemStatus Row::status() const
{
    if (isNew)
        return modified() ? ItemStatus::NewModified : ItemStatus::New;
    return modified() ? ItemStatus::DataModified : ItemStatus::NotModified;
}

ItemStatus Row::columnStatus(int column) const
{
    if (column < 0 || column >= changed.size())
        return ItemStatus::NotModified;
    return changed.at(column) ? ItemStatus::DataModified : ItemStatus::NotModified;
}

void Row::markClean()
{
    original = values;
    changed.fill(false);
    isNew = false;
}

QList<Row>& RowBuffer::of(Buffer buffer)
{
    switch (buffer) {
    case Buffer::Filter:
        return filtered;
    case Buffer::Delete:
        return deleted;
    case Buffer::Primary:
        break;
    }
    return primary;
}

const QList<Row>& RowBuffer::of(Buffer buffer) const
{
    return const_cast<RowBuffer*>(this)->of(buffer);
}

void RowBuffer::clear()
{
    primary.clear();
    filtered.clear();
    deleted.clear();
}

}  // namespace platform

#include "platform/row_buffer.h"

namespace platform {

Row Row::blank(int columns, bool isNew)
{
    Row row;
    row.width_ = columns;
    row.values_ = QVariantList(columns);
    row.original_ = row.values_;
    row.isNew = isNew;
    return row;
}

Row Row::read(const QExplicitlySharedDataPointer<const host::TextRows>& source, qsizetype index, int columns)
{
    Row row;
    row.source_ = source;
    row.sourceRow_ = index;
    row.width_ = columns;
    return row;
}

void Row::materialize() const
{
    if (!source_)
        return;
    values_ = source_->row(sourceRow_, width_);
    original_ = values_;
    source_.reset();
}

const QVariant& Row::value(int column) const
{
    static const QVariant null;
    materialize();
    return column >= 0 && column < values_.size() ? values_.at(column) : null;
}

QVariant Row::peek(int column) const
{
    if (source_)
        return source_->value(sourceRow_, column);
    return value(column);
}

QVariant Row::originalValue(int column) const
{
    materialize();
    return original_.value(column);
}

bool Row::isChanged(int column) const
{
    return changed_.value(column);
}

void Row::setValue(int column, const QVariant& value)
{
    materialize();
    if (column < 0 || column >= values_.size())
        return;
    values_[column] = value;
    if (changed_.size() < width_)
        changed_.resize(width_);
    changed_[column] = true;
}

ItemStatus Row::status() const
{
    if (isNew)
        return modified() ? ItemStatus::NewModified : ItemStatus::New;
    return modified() ? ItemStatus::DataModified : ItemStatus::NotModified;
}

ItemStatus Row::columnStatus(int column) const
{
    return isChanged(column) ? ItemStatus::DataModified : ItemStatus::NotModified;
}

void Row::markClean()
{
    // A row never materialized is as it was read.
    if (!source_)
        original_ = values_;
    changed_.clear();
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

#include "host/text_rows.h"

namespace host {

void TextRows::reset(int columns)
{
    columns_ = columns;
    text_.clear();
    cells_.clear();
    values_.clear();
}

qsizetype TextRows::rowCount() const
{
    if (!values_.isEmpty())
        return values_.size();
    return columns_ > 0 ? cells_.size() / columns_ : 0;
}

void TextRows::append(const char* text, qsizetype size)
{
    if (!text) {
        cells_.append({text_.size(), -1});
        return;
    }
    cells_.append({text_.size(), size});
    text_.append(text, size);
}

void TextRows::appendRow(QVariantList values)
{
    values_.append(std::move(values));
}

QVariantList TextRows::row(qsizetype row, int width) const
{
    if (!values_.isEmpty() && row >= 0 && row < values_.size()) {
        QVariantList values = values_.at(row);
        values.resize(width);
        return values;
    }
    QVariantList values;
    values.reserve(width);
    for (int c = 0; c < width; ++c)
        values.append(value(row, c));
    return values;
}

QVariant TextRows::value(qsizetype row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= columns_)
        return {};
    if (!values_.isEmpty())
        return values_.at(row).value(column);
    const Cell& cell = cells_.at(row * columns_ + column);
    if (cell.size < 0)
        return {};
    return QString::fromUtf8(text_.constData() + cell.start, cell.size);
}

}  // namespace host

#include "rightsetup/matrix_model.h"

#include "rights/code_index.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <algorithm>

namespace rightsetup {

namespace {

constexpr qint8 kNoRow = -1;
constexpr qint8 kOther = 3;

}  // namespace

MatrixModel::MatrixModel(QObject* parent) : QAbstractTableModel(parent) {}

MatrixModel::Code MatrixModel::codeOf(const Level& level)
{
    if (!level)
        return kNoRow;
    if (*level == QLatin1String("0"))
        return 0;
    if (*level == QLatin1String("1"))
        return 1;
    if (*level == QLatin1String("2"))
        return 2;
    return kOther;
}

Level MatrixModel::levelOf(qsizetype cell, Code code) const
{
    if (code == kNoRow)
        return {};
    if (code == kOther)
        return odd_.value(cell);
    return QString(QLatin1Char(char('0' + code)));
}

void MatrixModel::setMatrix(const rights::Matrix& matrix)
{
    beginResetModel();
    matrix_ = matrix;
    pending_.clear();
    odd_.clear();
    const qsizetype items = matrix_.items.size();
    stored_.assign(size_t(matrix_.groups.size() * items), kNoRow);
    const rights::CodeIndex groupIndex(matrix_.groups);
    const rights::CodeIndex itemIndex(matrix_.items);
    for (auto it = matrix_.cells.cbegin(); it != matrix_.cells.cend(); ++it) {
        const qsizetype g = groupIndex.indexOf(it.key().first);
        const qsizetype i = itemIndex.indexOf(it.key().second);
        if (g < 0 || i < 0)
            continue;  // a row of a group that s_group does not list
        const qsizetype cell = g * items + i;
        const Code code = codeOf(it.value());
        stored_[size_t(cell)] = code;
        if (code == kOther)
            odd_.insert(cell, it.value());
    }
    columns_.clear();
    for (int i = 0; i < int(items); ++i)
        columns_ << i;
    endResetModel();
    if (!filter_.isEmpty())
        setFilter(filter_);
    Q_EMIT changesChanged();
}

void MatrixModel::setFilter(const QString& text)
{
    beginResetModel();
    filter_ = text.trimmed();
    columns_.clear();
    for (int i = 0; i < int(matrix_.items.size()); ++i) {
        const QString& code = matrix_.items.at(i);
        if (filter_.isEmpty() || code.contains(filter_, Qt::CaseInsensitive) ||
            matrix_.itemNames.value(code).contains(filter_, Qt::CaseInsensitive))
            columns_ << i;
    }
    endResetModel();
}

QString MatrixModel::groupAt(int row) const
{
    return row >= 0 && row < matrix_.groups.size() ? matrix_.groups.at(row) : QString();
}

QString MatrixModel::itemAt(int column) const
{
    return column >= 0 && column < columns_.size() ? matrix_.items.at(columns_.at(column)) : QString();
}

int MatrixModel::rowOfGroup(const QString& group) const
{
    return int(matrix_.groups.indexOf(group));
}

int MatrixModel::columnOfItem(const QString& item) const
{
    return int(columns_.indexOf(int(matrix_.items.indexOf(item))));
}

qsizetype MatrixModel::cellOf(int row, int column) const
{
    if (row < 0 || row >= matrix_.groups.size() || column < 0 || column >= columns_.size())
        return -1;
    return qsizetype(row) * matrix_.items.size() + columns_.at(column);
}

Level MatrixModel::storedLevel(int row, int column) const
{
    const qsizetype cell = cellOf(row, column);
    return cell < 0 ? Level() : levelOf(cell, stored_[size_t(cell)]);
}

Level MatrixModel::level(int row, int column) const
{
    const qsizetype cell = cellOf(row, column);
    if (cell < 0)
        return {};
    const auto pending = pending_.constFind(cell);
    return pending == pending_.cend() ? levelOf(cell, stored_[size_t(cell)]) : levelOf(cell, pending.value());
}

bool MatrixModel::setCell(int row, int column, const Level& level)
{
    const qsizetype cell = cellOf(row, column);
    if (cell < 0)
        return false;
    // Only the three levels and no row are set here; another stored text
    // stays only while its cell is not edited.
    const Code code = codeOf(level);
    if (code == kOther)
        return false;
    const bool wasPending = pending_.contains(cell);
    if (code == stored_[size_t(cell)])
        pending_.remove(cell);
    else
        pending_.insert(cell, code);
    return wasPending || pending_.contains(cell);
}

void MatrixModel::setLevel(int row, int column, const Level& level)
{
    if (setCell(row, column, level)) {
        const QModelIndex changed = index(row, column);
        Q_EMIT dataChanged(changed, changed);
        Q_EMIT changesChanged();
    }
}

void MatrixModel::setLevels(const QModelIndexList& cells, const Level& level)
{
    bool any = false;
    for (const QModelIndex& cell : cells)
        any = setCell(cell.row(), cell.column(), level) || any;
    if (any) {
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
        Q_EMIT changesChanged();
    }
}

void MatrixModel::setRowLevel(int row, const Level& level)
{
    bool any = false;
    for (int column = 0; column < columnCount(); ++column)
        any = setCell(row, column, level) || any;
    if (any) {
        Q_EMIT dataChanged(index(row, 0), index(row, columnCount() - 1));
        Q_EMIT changesChanged();
    }
}

void MatrixModel::setColumnLevel(int column, const Level& level)
{
    bool any = false;
    for (int row = 0; row < rowCount(); ++row)
        any = setCell(row, column, level) || any;
    if (any) {
        Q_EMIT dataChanged(index(0, column), index(rowCount() - 1, column));
        Q_EMIT changesChanged();
    }
}

void MatrixModel::cycle(int row, int column)
{
    switch (codeOf(level(row, column))) {
    case kNoRow:
        setLevel(row, column, QStringLiteral("0"));
        break;
    case 0:
        setLevel(row, column, QStringLiteral("1"));
        break;
    case 1:
        setLevel(row, column, QStringLiteral("2"));
        break;
    default:
        setLevel(row, column, Level());
        break;
    }
}

bool MatrixModel::hasChanges() const
{
    return !pending_.isEmpty();
}

int MatrixModel::changeCount() const
{
    return int(pending_.size());
}

QList<RightChange> MatrixModel::changes() const
{
    QList<qsizetype> cells = pending_.keys();
    std::sort(cells.begin(), cells.end());
    const qsizetype items = matrix_.items.size();
    QList<RightChange> list;
    list.reserve(cells.size());
    for (const qsizetype cell : std::as_const(cells)) {
        list.append({matrix_.groups.at(cell / items), matrix_.items.at(cell % items),
                     levelOf(cell, stored_[size_t(cell)]), levelOf(cell, pending_.value(cell))});
    }
    return list;
}

int MatrixModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(matrix_.groups.size());
}

int MatrixModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(columns_.size());
}

QVariant MatrixModel::data(const QModelIndex& index, int role) const
{
    const qsizetype cell = cellOf(index.row(), index.column());
    if (cell < 0)
        return {};
    const bool changed = pending_.contains(cell);
    switch (role) {
    case Qt::DisplayRole: {
        const Level shown = level(index.row(), index.column());
        return rights::levelWord(shown.value_or(QString()), shown.has_value());
    }
    case kLevelRole: {
        const Level shown = level(index.row(), index.column());
        return shown ? QVariant(*shown) : QVariant();
    }
    case kChangedRole:
        return changed;
    case Qt::TextAlignmentRole:
        return int(Qt::AlignCenter);
    case Qt::BackgroundRole:
        if (changed)
            return QBrush(QColor(255, 226, 140));
        return {};
    case Qt::FontRole:
        if (changed) {
            QFont font;
            font.setBold(true);
            return font;
        }
        return {};
    case Qt::ToolTipRole:
        if (changed) {
            const Level was = storedLevel(index.row(), index.column());
            return QString(QStringLiteral("未保存; 数据库中为: ") + rights::levelWord(was.value_or(QString()), was.has_value()));
        }
        return {};
    default:
        return {};
    }
}

QVariant MatrixModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    QString text;
    if (orientation == Qt::Vertical) {
        const QString group = groupAt(section);
        text = group + QStringLiteral("  ") + matrix_.groupNames.value(group);
    } else {
        const QString item = itemAt(section);
        text = item + QLatin1Char('\n') + matrix_.itemNames.value(item);
    }
    // A tool tip that looks like markup is drawn as markup: names are escaped.
    if (role == Qt::ToolTipRole)
        return QString(QStringLiteral("<qt>") + text.toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br>")) +
                       QStringLiteral("</qt>"));
    return text;
}

}  // namespace rightsetup

#include "platform/datastore.h"

#include "host/transaction.h"
#include "platform/datastore_impl.h"
#include "platform/column_editor.h"
#include "platform/dropdown.h"
#include "platform/row_buffer.h"
#include "platform/sql_filter.h"
#include "platform/sql_text.h"
#include "platform/update_writer.h"

#include <QApplication>
#include <QHash>
#include <QPalette>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace platform {

DataStore::DataStore(QObject* parent) : QAbstractTableModel(parent), d(std::make_unique<Impl>())
{
    // A changed value can change its row's status, and with it its colours;
    // so can the current row.
    connect(this, &DataStore::itemSet, this, [this](long row, const QString&) { refreshRow(row); });
    connect(this, &DataStore::statusChanged, this, &DataStore::refreshAll);
    connect(this, &DataStore::currentRowChanged, this, [this](long row) {
        const long before = d->shownCurrentRow;
        d->shownCurrentRow = row;
        refreshRow(before);
        refreshRow(row);
    });
    connect(this, &QAbstractItemModel::modelReset, this, [this] { d->shownCurrentRow = d->currentRow; });
}

DataStore::DataStore(const QString& dataObject, QObject* parent) : DataStore(parent)
{
    setDataObject(dataObject);
}

DataStore::~DataStore() = default;

bool DataStore::setDataObject(const QString& name)
{
    auto definition = sharedDefinition(name);
    if (!definition) {
        d->error = QStringLiteral("unknown data view %1").arg(name);
        return false;
    }
    setDefinition(std::move(definition));
    return true;
}

void DataStore::setDefinition(std::shared_ptr<const Definition> definition)
{
    beginResetModel();
    d->def = std::move(definition);
    d->rows.clear();
    d->sortedByFilter = false;
    d->filter = Expression();
    d->filterText.clear();
    d->arguments.clear();
    d->protects.clear();
    d->currentRow = 0;
    d->currentColumn.clear();
    d->error.clear();
    endResetModel();
}

QString DataStore::dataObject() const
{
    return d->def ? d->def->name : QString();
}

const Definition* DataStore::definition() const
{
    return d->def.get();
}

int DataStore::columnCount() const
{
    return d->columns();
}

void DataStore::setTransObject(host::Transaction& trans)
{
    d->trans = &trans;
}

host::Transaction* DataStore::transObject() const
{
    return d->trans;
}

long DataStore::retrieve()
{
    return retrieve(d->arguments);
}

long DataStore::retrieve(const QVariantList& arguments)
{
    if (!d->def) {
        d->error = QStringLiteral("no data object");
        return -1;
    }
    if (!d->trans) {
        d->error = QStringLiteral("data view %1 has no transaction").arg(d->def->name);
        return -1;
    }
    host::Transaction& trans = *d->trans;
    if (arguments.size() < d->def->arguments.size()) {
        d->error = QStringLiteral("data view %1 needs %2 retrieval argument(s)")
                       .arg(d->def->name)
                       .arg(d->def->arguments.size());
        trans.recordError(d->error);
        return -1;
    }
    d->arguments = arguments;

    beginResetModel();
    d->rows.clear();
    d->currentRow = 0;
    // A filter that SQL expresses exactly is part of the select: only the rows
    // that pass it are read (and none is kept in the filter buffer).
    QString sql = selectText(*d->def, trans);
    QVariantList values = arguments.mid(0, d->def->arguments.size());
    bool pushed = false;
    if (const expr::Node* root = d->filter.root()) {
        if (const auto condition = sqlCondition(*root, *d->def)) {
            if (const auto filtered = selectWithCondition(sql, condition->where)) {
                sql = *filtered;
                values += condition->values;
                pushed = true;
            }
        }
    }
    d->sortedByFilter = false;
    // Every column of the module is a character string. No read snapshot
    // stays open after the retrieve. The rows keep the read's text until
    // they are used.
    auto* text = new host::TextRows;
    const QExplicitlySharedDataPointer<const host::TextRows> read(text);
    bool ok = trans.readRows(sql, values, text) == host::Transaction::kSuccess;
    if (ok) {
        const int n = d->columns();  // as many columns as the view has
        const qsizetype count = read->rowCount();
        d->rows.primary.reserve(count);
        for (qsizetype i = 0; i < count; ++i)
            d->rows.primary.append(Row::read(read, i, n));
        trans.recordSuccess(d->rows.primary.size());
        d->sortedByFilter = pushed || d->filter.isEmpty();
    }
    if (!ok) {
        d->rows.clear();
        d->error = trans.sqlerrtext;
    }
    if (!d->rows.primary.isEmpty())
        d->currentRow = 1;
    endResetModel();
    Q_EMIT currentRowChanged(d->currentRow);
    return ok ? long(d->rows.primary.size()) : -1;
}

int DataStore::reset()
{
    beginResetModel();
    d->rows.clear();
    d->currentRow = 0;
    endResetModel();
    Q_EMIT currentRowChanged(0);
    return 1;
}

long DataStore::insertRow(long before)
{
    if (!d->def) {
        d->error = QStringLiteral("no data object");
        return -1;
    }
    const long count = d->rows.primary.size();
    if (before < 0 || before > count) {
        d->error = QStringLiteral("row %1 does not exist").arg(before);
        return -1;
    }
    const long number = before == 0 ? count + 1 : before;
    beginInsertRows({}, int(number - 1), int(number - 1));
    d->rows.primary.insert(number - 1, Row::blank(d->columns(), true));
    d->sortedByFilter = false;
    if (d->currentRow >= number)
        ++d->currentRow;
    endInsertRows();
    if (d->currentRow == 0) {
        d->currentRow = number;
        Q_EMIT currentRowChanged(number);
    }
    return number;
}

int DataStore::deleteRow(long row)
{
    if (row == 0)
        row = d->currentRow;
    if (row < 1 || row > d->rows.primary.size()) {
        d->error = QStringLiteral("row %1 does not exist").arg(row);
        return -1;
    }
    beginRemoveRows({}, int(row - 1), int(row - 1));
    Row removed = d->rows.primary.takeAt(row - 1);
    // A row never saved is simply dropped: there is nothing to delete.
    if (!removed.isNew)
        d->rows.deleted.append(removed);
    const long before = d->currentRow;
    if (d->currentRow > row || d->currentRow > d->rows.primary.size())
        --d->currentRow;
    endRemoveRows();
    if (d->currentRow != before || before == row)
        Q_EMIT currentRowChanged(d->currentRow);
    return 1;
}

long DataStore::rowCount() const
{
    return d->rows.primary.size();
}

long DataStore::filteredCount() const
{
    return d->rows.filtered.size();
}

long DataStore::deletedCount() const
{
    return d->rows.deleted.size();
}

long DataStore::modifiedCount() const
{
    long count = 0;
    for (const QList<Row>* list : {&d->rows.primary, &d->rows.filtered})
        for (const Row& row : *list)
            if (row.modified())
                ++count;
    return count;
}

QVariant DataStore::getItem(long row, const QString& column, Buffer buffer) const
{
    const Row* r = d->row(row, buffer);
    const int c = d->def ? d->def->columnIndex(column) : -1;
    if (!r || c < 0)
        return {};
    return r->value(c);
}

QString DataStore::getItemString(long row, const QString& column, Buffer buffer) const
{
    const QVariant value = getItem(row, column, buffer);
    return value.isNull() ? QString() : value.toString();
}

QString DataStore::peekItemString(long row, int column) const
{
    const Row* r = d->row(row, Buffer::Primary);
    if (!r)
        return {};
    const QVariant value = r->peek(column);
    return value.isNull() ? QString() : value.toString();
}

int DataStore::setItem(long row, const QString& column, const QVariant& value)
{
    if (row < 1 || row > d->rows.primary.size()) {
        d->error = QStringLiteral("row %1 does not exist").arg(row);
        return -1;
    }
    const int c = d->def ? d->def->columnIndex(column) : -1;
    if (c < 0) {
        d->error = QStringLiteral("unknown column '%1'").arg(column);
        return -1;
    }
    const ColumnDefinition& col = d->def->columns.at(c);
    const QVariant stored = value.isNull() ? QVariant() : QVariant(value.toString());
    if (!stored.isNull() && col.maxLength > 0) {
        const qsizetype length = stored.toString().toUcs4().size();
        if (length > col.maxLength) {
            QString label = col.label.isEmpty() ? col.name : col.label;
            while (label.endsWith(QLatin1Char(':')) || label.endsWith(QChar(0xFF1A)))
                label.chop(1);
            d->error = QStringLiteral("%1 最多 %2 个字符 (value of %3 characters refused)")
                           .arg(label)
                           .arg(col.maxLength)
                           .arg(length);
            return -1;
        }
    }
    Row& r = d->rows.primary[row - 1];
    const QVariant& current = r.value(c);
    if (current.isNull() == stored.isNull() && current.toString() == stored.toString())
        return 1;
    r.setValue(c, stored);
    d->sortedByFilter = false;
    Q_EMIT itemSet(row, col.name);
    return 1;
}

ItemStatus DataStore::getItemStatus(long row, const QString& column, Buffer buffer) const
{
    const Row* r = d->row(row, buffer);
    if (!r)
        return ItemStatus::NotModified;
    if (column.isEmpty())
        return r->status();
    return r->columnStatus(d->def ? d->def->columnIndex(column) : -1);
}

int DataStore::update(bool resetFlags)
{
    d->sortedByFilter = false;
    if (!d->def) {
        d->error = QStringLiteral("no data object");
        return -1;
    }
    if (!d->trans) {
        d->error = QStringLiteral("data view %1 has no transaction").arg(d->def->name);
        return -1;
    }
    QList<const Row*> deletes, updates, inserts;
    for (const Row& row : d->rows.deleted)
        deletes.append(&row);
    for (const QList<Row>* list : {&d->rows.primary, &d->rows.filtered}) {
        for (const Row& row : *list) {
            if (!row.modified())
                continue;
            (row.isNew ? inserts : updates).append(&row);
        }
    }
    UpdateWriter writer(*d->def, *d->trans);
    if (writer.write(deletes, updates, inserts) != 1) {
        d->error = writer.error();
        return -1;
    }
    if (!resetFlags)
        return 1;
    d->rows.deleted.clear();
    for (QList<Row>* list : {&d->rows.primary, &d->rows.filtered})
        for (Row& row : *list)
            if (row.modified())
                row.markClean();
    Q_EMIT statusChanged();
    return 1;
}

int DataStore::resetUpdate()
{
    d->sortedByFilter = false;  // isrownew() may answer otherwise now
    d->rows.deleted.clear();
    for (QList<Row>* list : {&d->rows.primary, &d->rows.filtered})
        for (Row& row : *list)
            row.markClean();
    Q_EMIT statusChanged();
    return 1;
}

void DataStore::setReadOnly(bool readOnly)
{
    if (d->readOnly == readOnly)
        return;
    d->readOnly = readOnly;
    Q_EMIT statusChanged();
}

bool DataStore::isReadOnly() const
{
    return d->readOnly;
}

bool DataStore::isProtected(long row, const QString& column) const
{
    const Row* r = d->row(row, Buffer::Primary);
    const int c = d->def ? d->def->columnIndex(column) : -1;
    if (!r || c < 0)
        return false;
    if (d->readOnly)
        return true;
    const QString& text = d->def->columns.at(c).protect;
    if (text.trimmed().isEmpty())
        return false;
    auto& expr = d->protects[c];
    if (!expr) {
        expr = std::make_shared<Expression>();
        expr->parse(text);
    }
    bool ok = false;
    const bool result = expr->test(d->context(*r), &ok);
    return ok && result;
}

QString DataStore::lastError() const
{
    return d->error;
}

long DataStore::getRow() const
{
    return d->currentRow;
}

int DataStore::setRow(long row)
{
    if (row < 0 || row > d->rows.primary.size()) {
        d->error = QStringLiteral("row %1 does not exist").arg(row);
        return -1;
    }
    if (row != d->currentRow) {
        d->currentRow = row;
        Q_EMIT currentRowChanged(row);
    }
    return 1;
}

QString DataStore::getColumn() const
{
    return d->currentColumn;
}

int DataStore::setColumn(const QString& column)
{
    const int c = d->def ? d->def->columnIndex(column) : -1;
    if (c < 0) {
        d->error = QStringLiteral("unknown column '%1'").arg(column);
        return -1;
    }
    const QString name = d->def->columns.at(c).name;
    if (name != d->currentColumn) {
        d->currentColumn = name;
        Q_EMIT currentColumnChanged(name);
    }
    return 1;
}

}  // namespace platform

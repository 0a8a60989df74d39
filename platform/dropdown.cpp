#include "platform/dropdown.h"

namespace platform {

DropDown::DropDown(const DropDownSpec& spec, QObject* parent)
    : QObject(parent), spec_(spec), store_(spec.dataObject)
{
    auto invalidate = [this] { indexValid_ = false; };
    connect(&store_, &QAbstractItemModel::modelReset, this, invalidate);
    connect(&store_, &QAbstractItemModel::rowsInserted, this, invalidate);
    connect(&store_, &QAbstractItemModel::rowsRemoved, this, invalidate);
    connect(&store_, &DataStore::itemSet, this, invalidate);
    connect(&store_, &QAbstractItemModel::modelReset, this, &DropDown::changed);
}

void DropDown::rebuildIndex() const
{
    index_.clear();
    const int data = dataColumn();
    if (data >= 0) {
        index_.reserve(size_t(store_.rowCount()));
        for (long row = store_.rowCount(); row >= 1; --row)
            index_.insert_or_assign(store_.peekItemString(row, data), int(row - 1));
    }
    indexValid_ = true;
}

DropDown::~DropDown() = default;

long DropDown::bind(host::Transaction& trans)
{
    store_.setTransObject(trans);
    if (!isValid())
        return -1;
    return store_.retrieve();
}

int DropDown::displayColumn() const
{
    const Definition* def = store_.definition();
    return def ? def->columnIndex(spec_.displayColumn) : -1;
}

int DropDown::dataColumn() const
{
    const Definition* def = store_.definition();
    return def ? def->columnIndex(spec_.dataColumn) : -1;
}

int DropDown::rowOf(const QVariant& value) const
{
    if (value.isNull())
        return -1;
    if (!indexValid_)
        rebuildIndex();
    const auto found = index_.find(value.toString());
    return found == index_.end() ? -1 : found->second;
}

QVariant DropDown::valueAt(int row) const
{
    const int data = dataColumn();
    if (data < 0)
        return {};
    return store_.getItem(row + 1, store_.definition()->columns.at(data).name);
}

QString DropDown::displayFor(const QVariant& value) const
{
    if (value.isNull())
        return {};
    const int row = rowOf(value);
    const int display = displayColumn();
    if (row < 0 || display < 0)
        return value.toString();
    return store_.getItemString(row + 1, store_.definition()->columns.at(display).name);
}

DropDown* DropDownSet::set(int column, const DropDownSpec& spec)
{
    delete lists_.take(column);
    auto* list = new DropDown(spec, this);
    connect(list, &DropDown::changed, this, &DropDownSet::changed);
    lists_.insert(column, list);
    return list;
}

void DropDownSet::clear()
{
    qDeleteAll(lists_);
    lists_.clear();
}

void DropDownSet::bindAll(host::Transaction& trans)
{
    for (DropDown* list : std::as_const(lists_))
        list->bind(trans);
}

}  // namespace platform

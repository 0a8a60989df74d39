#include "platform/datawindow.h"

// Placeholder until the widgets land: the calls go to the store.

namespace platform {

struct DataWindow::Impl {
    DataStore store;
};

DataWindow::DataWindow(QWidget* parent) : QWidget(parent), d(std::make_unique<Impl>()) {}
DataWindow::~DataWindow() = default;
DataStore& DataWindow::store() { return d->store; }
const DataStore& DataWindow::store() const { return d->store; }
bool DataWindow::setDataObject(const QString& name) { return d->store.setDataObject(name); }
QString DataWindow::dataObject() const { return d->store.dataObject(); }
void DataWindow::setTransObject(host::Transaction& trans) { d->store.setTransObject(trans); }
long DataWindow::retrieve() { return d->store.retrieve(); }
long DataWindow::retrieve(const QVariantList& arguments) { return d->store.retrieve(arguments); }
int DataWindow::setFilter(const QString& expression) { return d->store.setFilter(expression); }
int DataWindow::filter() { return d->store.filter(); }
int DataWindow::reset() { return d->store.reset(); }
long DataWindow::insertRow(long before) { return d->store.insertRow(before); }
int DataWindow::deleteRow(long row) { return d->store.deleteRow(row); }
long DataWindow::rowCount() const { return d->store.rowCount(); }
long DataWindow::deletedCount() const { return d->store.deletedCount(); }
long DataWindow::modifiedCount() const { return d->store.modifiedCount(); }
QVariant DataWindow::getItem(long row, const QString& column) const { return d->store.getItem(row, column); }
QString DataWindow::getItemString(long row, const QString& column) const { return d->store.getItemString(row, column); }
int DataWindow::setItem(long row, const QString& column, const QVariant& value) { return d->store.setItem(row, column, value); }
ItemStatus DataWindow::getItemStatus(long row, const QString& column) const { return d->store.getItemStatus(row, column); }
long DataWindow::find(const QString& expression, long start, long end) { return d->store.find(expression, start, end); }
int DataWindow::update() { return d->store.update(); }
int DataWindow::acceptText() { return 1; }
long DataWindow::getRow() const { return d->store.getRow(); }
int DataWindow::setRow(long row) { return d->store.setRow(row); }
int DataWindow::setColumn(const QString& column) { return d->store.setColumn(column); }
int DataWindow::setColumn(int column)
{
    const Definition* def = d->store.definition();
    if (!def || column < 1 || column > def->columns.size())
        return -1;
    return d->store.setColumn(def->columns.at(column - 1).name);
}
QString DataWindow::getColumnName() const { return d->store.getColumn(); }
int DataWindow::scrollToRow(long row) { return d->store.setRow(row); }
int DataWindow::selectRow(long, bool) { return 1; }
bool DataWindow::isSelected(long) const { return false; }
DataStore* DataWindow::getChild(const QString&) { return nullptr; }
int DataWindow::setDropDown(const QString&, const DropDownSpec&) { return -1; }
QWidget* DataWindow::editorFor(const QString&) const { return nullptr; }
QWidget* DataWindow::view() const { return nullptr; }

}  // namespace platform

#include "platform/datawindow.h"

#include "host/transaction.h"
#include "platform/dropdown.h"
#include "platform/form_view.h"
#include "platform/grid_view.h"
#include "platform/item_delegate.h"

#include <QApplication>
#include <QItemSelectionModel>
#include <QPointer>
#include <QVBoxLayout>

namespace platform {

struct DataWindow::Impl {
    DataStore store;
    DropDownSet dropDowns;
    host::Transaction* trans = nullptr;
    QVBoxLayout* layout = nullptr;
    QPointer<GridView> grid;
    QPointer<FormView> form;
    bool hadFocus = false;
};

DataWindow::DataWindow(QWidget* parent) : QWidget(parent), d(std::make_unique<Impl>())
{
    d->layout = new QVBoxLayout(this);
    d->layout->setContentsMargins(0, 0, 0, 0);
    connect(&d->store, &DataStore::currentRowChanged, this, &DataWindow::rowFocusChanged);
}

DataWindow::~DataWindow()
{
    // The views refer to the store and the lists: they go first.
    delete d->grid;
    delete d->form;
}

DataStore& DataWindow::store()
{
    return d->store;
}

const DataStore& DataWindow::store() const
{
    return d->store;
}

bool DataWindow::setDataObject(const QString& name)
{
    if (!findDefinition(name))
        return false;
    clearView();
    d->dropDowns.clear();
    d->store.setDataObject(name);
    const Definition* def = d->store.definition();
    for (int c = 0; c < def->columns.size(); ++c) {
        const ColumnDefinition& column = def->columns.at(c);
        if (column.edit == EditStyle::DropDown && !column.dropDown.dataObject.isEmpty())
            d->dropDowns.set(c, column.dropDown);
    }
    if (d->trans)
        d->dropDowns.bindAll(*d->trans);
    buildView();
    return true;
}

void DataWindow::clearView()
{
    if (d->grid || d->form) {
        QWidget* focus = QApplication::focusWidget();
        d->hadFocus = focus && isAncestorOf(focus);
    }
    setFocusProxy(nullptr);
    delete d->grid;
    delete d->form;
}

void DataWindow::buildView()
{
    clearView();
    const Definition* def = d->store.definition();
    if (!def)
        return;
    if (def->style == Style::Form) {
        d->form = new FormView(d->store, d->dropDowns, this);
        d->form->setObjectName(QStringLiteral("form"));
        connect(d->form, &FormView::textEdited, this, [this](long row, int column, const QString& text) {
            Q_EMIT editChanged(row, d->store.definition()->columns.at(column).name, text);
        });
        connect(d->form, &FormView::valueAccepted, this, [this](long row, int column, const QString& text) {
            Q_EMIT itemChanged(row, d->store.definition()->columns.at(column).name, text);
        });
        d->layout->addWidget(d->form);
        setFocusProxy(d->form);
    } else {
        d->grid = new GridView(d->store, d->dropDowns, this);
        d->grid->setObjectName(QStringLiteral("grid"));
        auto columnName = [this](int column) {
            const Definition* shown = d->store.definition();
            return shown && column >= 0 && column < shown->columns.size() ? shown->columns.at(column).name : QString();
        };
        connect(d->grid->delegate(), &ItemDelegate::textEdited, this,
                [this, columnName](const QModelIndex& index, const QString& text) {
                    Q_EMIT editChanged(index.row() + 1, columnName(index.column()), text);
                });
        connect(d->grid->delegate(), &ItemDelegate::valueAccepted, this,
                [this, columnName](const QModelIndex& index, const QString& text) {
                    Q_EMIT itemChanged(index.row() + 1, columnName(index.column()), text);
                });
        connect(d->grid, &GridView::cellClicked, this,
                [this, columnName](long row, int column) { Q_EMIT clicked(row, columnName(column)); });
        d->layout->addWidget(d->grid);
        setFocusProxy(d->grid);
    }
    if (d->hadFocus)
        setFocus();
    d->hadFocus = false;
}

QString DataWindow::dataObject() const
{
    return d->store.dataObject();
}

void DataWindow::setTransObject(host::Transaction& trans)
{
    d->trans = &trans;
    d->store.setTransObject(trans);
    d->dropDowns.bindAll(trans);
}

long DataWindow::retrieve()
{
    return d->store.retrieve();
}

long DataWindow::retrieve(const QVariantList& arguments)
{
    return d->store.retrieve(arguments);
}

int DataWindow::setFilter(const QString& expression)
{
    return d->store.setFilter(expression);
}

int DataWindow::filter()
{
    return d->store.filter();
}

int DataWindow::reset()
{
    // The model's reset closes any open cell editor with its text.
    return d->store.reset();
}

long DataWindow::insertRow(long before)
{
    return d->store.insertRow(before);
}

int DataWindow::deleteRow(long row)
{
    return d->store.deleteRow(row);
}

long DataWindow::rowCount() const
{
    return d->store.rowCount();
}

long DataWindow::filteredCount() const
{
    return d->store.filteredCount();
}

int DataWindow::resetUpdate()
{
    return d->store.resetUpdate();
}

QString DataWindow::lastError() const
{
    return d->store.lastError();
}

long DataWindow::deletedCount() const
{
    return d->store.deletedCount();
}

long DataWindow::modifiedCount() const
{
    return d->store.modifiedCount();
}

QVariant DataWindow::getItem(long row, const QString& column) const
{
    return d->store.getItem(row, column);
}

QString DataWindow::getItemString(long row, const QString& column) const
{
    return d->store.getItemString(row, column);
}

int DataWindow::setItem(long row, const QString& column, const QVariant& value)
{
    return d->store.setItem(row, column, value);
}

ItemStatus DataWindow::getItemStatus(long row, const QString& column) const
{
    return d->store.getItemStatus(row, column);
}

long DataWindow::find(const QString& expression, long start, long end)
{
    return d->store.find(expression, start, end);
}

void DataWindow::setReadOnly(bool readOnly)
{
    d->store.setReadOnly(readOnly);
}

int DataWindow::update(bool resetFlags)
{
    if (acceptText() != 1)
        return -1;
    return d->store.update(resetFlags);
}

int DataWindow::acceptText()
{
    if (d->form)
        return d->form->acceptText();
    if (d->grid)
        return d->grid->acceptEdit();
    return 1;
}

long DataWindow::getRow() const
{
    return d->store.getRow();
}

int DataWindow::setRow(long row)
{
    return d->store.setRow(row);
}

int DataWindow::setColumn(const QString& column)
{
    const Definition* def = d->store.definition();
    const int index = def ? def->columnIndex(column) : -1;
    if (index < 0)
        return -1;
    return setColumn(index + 1);
}

int DataWindow::setColumn(int column)
{
    const Definition* def = d->store.definition();
    if (!def || column < 1 || column > def->columns.size())
        return -1;
    if (d->store.setColumn(def->columns.at(column - 1).name) != 1)
        return -1;
    if (d->form)
        d->form->focusColumn(column - 1);
    if (d->grid)
        d->grid->showCell(d->store.getRow(), column - 1);
    return 1;
}

QString DataWindow::getColumnName() const
{
    return d->store.getColumn();
}

int DataWindow::scrollToRow(long row)
{
    if (row < 1 || row > d->store.rowCount())
        return -1;
    d->store.setRow(row);
    if (d->grid)
        d->grid->scrollTo(d->store.index(int(row - 1), 0));
    return 1;
}

int DataWindow::selectRow(long row, bool select)
{
    if (!d->grid)
        return -1;
    QItemSelectionModel* selection = d->grid->selectionModel();
    DataStore* model = &d->store;
    const auto flag = select ? QItemSelectionModel::Select : QItemSelectionModel::Deselect;
    if (row == 0) {
        if (!select) {
            selection->clearSelection();
        } else if (model->rowCount() > 0) {
            selection->select(QItemSelection(model->index(0, 0), model->index(int(model->rowCount()) - 1, 0)),
                              flag | QItemSelectionModel::Rows);
        }
        return 1;
    }
    if (row < 0 || row > model->rowCount())
        return -1;
    selection->select(model->index(int(row - 1), 0), flag | QItemSelectionModel::Rows);
    return 1;
}

bool DataWindow::isSelected(long row) const
{
    if (!d->grid || row < 1 || row > d->store.rowCount())
        return false;
    return d->grid->selectionModel()->isRowSelected(int(row - 1), {});
}

DataStore* DataWindow::getChild(const QString& column)
{
    const Definition* def = d->store.definition();
    const int index = def ? def->columnIndex(column) : -1;
    DropDown* list = index >= 0 ? d->dropDowns.at(index) : nullptr;
    return list ? &list->store() : nullptr;
}

int DataWindow::setDropDown(const QString& column, const DropDownSpec& spec)
{
    const Definition* def = d->store.definition();
    const int index = def ? def->columnIndex(column) : -1;
    if (index < 0 || def->columns.at(index).edit == EditStyle::CodeTable || !findDefinition(spec.dataObject))
        return -1;
    // The rows stay; the column's list and the editors showing it change.
    clearView();
    DropDown* list = d->dropDowns.set(index, spec);
    if (d->trans)
        list->bind(*d->trans);
    buildView();
    return 1;
}

QWidget* DataWindow::editorFor(const QString& column) const
{
    const Definition* def = d->store.definition();
    const int index = def ? def->columnIndex(column) : -1;
    if (index < 0)
        return nullptr;
    if (d->form)
        return d->form->field(index);
    if (d->grid && d->grid->delegate()->openEditor() && d->grid->delegate()->openIndex().column() == index)
        return d->grid->delegate()->openEditor();
    return nullptr;
}

QWidget* DataWindow::view() const
{
    if (d->form)
        return d->form;
    return d->grid;
}

}  // namespace platform

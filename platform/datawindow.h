#pragma once
// The dw_ control: a widget that shows a data view as a grid or a form
// (from its definition's style) and owns its DataStore. Windows bind it, read
// and write through the same calls as the store, and connect to its signals.
//
// A form that adds one record:
//
//   dw_1 = new platform::DataWindow(this);
//   dw_1->setObjectName("dw_1");
//   dw_1->setDataObject("d_right_group_freeform");
//   dw_1->setTransObject(host::sqlca);       // also reads the drop-down lists
//   dw_1->insertRow(0);
//   ...
//   dw_1->acceptText();                      // typed text -> row (update() does it too)
//   if (dw_1->update() == 1) host::sqlca.commit(); else host::sqlca.rollback();
//
// A grid bound to the rows of one group, edited and saved:
//
//   dw_1->setDataObject("d_right_right_setup");
//   dw_1->getChild("m_item_code")->setTransObject(host::sqlca);
//   // Build every expression with quoteLiteral(): a key holding a quote
//   // then filters correctly.
//   host::f_filter(*dw_1, "group_id = " + platform::quoteLiteral(is_group_id));
//   connect(dw_1, &platform::DataWindow::itemChanged, this, ...);  // operator changed a value
//   connect(dw_1, &platform::DataWindow::editChanged, this, ...);  // operator is typing
//   ...
//   long row = dw_1->insertRow(0);
//   dw_1->setItem(row, "m_item_code", code);
//   ...
//   if (dw_1->update() == 1) {
//       host::sqlca.commit();                // the view is clean now
//   } else {
//       QString why = host::sqlca.sqlerrtext; // the failed statement's error
//       host::sqlca.rollback();              // every pending change stays in the view
//   }
//
// update() runs deletes, then updates of the changed columns (found by their
// original key), then inserts, and never commits. setItem() refuses a value
// longer than the column (-1, lastError() on store()). Rows are numbered from 1;
// find() and setFilter() return -1 on a malformed expression.
//
// Widgets for tests: view() is the grid (platform::GridView) or the form;
// editorFor(column) is a form's field or a grid's open cell editor, each
// named after its column.

#include "platform/export.h"

#include "host/filter.h"
#include "platform/datastore.h"

#include <QWidget>

namespace platform {

class WMS_PLATFORM_EXPORT DataWindow : public QWidget, public host::FilterableView {
    Q_OBJECT
public:
    explicit DataWindow(QWidget* parent = nullptr);
    ~DataWindow() override;

    DataStore& store();
    const DataStore& store() const;

    // Loads a definition and rebuilds the presentation; drops every row and
    // every run-time change of drop-downs.
    bool setDataObject(const QString& name);
    QString dataObject() const;

    // FilterableView, and the store's calls used by the windows.
    void setTransObject(host::Transaction& trans) override;
    long retrieve() override;
    long retrieve(const QVariantList& arguments);
    int setFilter(const QString& expression) override;
    int filter() override;
    int reset();
    long insertRow(long before);
    int deleteRow(long row);
    long rowCount() const;
    long filteredCount() const;
    long deletedCount() const;
    long modifiedCount() const;
    QVariant getItem(long row, const QString& column) const;
    QString getItemString(long row, const QString& column) const;
    int setItem(long row, const QString& column, const QVariant& value);
    ItemStatus getItemStatus(long row, const QString& column = {}) const;
    long find(const QString& expression, long start, long end);
    [[nodiscard]] int update(bool resetFlags = true);
    // No input in the grid or form (an operator who may only look).
    void setReadOnly(bool readOnly);
    int resetUpdate();
    // Why the last call of the view failed (sqlca holds database errors).
    QString lastError() const;

    // Moves the text being typed into the buffer (running the length check);
    // 1, or -1 when the value was refused (the editor keeps the text).
    int acceptText();

    long getRow() const;
    int setRow(long row);
    // Makes a column current, by name or by its 1-based number in the definition.
    int setColumn(const QString& column);
    int setColumn(int column);
    QString getColumnName() const;
    int scrollToRow(long row);
    // Highlights rows (grids): selectRow(0, false) removes every highlight.
    int selectRow(long row, bool select);
    bool isSelected(long row) const;

    // The drop-down data view of a column (to give it a transaction or read it).
    DataStore* getChild(const QString& column);
    // Changes a column's drop-down at run time (source, stored and displayed
    // column, list width) and reads its rows through the transaction.
    int setDropDown(const QString& column, const DropDownSpec& spec);

    // The widget that edits a column of the current row in a form, or the
    // grid's view; for tests and focus handling.
    QWidget* editorFor(const QString& column) const;
    QWidget* view() const;

Q_SIGNALS:
    // A value was changed by the operator and accepted (row, column, new text).
    void itemChanged(long row, const QString& column, const QString& text);
    // Text is being typed into a cell or field.
    void editChanged(long row, const QString& column, const QString& text);
    // The current row changed.
    void rowFocusChanged(long row);
    // A click on a row (0 beside the rows).
    void clicked(long row, const QString& column);

private:
    // Builds the grid or form over the store and the drop-down lists;
    // clearView() removes it first (before the lists or the definition change).
    void buildView();
    void clearView();

    struct Impl;
    std::unique_ptr<Impl> d;
};

}  // namespace platform

#pragma once
// A data view without a widget: the query of its definition, a row buffer
// (primary rows, rows filtered out, deleted rows) that knows each row's and
// each column's status and the original values of every retrieved row, and
// the update that writes the changes back through the transaction.
//
// The store is the Qt model of its rows: one model row per row in view, one
// model column per column of the definition (hidden columns included; the
// views hide them), so grids and drop-down lists bind to it directly. The row
// buffer is its cache, the way QSqlTableModel keeps one; unlike Qt's own
// models it keeps the rows filtered out and deleted for the update, knows
// each row's and column's status, and writes in the order stated below.
//
// Rows are numbered from 1 as the windows number them; 0 and negative row
// numbers are errors except where stated. Columns are addressed by name.
//
// Update runs deletes, then updates, then inserts, each with bound values;
// an update sets only the changed columns and finds its row by the original
// key values. It returns 1 and leaves the buffer clean, or -1 at the first
// failed statement with every pending change kept (the window rolls back and
// the operator can correct and save again). It never commits or rolls back.

#include "platform/export.h"

#include "host/filter.h"
#include "platform/definition.h"
#include "platform/expression.h"

#include <QAbstractTableModel>
#include <QPointer>
#include <QVariant>
#include <memory>

namespace host {
class Transaction;
}

namespace platform {

class DropDownSet;

enum class ItemStatus { NotModified, DataModified, New, NewModified };
enum class Buffer { Primary, Filter, Delete };

class WMS_PLATFORM_EXPORT DataStore : public QAbstractTableModel, public host::FilterableView {
    Q_OBJECT
public:
    explicit DataStore(QObject* parent = nullptr);
    explicit DataStore(const QString& dataObject, QObject* parent = nullptr);
    ~DataStore() override;

    // Loads a definition by name; drops every row. False when unknown.
    bool setDataObject(const QString& name);
    // Loads a definition that is not registered (a drop-down changed at run time).
    void setDefinition(std::shared_ptr<const Definition> definition);
    QString dataObject() const;
    const Definition* definition() const;
    int columnCount() const;

    void setTransObject(host::Transaction& trans) override;
    host::Transaction* transObject() const;

    // Reads the rows of the query (with retrieval arguments); the filter set
    // is not applied. Returns the row count, or -1 (sqlca holds the error).
    long retrieve() override;
    long retrieve(const QVariantList& arguments);
    // Drops every row of every buffer, without writing anything.
    int reset();

    // Inserts an empty new row before `before` (0: at the end); returns its number.
    long insertRow(long before);
    // Moves a row to the delete buffer (a new row is simply dropped); row 0
    // means the current row. 1 or -1.
    int deleteRow(long row);

    long rowCount() const;       // rows in view
    long filteredCount() const;  // rows filtered out
    long deletedCount() const;   // deleted rows still to be written
    long modifiedCount() const;  // rows in view or filtered that are new-and-modified or modified

    // The value of a column; a null QVariant for null. Row out of range: null.
    QVariant getItem(long row, const QString& column, Buffer buffer = Buffer::Primary) const;
    QString getItemString(long row, const QString& column, Buffer buffer = Buffer::Primary) const;
    // The same text, for reading one column of every row (a drop-down's
    // index): a row not used yet stays as read instead of being converted
    // whole.
    QString peekItemString(long row, int column) const;
    // Sets a value (a null QVariant sets null). A string longer than the
    // column's maximum length is refused: -1, nothing changed, lastError().
    int setItem(long row, const QString& column, const QVariant& value);

    // Status of a row (column empty) or of one of its columns.
    ItemStatus getItemStatus(long row, const QString& column = {},
                             Buffer buffer = Buffer::Primary) const;

    // The first row from `start` to `end` (forward; end past the last row
    // means the last row) that satisfies the expression: its number, 0 when
    // none, -1 when the expression is malformed (lastError()).
    long find(const QString& expression, long start, long end);

    // Sets (and parses) the filter; 1, or -1 when malformed (nothing changed).
    int setFilter(const QString& expression) override;
    // Applies the filter: rows that fail it move to the filter buffer, rows
    // that pass come back to view. 1 or -1.
    int filter() override;
    QString filterExpression() const;

    // Writes the changes (see above). 1 or -1. With resetFlags false the rows
    // keep their statuses, so that a COMMIT the database refuses afterwards
    // loses nothing: call resetUpdate() once the COMMIT went through.
    [[nodiscard]] int update(bool resetFlags = true);
    // Marks the buffer clean without writing.
    int resetUpdate();

    // Whether a column is protected on a row (its protect expression, or the
    // whole view being read-only).
    bool isProtected(long row, const QString& column) const;
    // A read-only view takes no input in its grid or form; the window's code
    // may still set values.
    void setReadOnly(bool readOnly);
    bool isReadOnly() const;

    QString lastError() const;

    // The model. DisplayRole is the text the operator sees (a drop-down
    // column's display value once setDisplayLists() names the lists),
    // EditRole the stored string, BackgroundRole the column's colour.
    int rowCount(const QModelIndex& parent) const override;
    int columnCount(const QModelIndex& parent) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    // Whether the operator may change a cell (not display only, has a tab
    // stop, not protected on its row, the view not read-only).
    bool isEditable(const QModelIndex& index) const;
    void setDisplayLists(const DropDownSet* lists);
    // Every cell may look different now (lists read again, statuses reset).
    void refreshAll();

    // The current row and column, shared with the widget that shows the view.
    long getRow() const;
    int setRow(long row);
    QString getColumn() const;
    int setColumn(const QString& column);

Q_SIGNALS:
    // Besides the model's signals (reset around a retrieve, reset or filter;
    // rows inserted and removed; data changed): each value set, by column.
    void itemSet(long row, const QString& column);
    // Row statuses changed without any value changing (after a save).
    void statusChanged();
    void currentRowChanged(long row);
    void currentColumnChanged(const QString& column);

private:
    void refreshRow(long row);

    struct Impl;
    std::unique_ptr<Impl> d;
};

}  // namespace platform

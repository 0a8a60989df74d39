#pragma once
// The drop-down list of a column: a data view of its own ("dddw_..."), read
// through the transaction, whose data column holds the stored values and
// whose display column the operator sees.

#include "platform/export.h"

#include "platform/datastore.h"
#include "platform/definition.h"

#include <QHash>
#include <QObject>
#include <unordered_map>

namespace host {
class Transaction;
}

namespace platform {

class WMS_PLATFORM_EXPORT DropDown : public QObject {
    Q_OBJECT
public:
    explicit DropDown(const DropDownSpec& spec, QObject* parent = nullptr);
    ~DropDown() override;

    const DropDownSpec& spec() const { return spec_; }
    DataStore& store() { return store_; }
    // The list's rows as a model, for the combo box that shows them.
    QAbstractItemModel* model() { return &store_; }
    bool isValid() const { return store_.definition() != nullptr; }

    // Attaches the list to a transaction and reads its rows; the row count or -1.
    long bind(host::Transaction& trans);

    int displayColumn() const;  // 0-based, -1 when unknown
    int dataColumn() const;
    // The display text of a stored value; the value itself when the list has
    // no row for it.
    QString displayFor(const QVariant& value) const;
    // The list row (0-based) holding a stored value, -1 when none.
    int rowOf(const QVariant& value) const;
    QVariant valueAt(int row) const;

Q_SIGNALS:
    // The list's rows were read again.
    void changed();

private:
    void rebuildIndex() const;

    DropDownSpec spec_;
    DataStore store_;
    // Stored value -> first list row holding it; rebuilt after any change.
    // Qt's unseeded string hash: QHash's seeded one costs twenty times more
    // per value, and a list of thousands is indexed when first shown.
    mutable std::unordered_map<QString, int> index_;
    mutable bool indexValid_ = false;
};

// The drop-downs of a data view, by 0-based column.
class WMS_PLATFORM_EXPORT DropDownSet : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    DropDown* at(int column) const { return lists_.value(column); }
    // Replaces a column's list (deleting the old one).
    DropDown* set(int column, const DropDownSpec& spec);
    void clear();
    void bindAll(host::Transaction& trans);
    QList<int> columns() const { return lists_.keys(); }

Q_SIGNALS:
    void changed();

private:
    QHash<int, DropDown*> lists_;
};

}  // namespace platform

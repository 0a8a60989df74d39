#pragma once
// The rows of a data view: the values of each row, the values it had when it
// was read (or last saved), which columns changed, and whether it is new.

#include "platform/export.h"

#include "platform/datastore.h"

#include "host/text_rows.h"

#include <QExplicitlySharedDataPointer>
#include <QList>
#include <QVariant>
#include <QVector>

namespace platform {

// A row read and not yet used keeps only its place in the read: its values
// become Qt values when it is first read or changed, so that a grid of
// thousands of rows converts only those that are shown or touched.
class WMS_PLATFORM_EXPORT Row {
public:
    static Row blank(int columns, bool isNew);
    // Row `index` of `source`, as `columns` values.
    static Row read(const QExplicitlySharedDataPointer<const host::TextRows>& source, qsizetype index, int columns);

    // The value of `column` (null past the last column).
    const QVariant& value(int column) const;
    // The same without converting a row not used yet (one column of many
    // rows is read).
    QVariant peek(int column) const;
    // The value `column` had when the row was read or last saved.
    QVariant originalValue(int column) const;
    bool isChanged(int column) const;
    // Sets `column`, which is then changed.
    void setValue(int column, const QVariant& value);

    bool isNew = false;
    bool modified() const { return changed_.contains(true); }
    ItemStatus status() const;
    ItemStatus columnStatus(int column) const;
    // After a save: the values become the original ones, nothing is new or changed.
    void markClean();

private:
    void materialize() const;

    mutable QExplicitlySharedDataPointer<const host::TextRows> source_;
    qsizetype sourceRow_ = 0;
    int width_ = 0;
    mutable QVariantList values_;
    mutable QVariantList original_;
    // Empty while nothing was changed since the row was read.
    QVector<bool> changed_;
};

// The three buffers of a data view.
struct WMS_PLATFORM_EXPORT RowBuffer {
    QList<Row> primary;
    QList<Row> filtered;
    QList<Row> deleted;

    QList<Row>& of(Buffer buffer);
    const QList<Row>& of(Buffer buffer) const;
    void clear();
};

}  // namespace platform

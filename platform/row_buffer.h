#pragma once
// The rows of a data view: the values of each row, the values it had when it
// was read (or last saved), which columns changed, and whether it is new.

#include "platform/export.h"

#include "platform/datastore.h"

#include <QList>
#include <QVariant>
#include <QVector>

namespace platform {

struct WMS_PLATFORM_EXPORT Row {
    QVariantList values;
    QVariantList original;
    QVector<bool> changed;
    bool isNew = false;

    static Row blank(int columns, bool isNew);
    bool modified() const { return changed.contains(true); }
    ItemStatus status() const;
    ItemStatus columnStatus(int column) const;
    // After a save: the values become the original ones, nothing is new or changed.
    void markClean();
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

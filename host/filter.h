#pragma once
// f_filter: the host's way to fill a data view with the rows of its query that
// satisfy a filter expression. The host knows data views only through this
// interface; the data view engine of the platform implements it.

#include "host_database/export.h"

#include <QString>

namespace host {

class Transaction;

class WMS_HOST_DATABASE_EXPORT FilterableView {
public:
    virtual ~FilterableView() = default;
    virtual void setTransObject(Transaction& trans) = 0;
    // Sets the filter expression; 1 on success, -1 when it does not parse.
    virtual int setFilter(const QString& expression) = 0;
    // Reads the rows of the query afresh; the row count, or -1 on failure.
    virtual long retrieve() = 0;
    // Applies the filter set: rows that fail it leave the view. 1 or -1.
    virtual int filter() = 0;
};

// Attaches `view` to sqlca, retrieves it afresh and leaves in view exactly the
// rows that satisfy `expression`. Returns 1 on success, -1 when the expression
// is malformed or the retrieve failed.
WMS_HOST_DATABASE_EXPORT int f_filter(FilterableView& view, const QString& expression);

}  // namespace host

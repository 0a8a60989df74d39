#pragma once
// What the host's log says about a change the module made: the statement and
// its values, a password among them shown as ***.

#include "host_database/export.h"

#include <QString>
#include <QStringList>
#include <QVariantList>

namespace host {

// The column each `?` of a statement binds, in order ("" where the statement
// does not say): "col = ?" and the column lists of an insert.
WMS_HOST_DATABASE_EXPORT QStringList boundColumns(const QString& sql);

// One line for the log: "sql [value, value, …]"; the value of a column whose
// name holds "password" is ***, and so is every value of a statement that
// mentions a password where the columns cannot be told; a long value is cut
// (shortenForLog).
WMS_HOST_DATABASE_EXPORT QString describeChange(const QString& sql, const QVariantList& values);

}  // namespace host

#pragma once
// The sixteen data views of the module: their queries, columns, labels, code
// tables, drop-downs, update tables and keys, over the names and codes of
// schema/ and the engine of platform/.

#include "dataviews/export.h"

namespace dataviews {

// Registers the data views with the platform (once; later calls do nothing).
WMS_DATAVIEWS_EXPORT void registerDataViews();

}  // namespace dataviews

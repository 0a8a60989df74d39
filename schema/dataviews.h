#pragma once
// The sixteen data views of the module: their queries, columns, labels, code
// tables, drop-downs, update tables and keys.

#include "schema/export.h"

namespace schema {

// Registers the data views with the platform (once; later calls do nothing).
WMS_SCHEMA_EXPORT void registerDataViews();

}  // namespace schema

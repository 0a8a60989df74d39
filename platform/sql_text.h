#pragma once
// The SQL text of a data view for the connection it runs on: the owner
// placeholder of the select, and the owner-qualified update table.

#include "platform/export.h"

#include "platform/definition.h"

namespace host {
class Transaction;
}

namespace platform {

// "{owner}" becomes "<owner>." when the view is owner-qualified and the
// transaction names an owner, and disappears otherwise.
WMS_PLATFORM_EXPORT QString ownerPrefix(const Definition& definition, const host::Transaction& trans);
WMS_PLATFORM_EXPORT QString selectText(const Definition& definition, const host::Transaction& trans);
WMS_PLATFORM_EXPORT QString updateTableText(const Definition& definition, const host::Transaction& trans);

}  // namespace platform

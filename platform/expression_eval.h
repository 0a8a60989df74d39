#pragma once
// Evaluates an expression tree on a row.

#include "platform/export.h"

#include "platform/expression.h"
#include "platform/expression_ast.h"

namespace platform::expr {

// The value of `node` on `row`; false with `error` when a column is unknown
// or an operand has the wrong kind.
WMS_PLATFORM_EXPORT bool evaluate(const Node& node, const RowContext& row, Value* result, QString* error);

// Whether a value counts as true: a true comparison or a non-zero number;
// null is false. A string is no condition (false with `error`).
WMS_PLATFORM_EXPORT bool truth(const Value& value, bool* result, QString* error);

WMS_PLATFORM_EXPORT Value fromVariant(const QVariant& value);
WMS_PLATFORM_EXPORT QVariant toVariant(const Value& value);

}  // namespace platform::expr

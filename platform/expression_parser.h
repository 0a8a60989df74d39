#pragma once
// Parses the tokens of an expression into a tree:
//   or      := and { "or" and }
//   and     := not { "and" not }
//   not     := "not" not | compare
//   compare := unary [ ( = | <> | < | > | <= | >= ) unary ]
//   unary   := "-" unary | primary
//   primary := string | number | "(" or ")" | name | name "(" [ or { "," or } ] ")"
// Keywords and function names are not case sensitive.

#include "platform/export.h"

#include "platform/expression_ast.h"
#include "platform/expression_lexer.h"

#include <QStringList>

namespace platform::expr {

// The tree of `text`, or null with `error`. `columns` receives every column
// name the expression reads.
WMS_PLATFORM_EXPORT std::unique_ptr<Node> parse(const QString& text, QStringList* columns, QString* error);

}  // namespace platform::expr

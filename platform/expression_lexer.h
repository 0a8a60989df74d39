#pragma once
// Splits the text of a filter or find expression into tokens.

#include "platform/export.h"

#include <QList>
#include <QString>

namespace platform::expr {

enum class TokenKind {
    Identifier,  // column or function name (letters, digits, _, and . between names)
    String,      // a quoted literal, quotes removed and escapes resolved
    Number,      // digits with an optional fraction
    Operator,    // = <> != < > <= >= ( ) , -
    End,
};

struct WMS_PLATFORM_EXPORT Token {
    TokenKind kind = TokenKind::End;
    QString text;   // identifier, literal value, number text or operator
    int position = 0;  // 0-based offset in the expression, for messages
};

// Splits `text`; false with `error` at the first character that starts no token
// or a literal that is never closed.
WMS_PLATFORM_EXPORT bool tokenize(const QString& text, QList<Token>* tokens, QString* error);

}  // namespace platform::expr

#pragma once
// The expression language of filters and finds:
//   column names, string literals in single or double quotes (the quote
//   written twice, or escaped with a backslash, inside), numbers,
//   = <> < > <= >=, and, or, not, parentheses, isnull(col), isrownew(),
//   and if(condition, a, b).
// Strings compare as strings. A malformed expression is an error the caller
// sees (parse() fails with a message), never a crash and never an empty result.

#include "platform/export.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>

namespace platform {

namespace expr {
struct Node;
}

// Writes `value` as a string literal of the expression language, so that a
// key holding a quote filters correctly: quoteLiteral("a'b") == "'a''b'".
WMS_PLATFORM_EXPORT QString quoteLiteral(const QString& value);

// What an expression asks of the row it is evaluated on.
struct WMS_PLATFORM_EXPORT RowContext {
    std::function<QVariant(const QString& column, bool* known)> value;
    std::function<bool()> isNew;
};

class WMS_PLATFORM_EXPORT Expression {
public:
    Expression();
    ~Expression();
    Expression(Expression&&) noexcept;
    Expression& operator=(Expression&&) noexcept;

    // Parses `text`; false with error() on a malformed expression.
    bool parse(const QString& text);
    QString error() const;
    bool isEmpty() const;
    // The text last parsed, and the column names it reads.
    QString text() const;
    QStringList columns() const;

    // Evaluates on a row; false with error() when a column is unknown.
    bool evaluate(const RowContext& row, QVariant* result) const;
    // Evaluates as a condition: true/false, or false with *ok = false on error.
    bool test(const RowContext& row, bool* ok = nullptr) const;

    // The parsed tree (null before a successful parse), for translating the
    // expression into SQL (sql_filter.h).
    const expr::Node* root() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

}  // namespace platform

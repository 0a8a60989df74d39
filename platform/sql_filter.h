#pragma once
// A filter expression as a SQL WHERE condition, when SQL gives exactly the
// same rows: comparisons of a column with a literal by = and <> (ordering
// comparisons depend on the collation and stay in the client), isnull(col),
// and, or, not and parentheses over those. A comparison with a null column is
// false in the expression language, so each one becomes
// "( col is not null and col = ? )": two-valued like the expression, so that
// not, and and or give the same answer too. Anything else (ordering, if(),
// isrownew(), numbers as conditions, two columns) is not translated and the
// view filters in the client as before.

#include "platform/export.h"

#include <QString>
#include <QVariantList>
#include <optional>

namespace platform {

struct Definition;
namespace expr {
struct Node;
}

struct WMS_PLATFORM_EXPORT SqlCondition {
    QString where;       // with ? placeholders
    QVariantList values; // bound in order, all strings
};

WMS_PLATFORM_EXPORT std::optional<SqlCondition> sqlCondition(const expr::Node& root, const Definition& definition);

// The select with the condition added before its "order by" (and with "and"
// when it has a where clause of its own); nullopt when the select's shape is
// not one that can take it safely (group by, union, a where inside brackets…).
WMS_PLATFORM_EXPORT std::optional<QString> selectWithCondition(const QString& select, const QString& condition);

}  // namespace platform

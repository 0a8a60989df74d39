#include "platform/sql_filter.h"

#include "platform/definition.h"
#include "platform/expression_ast.h"

#include <QRegularExpression>

namespace platform {

namespace {

using expr::Node;
using expr::Value;

// The SQL name of a data view column, or empty when it has none.
QString sqlColumn(const Node& node, const Definition& definition)
{
    if (node.kind != Node::Kind::Column)
        return {};
    const int c = definition.columnIndex(node.name);
    if (c < 0)
        return {};
    const ColumnDefinition& column = definition.columns.at(c);
    return column.selectName.isEmpty() ? column.name : column.selectName;
}

bool literalText(const Node& node, QString* text)
{
    if (node.kind != Node::Kind::Literal)
        return false;
    if (node.literal.type != Value::Type::String && node.literal.type != Value::Type::Number)
        return false;
    // A number compared with a (string) column compares as its written text.
    // The empty literal '' is an empty string, never SQL null.
    *text = node.literal.text.isNull() ? QStringLiteral("") : node.literal.text;
    return true;
}

bool translate(const Node& node, const Definition& definition, SqlCondition* out)
{
    switch (node.kind) {
    case Node::Kind::Compare: {
        if (node.op != QLatin1String("=") && node.op != QLatin1String("<>"))
            return false;
        QString column = sqlColumn(*node.a, definition);
        QString literal;
        bool known = !column.isEmpty() && literalText(*node.b, &literal);
        if (!known) {
            column = sqlColumn(*node.b, definition);
            known = !column.isEmpty() && literalText(*node.a, &literal);
        }
        if (!known)
            return false;
        out->where += QStringLiteral("( %1 is not null and %1 %2 ? )").arg(column, node.op);
        out->values << literal;
        return true;
    }
    case Node::Kind::IsNull: {
        const QString column = sqlColumn(*node.a, definition);
        if (column.isEmpty())
            return false;
        out->where += QStringLiteral("( %1 is null )").arg(column);
        return true;
    }
    case Node::Kind::Not:
        out->where += QStringLiteral("( not ");
        if (!translate(*node.a, definition, out))
            return false;
        out->where += QStringLiteral(" )");
        return true;
    case Node::Kind::And:
    case Node::Kind::Or:
        out->where += QStringLiteral("( ");
        if (!translate(*node.a, definition, out))
            return false;
        out->where += node.kind == Node::Kind::And ? QStringLiteral(" and ") : QStringLiteral(" or ");
        if (!translate(*node.b, definition, out))
            return false;
        out->where += QStringLiteral(" )");
        return true;
    default:
        return false;
    }
}

}  // namespace

std::optional<SqlCondition> sqlCondition(const Node& root, const Definition& definition)
{
    SqlCondition condition;
    if (!translate(root, definition, &condition))
        return std::nullopt;
    return condition;
}

std::optional<QString> selectWithCondition(const QString& select, const QString& condition)
{
    // Only a plain select: no brackets (sub-selects), no grouping or set
    // operations, at most one where and one order by.
    static const QRegularExpression unsafe(QStringLiteral("[()]|\\b(group|having|union|intersect|except|limit)\\b"),
                                           QRegularExpression::CaseInsensitiveOption);
    if (unsafe.match(select).hasMatch())
        return std::nullopt;
    static const QRegularExpression orderBy(QStringLiteral("\\border\\s+by\\b"),
                                            QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression where(QStringLiteral("\\bwhere\\b"), QRegularExpression::CaseInsensitiveOption);
    const auto order = orderBy.match(select);
    const qsizetype at = order.hasMatch() ? order.capturedStart() : select.size();
    QString head = select.left(at).trimmed();
    const QString tail = select.mid(at);
    const auto own = where.match(head);
    if (own.hasMatch()) {
        // The select's own condition stays whole: ( … ) and the filter.
        head = head.left(own.capturedStart()) + QStringLiteral("where ( ") +
               head.mid(own.capturedEnd()).trimmed() + QStringLiteral(" ) and ") + condition;
    } else {
        head += QStringLiteral(" where ") + condition;
    }
    return head + (tail.isEmpty() ? QString() : QStringLiteral(" ") + tail);
}

}  // namespace platform

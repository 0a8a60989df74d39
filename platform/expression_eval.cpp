#include "platform/expression_eval.h"

namespace platform::expr {

Value fromVariant(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return Value::null();
    switch (value.typeId()) {
    case QMetaType::Bool:
        return Value::fromBool(value.toBool());
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        return Value::fromNumber(value.toDouble(), value.toString());
    default:
        return Value::string(value.toString());
    }
}

QVariant toVariant(const Value& value)
{
    switch (value.type) {
    case Value::Type::Null:
        return {};
    case Value::Type::String:
        return value.text;
    case Value::Type::Number:
        return value.number;
    case Value::Type::Bool:
        return value.boolean;
    }
    return {};
}

bool truth(const Value& value, bool* result, QString* error)
{
    switch (value.type) {
    case Value::Type::Null:
        *result = false;
        return true;
    case Value::Type::Bool:
        *result = value.boolean;
        return true;
    case Value::Type::Number:
        *result = value.number != 0;
        return true;
    case Value::Type::String:
        break;
    }
    *error = QStringLiteral("the string '%1' is not a condition").arg(value.text);
    return false;
}

namespace {

QString textOf(const Value& value)
{
    if (value.type == Value::Type::Bool)
        return value.boolean ? QStringLiteral("1") : QStringLiteral("0");
    return value.text;
}

double numberOf(const Value& value)
{
    return value.type == Value::Type::Bool ? (value.boolean ? 1 : 0) : value.number;
}

// Comparisons with null are false. Two numbers (or truth values) compare as
// numbers; as soon as one side is a string both compare as strings, so that
// codes such as "01" and "1" stay different.
bool compare(const QString& op, const Value& left, const Value& right)
{
    if (left.type == Value::Type::Null || right.type == Value::Type::Null)
        return false;
    int order;
    if (left.type != Value::Type::String && right.type != Value::Type::String) {
        const double a = numberOf(left), b = numberOf(right);
        order = a < b ? -1 : (a > b ? 1 : 0);
    } else {
        order = QString::compare(textOf(left), textOf(right), Qt::CaseSensitive);
    }
    if (op == QLatin1String("="))
        return order == 0;
    if (op == QLatin1String("<>"))
        return order != 0;
    if (op == QLatin1String("<"))
        return order < 0;
    if (op == QLatin1String(">"))
        return order > 0;
    if (op == QLatin1String("<="))
        return order <= 0;
    return order >= 0;  // ">="
}

}  // namespace

bool evaluate(const Node& node, const RowContext& row, Value* result, QString* error)
{
    switch (node.kind) {
    case Node::Kind::Literal:
        *result = node.literal;
        return true;
    case Node::Kind::Column: {
        bool known = false;
        const QVariant value = row.value ? row.value(node.name, &known) : QVariant();
        if (!known) {
            *error = QStringLiteral("unknown column '%1'").arg(node.name);
            return false;
        }
        *result = fromVariant(value);
        return true;
    }
    case Node::Kind::Not: {
        Value operand;
        bool b = false;
        if (!evaluate(*node.a, row, &operand, error) || !truth(operand, &b, error))
            return false;
        *result = Value::fromBool(!b);
        return true;
    }
    case Node::Kind::Negate: {
        Value operand;
        if (!evaluate(*node.a, row, &operand, error))
            return false;
        if (operand.type == Value::Type::Null) {
            *result = operand;
            return true;
        }
        bool ok = operand.type != Value::Type::String;
        double n = numberOf(operand);
        if (!ok)
            n = operand.text.trimmed().toDouble(&ok);
        if (!ok) {
            *error = QStringLiteral("'%1' is not a number").arg(operand.text);
            return false;
        }
        *result = Value::fromNumber(-n, QString::number(-n));
        return true;
    }
    case Node::Kind::And:
    case Node::Kind::Or: {
        Value left, right;
        bool a = false, b = false;
        if (!evaluate(*node.a, row, &left, error) || !truth(left, &a, error))
            return false;
        // Both sides are evaluated, so that an unknown column is always reported.
        if (!evaluate(*node.b, row, &right, error) || !truth(right, &b, error))
            return false;
        *result = Value::fromBool(node.kind == Node::Kind::And ? (a && b) : (a || b));
        return true;
    }
    case Node::Kind::Compare: {
        Value left, right;
        if (!evaluate(*node.a, row, &left, error) || !evaluate(*node.b, row, &right, error))
            return false;
        *result = Value::fromBool(compare(node.op, left, right));
        return true;
    }
    case Node::Kind::IsNull: {
        Value operand;
        if (!evaluate(*node.a, row, &operand, error))
            return false;
        *result = Value::fromBool(operand.type == Value::Type::Null);
        return true;
    }
    case Node::Kind::IsRowNew:
        *result = Value::fromBool(row.isNew ? row.isNew() : false);
        return true;
    case Node::Kind::If: {
        Value condition;
        bool b = false;
        if (!evaluate(*node.a, row, &condition, error) || !truth(condition, &b, error))
            return false;
        Value other;  // evaluated too, so that an unknown column is always reported
        if (!evaluate(b ? *node.c : *node.b, row, &other, error))
            return false;
        return evaluate(b ? *node.b : *node.c, row, result, error);
    }
    }
    *error = QStringLiteral("unknown expression node");
    return false;
}

}  // namespace platform::expr

#pragma once
// The parsed form of a filter or find expression, and the values it computes.

#include "platform/export.h"

#include <QString>
#include <memory>

namespace platform::expr {

// A value during evaluation. Columns give strings (or null); literals give
// strings or numbers; comparisons and logic give booleans.
struct WMS_PLATFORM_EXPORT Value {
    enum class Type { Null, String, Number, Bool };
    Type type = Type::Null;
    QString text;     // String, and the written form of a Number
    double number = 0;
    bool boolean = false;

    static Value null() { return {}; }
    static Value string(const QString& s)
    {
        Value v;
        v.type = Type::String;
        v.text = s;
        return v;
    }
    static Value fromNumber(double n, const QString& written)
    {
        Value v;
        v.type = Type::Number;
        v.number = n;
        v.text = written;
        return v;
    }
    static Value fromBool(bool b)
    {
        Value v;
        v.type = Type::Bool;
        v.boolean = b;
        return v;
    }
};

struct WMS_PLATFORM_EXPORT Node {
    enum class Kind { Literal, Column, Not, Negate, And, Or, Compare, IsNull, IsRowNew, If };
    Kind kind = Kind::Literal;
    Value literal;         // Literal
    QString name;          // Column
    QString op;            // Compare: = <> < > <= >=
    std::unique_ptr<Node> a, b, c;
};

}  // namespace platform::expr

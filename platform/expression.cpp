#include "platform/expression.h"

#include "platform/expression_eval.h"
#include "platform/expression_parser.h"

namespace platform {

QString quoteLiteral(const QString& value)
{
    QString text = value;
    text.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    text.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + text + QLatin1Char('\'');
}

struct Expression::Impl {
    QString text;
    std::unique_ptr<expr::Node> root;
    QStringList columns;
    mutable QString error;
};

Expression::Expression() : d(std::make_unique<Impl>()) {}

const expr::Node* Expression::root() const
{
    return d->root.get();
}
Expression::~Expression() = default;
Expression::Expression(Expression&&) noexcept = default;
Expression& Expression::operator=(Expression&&) noexcept = default;

bool Expression::parse(const QString& text)
{
    d->text = text;
    d->columns.clear();
    d->error.clear();
    d->root = expr::parse(text, &d->columns, &d->error);
    if (!d->root) {
        d->columns.clear();
        if (d->error.isEmpty())
            d->error = QStringLiteral("malformed expression");
        return false;
    }
    return true;
}

QString Expression::error() const
{
    return d->error;
}

bool Expression::isEmpty() const
{
    return !d->root;
}

QString Expression::text() const
{
    return d->text;
}

QStringList Expression::columns() const
{
    return d->columns;
}

bool Expression::evaluate(const RowContext& row, QVariant* result) const
{
    if (!d->root) {
        d->error = d->error.isEmpty() ? QStringLiteral("no expression") : d->error;
        return false;
    }
    expr::Value value;
    QString error;
    if (!expr::evaluate(*d->root, row, &value, &error)) {
        d->error = error;
        return false;
    }
    if (result)
        *result = expr::toVariant(value);
    return true;
}

bool Expression::test(const RowContext& row, bool* ok) const
{
    if (ok)
        *ok = false;
    if (!d->root) {
        d->error = d->error.isEmpty() ? QStringLiteral("no expression") : d->error;
        return false;
    }
    expr::Value value;
    QString error;
    bool result = false;
    if (!expr::evaluate(*d->root, row, &value, &error) || !expr::truth(value, &result, &error)) {
        d->error = error;
        return false;
    }
    if (ok)
        *ok = true;
    return result;
}

}  // namespace platform

#include "platform/expression_parser.h"

namespace platform::expr {

namespace {

class Parser {
public:
    Parser(const QList<Token>& tokens, QStringList* columns) : tokens_(tokens), columns_(columns) {}

    std::unique_ptr<Node> parseAll()
    {
        if (peek().kind == TokenKind::End)
            return fail(QStringLiteral("the expression is empty"));
        auto node = parseOr();
        if (!node)
            return nullptr;
        if (peek().kind != TokenKind::End)
            return fail(QStringLiteral("unexpected '%1' at position %2").arg(peek().text).arg(peek().position + 1));
        return node;
    }

    QString error;

private:
    const Token& peek() const { return tokens_.at(pos_); }
    const Token& take() { return tokens_.at(pos_++); }

    bool isKeyword(const char* word) const
    {
        return peek().kind == TokenKind::Identifier && peek().text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
    }
    bool isOperator(const char* op) const
    {
        return peek().kind == TokenKind::Operator && peek().text == QLatin1String(op);
    }

    std::unique_ptr<Node> fail(const QString& message)
    {
        if (error.isEmpty())
            error = message;
        return nullptr;
    }

    std::unique_ptr<Node> binary(Node::Kind kind, std::unique_ptr<Node> left, std::unique_ptr<Node> right)
    {
        auto node = std::make_unique<Node>();
        node->kind = kind;
        node->a = std::move(left);
        node->b = std::move(right);
        return node;
    }

    std::unique_ptr<Node> parseOr()
    {
        auto left = parseAnd();
        while (left && isKeyword("or")) {
            take();
            auto right = parseAnd();
            if (!right)
                return nullptr;
            left = binary(Node::Kind::Or, std::move(left), std::move(right));
        }
        return left;
    }

    std::unique_ptr<Node> parseAnd()
    {
        auto left = parseNot();
        while (left && isKeyword("and")) {
            take();
            auto right = parseNot();
            if (!right)
                return nullptr;
            left = binary(Node::Kind::And, std::move(left), std::move(right));
        }
        return left;
    }

    std::unique_ptr<Node> parseNot()
    {
        if (isKeyword("not")) {
            take();
            auto operand = parseNot();
            if (!operand)
                return nullptr;
            auto node = std::make_unique<Node>();
            node->kind = Node::Kind::Not;
            node->a = std::move(operand);
            return node;
        }
        return parseCompare();
    }

    std::unique_ptr<Node> parseCompare()
    {
        auto left = parseUnary();
        if (!left)
            return nullptr;
        static const QStringList ops = {"=", "<>", "<", ">", "<=", ">="};
        if (peek().kind == TokenKind::Operator && ops.contains(peek().text)) {
            const QString op = take().text;
            auto right = parseUnary();
            if (!right)
                return nullptr;
            if (peek().kind == TokenKind::Operator && ops.contains(peek().text))
                return fail(QStringLiteral("comparisons cannot be chained (position %1)").arg(peek().position + 1));
            auto node = binary(Node::Kind::Compare, std::move(left), std::move(right));
            node->op = op;
            return node;
        }
        return left;
    }

    std::unique_ptr<Node> parseUnary()
    {
        if (isOperator("-")) {
            take();
            auto operand = parseUnary();
            if (!operand)
                return nullptr;
            auto node = std::make_unique<Node>();
            node->kind = Node::Kind::Negate;
            node->a = std::move(operand);
            return node;
        }
        return parsePrimary();
    }

    std::unique_ptr<Node> parsePrimary()
    {
        const Token token = peek();
        switch (token.kind) {
        case TokenKind::End:
            return fail(QStringLiteral("the expression ends too early"));
        case TokenKind::String: {
            take();
            auto node = std::make_unique<Node>();
            node->literal = Value::string(token.text);
            return node;
        }
        case TokenKind::Number: {
            take();
            auto node = std::make_unique<Node>();
            node->literal = Value::fromNumber(token.text.toDouble(), token.text);
            return node;
        }
        case TokenKind::Operator:
            if (token.text == QLatin1String("(")) {
                take();
                auto inner = parseOr();
                if (!inner)
                    return nullptr;
                if (!isOperator(")"))
                    return fail(QStringLiteral("')' expected at position %1").arg(peek().position + 1));
                take();
                return inner;
            }
            return fail(QStringLiteral("unexpected '%1' at position %2").arg(token.text).arg(token.position + 1));
        case TokenKind::Identifier:
            break;
        }
        static const QStringList keywords = {"and", "or", "not"};
        if (keywords.contains(token.text.toLower()))
            return fail(QStringLiteral("unexpected '%1' at position %2").arg(token.text).arg(token.position + 1));
        take();
        if (!isOperator("(")) {
            auto node = std::make_unique<Node>();
            node->kind = Node::Kind::Column;
            node->name = token.text;
            if (columns_ && !columns_->contains(token.text))
                columns_->append(token.text);
            return node;
        }
        return parseCall(token);
    }

    std::unique_ptr<Node> parseCall(const Token& name)
    {
        take();  // "("
        std::vector<std::unique_ptr<Node>> args;
        if (!isOperator(")")) {
            for (;;) {
                auto arg = parseOr();
                if (!arg)
                    return nullptr;
                args.push_back(std::move(arg));
                if (isOperator(",")) {
                    take();
                    continue;
                }
                break;
            }
        }
        if (!isOperator(")"))
            return fail(QStringLiteral("')' expected at position %1").arg(peek().position + 1));
        take();

        const QString function = name.text.toLower();
        auto node = std::make_unique<Node>();
        auto expect = [&](size_t count) {
            if (args.size() == count)
                return true;
            fail(QStringLiteral("%1() takes %2 argument(s)").arg(function).arg(count));
            return false;
        };
        if (function == QLatin1String("isnull")) {
            if (!expect(1))
                return nullptr;
            node->kind = Node::Kind::IsNull;
            node->a = std::move(args[0]);
        } else if (function == QLatin1String("isrownew")) {
            if (!expect(0))
                return nullptr;
            node->kind = Node::Kind::IsRowNew;
        } else if (function == QLatin1String("if")) {
            if (!expect(3))
                return nullptr;
            node->kind = Node::Kind::If;
            node->a = std::move(args[0]);
            node->b = std::move(args[1]);
            node->c = std::move(args[2]);
        } else {
            return fail(QStringLiteral("unknown function '%1' at position %2").arg(name.text).arg(name.position + 1));
        }
        return node;
    }

    const QList<Token>& tokens_;
    QStringList* columns_;
    int pos_ = 0;
};

}  // namespace

std::unique_ptr<Node> parse(const QString& text, QStringList* columns, QString* error)
{
    QList<Token> tokens;
    if (!tokenize(text, &tokens, error))
        return nullptr;
    Parser parser(tokens, columns);
    auto node = parser.parseAll();
    if (!node)
        *error = parser.error;
    return node;
}

}  // namespace platform::expr

#include "platform/expression_lexer.h"

namespace platform::expr {

namespace {

bool isNameStart(QChar c)
{
    return c.isLetter() || c == QLatin1Char('_');
}

bool isNamePart(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

// Reads a literal quoted with `quote` starting at text[*pos]; the quote doubled
// or a backslash escape stands for the character itself.
bool readString(const QString& text, int* pos, QString* value, QString* error)
{
    const QChar quote = text.at(*pos);
    const int start = *pos;
    int i = *pos + 1;
    value->clear();
    while (i < text.size()) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\\') && i + 1 < text.size()) {
            value->append(text.at(i + 1));
            i += 2;
            continue;
        }
        if (c == quote) {
            if (i + 1 < text.size() && text.at(i + 1) == quote) {
                value->append(quote);
                i += 2;
                continue;
            }
            *pos = i + 1;
            return true;
        }
        value->append(c);
        ++i;
    }
    *error = QStringLiteral("unterminated string literal starting at position %1").arg(start + 1);
    return false;
}

}  // namespace

bool tokenize(const QString& text, QList<Token>* tokens, QString* error)
{
    tokens->clear();
    int i = 0;
    while (i < text.size()) {
        const QChar c = text.at(i);
        if (c.isSpace()) {
            ++i;
            continue;
        }
        Token token;
        token.position = i;
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            token.kind = TokenKind::String;
            if (!readString(text, &i, &token.text, error))
                return false;
        } else if (c.isDigit() || (c == QLatin1Char('.') && i + 1 < text.size() && text.at(i + 1).isDigit())) {
            token.kind = TokenKind::Number;
            int j = i;
            while (j < text.size() && text.at(j).isDigit())
                ++j;
            if (j < text.size() && text.at(j) == QLatin1Char('.')) {
                ++j;
                while (j < text.size() && text.at(j).isDigit())
                    ++j;
            }
            if (j < text.size() && isNameStart(text.at(j))) {
                *error = QStringLiteral("malformed number at position %1").arg(i + 1);
                return false;
            }
            token.text = text.mid(i, j - i);
            i = j;
        } else if (isNameStart(c)) {
            token.kind = TokenKind::Identifier;
            int j = i;
            while (j < text.size()) {
                if (isNamePart(text.at(j))) {
                    ++j;
                } else if (text.at(j) == QLatin1Char('.') && j + 1 < text.size() && isNameStart(text.at(j + 1))) {
                    j += 2;
                } else {
                    break;
                }
            }
            token.text = text.mid(i, j - i);
            i = j;
        } else {
            token.kind = TokenKind::Operator;
            const QString two = text.mid(i, 2);
            if (two == QLatin1String("<>") || two == QLatin1String("!=") || two == QLatin1String("<=")
                || two == QLatin1String(">=")) {
                token.text = two == QLatin1String("!=") ? QStringLiteral("<>") : two;
                i += 2;
            } else if (QStringLiteral("=<>(),-").contains(c)) {
                token.text = QString(c);
                ++i;
            } else {
                *error = QStringLiteral("unexpected character '%1' at position %2").arg(c).arg(i + 1);
                return false;
            }
        }
        tokens->append(token);
    }
    Token end;
    end.position = text.size();
    tokens->append(end);
    return true;
}

}  // namespace platform::expr

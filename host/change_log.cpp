#include "host/change_log.h"

#include "host/functions.h"

#include <QRegularExpression>

namespace host {

namespace {

bool isSecret(const QString& column)
{
    return column.contains(QLatin1String("password"), Qt::CaseInsensitive);
}

}  // namespace

QStringList boundColumns(const QString& sql)
{
    QStringList columns;
    // insert into t ( a , b ) values ( ? , ? )
    static const QRegularExpression insert(
        QStringLiteral("^\\s*insert\\s+into\\s+\\S+\\s*\\(([^)]*)\\)\\s*values\\s*\\(([^)]*)\\)"),
        QRegularExpression::CaseInsensitiveOption);
    if (const auto match = insert.match(sql); match.hasMatch()) {
        const QStringList names = match.captured(1).split(QLatin1Char(','));
        const QStringList values = match.captured(2).split(QLatin1Char(','));
        for (int i = 0; i < values.size(); ++i) {
            if (values.at(i).trimmed() == QLatin1String("?"))
                columns << (i < names.size() ? names.at(i).trimmed() : QString());
        }
        return columns;
    }
    // … col = ? …, … col =? …
    static const QRegularExpression placeholder(QStringLiteral("(?:([\\w.]+)\\s*(?:=|<>|<|>)\\s*)?\\?"));
    auto it = placeholder.globalMatch(sql);
    while (it.hasNext())
        columns << it.next().captured(1);
    return columns;
}

QString describeChange(const QString& sql, const QVariantList& values)
{
    const QStringList columns = boundColumns(sql);
    const bool mentionsSecret = isSecret(sql);
    QStringList shown;
    for (int i = 0; i < values.size(); ++i) {
        const QString column = columns.value(i);
        const bool secret = isSecret(column) || (mentionsSecret && column.isEmpty());
        const QVariant& value = values.at(i);
        if (secret)
            shown << QStringLiteral("***");
        else if (value.isNull())
            shown << QStringLiteral("null");
        else
            shown << QLatin1Char('"') + shortenForLog(value.toString()) + QLatin1Char('"');
    }
    return sql.simplified() + QStringLiteral(" [") + shown.join(QStringLiteral(", ")) + QLatin1Char(']');
}

}  // namespace host

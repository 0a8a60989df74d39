#include "journal_core/journal_rows.h"

#include "host/transaction.h"

#include <QJsonDocument>
#include <QSqlQuery>
#include <QSqlRecord>

namespace journal::journal_rows {

using host::Transaction;

bool selectRowsOf(Transaction& trans, const QString& sql, const QVariantList& params, Rows* rows)
{
    QSqlQuery* query = trans.prepared(sql);
    if (!query || !trans.run(*query, params))
        return false;
    const QSqlRecord record = query->record();
    rows->columns.clear();
    for (int c = 0; c < record.count(); ++c)
        rows->columns << record.fieldName(c).toLower();
    long count = 0;
    while (query->next()) {
        QVariantList row;
        for (int c = 0; c < record.count(); ++c) {
            const QVariant v = query->value(c);
            row << (v.isNull() ? QVariant() : QVariant(v.toString()));
        }
        rows->values << row;
        ++count;
    }
    return trans.finishSelect(*query, count);
}

QString keyCondition(const QStringList& keys)
{
    QStringList parts;
    for (const QString& key : keys)
        parts << key + QStringLiteral(" = ?");
    return parts.join(QStringLiteral(" and "));
}

QString rowSelect(const Transaction& trans, const QString& tableText, const QStringList& keys)
{
    QString sql = QStringLiteral("select * from ") + tableText + QStringLiteral(" where ") + keyCondition(keys);
    if (trans.dialect() == host::Dialect::Postgres)
        sql += QStringLiteral(" for update");
    return sql;
}

QJsonValue jsonValue(const QVariant& value)
{
    return value.isNull() ? QJsonValue(QJsonValue::Null) : QJsonValue(value.toString());
}

QJsonValue shownValue(const QString& column, const QVariant& value)
{
    if (!isSecretColumn(column) || value.isNull() || value.toString().isEmpty())
        return jsonValue(value);
    return kSecret;
}

QJsonObject rowObject(const QStringList& columns, const QVariantList& values)
{
    QJsonObject object;
    for (int c = 0; c < columns.size(); ++c)
        object.insert(columns.at(c), shownValue(columns.at(c), values.value(c)));
    return object;
}

std::optional<QJsonObject> parseObject(const QString& text)
{
    if (text.isEmpty())
        return std::nullopt;
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8());
    if (!document.isObject())
        return std::nullopt;
    return document.object();
}

}  // namespace journal::journal_rows

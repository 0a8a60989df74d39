#pragma once
// Rows of the journaled tables as the journal's reader and revert read them
// (not installed).

#include "journal_core/journal.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

namespace host {
class Transaction;
}

namespace journal {

namespace journal_rows {

// What the journal writes for a password instead of its value.
inline const QString kSecret = QStringLiteral("***");

// Rows as read by `select *`: the column names once (lower case), the values
// per row (a string, or null).
struct Rows {
    QStringList columns;
    QList<QVariantList> values;
};

// Runs a select through `trans` and keeps its rows as text; false with
// trans.sqlerrtext when it failed.
bool selectRowsOf(host::Transaction& trans, const QString& sql, const QVariantList& params, Rows* rows);
// "k1 = ? and k2 = ?"
QString keyCondition(const QStringList& keys);
// select * of one row by key (locked on PostgreSQL).
QString rowSelect(const host::Transaction& trans, const QString& tableText, const QStringList& keys);

QJsonValue jsonValue(const QVariant& value);
// A value as the journal shows it: passwords as kSecret.
QJsonValue shownValue(const QString& column, const QVariant& value);
// A row as the journal writes it.
QJsonObject rowObject(const QStringList& columns, const QVariantList& values);
// The JSON object in `text`, or nothing (empty text, not an object).
std::optional<QJsonObject> parseObject(const QString& text);

}  // namespace journal_rows
}  // namespace journal

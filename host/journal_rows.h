#pragma once
// Rows of the journaled tables as the journal reads and writes them: the
// shared helpers of recording, reading and reverting (not installed).

#include "host/journal.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

namespace host {

class Transaction;

namespace journal_rows {

// What the journal writes for a password instead of its value, and after an
// update that changed it.
inline const QString kSecret = QStringLiteral("***");
inline const QString kSecretChanged = QStringLiteral("***(已修改)");

// Rows as read by `select *`: the column names once (lower case), the values
// per row (a string, or null).
struct Rows {
    QStringList columns;
    QList<QVariantList> values;
};

// Runs a select through `trans` and keeps its rows as text; false with
// trans.sqlerrtext when it failed.
bool selectRowsOf(Transaction& trans, const QString& sql, const QVariantList& params, Rows* rows);
// "k1 = ? and k2 = ?"
QString keyCondition(const QStringList& keys);
// select * of one row by key (locked on PostgreSQL).
QString rowSelect(const Transaction& trans, const QString& tableText, const QStringList& keys);

QJsonValue jsonValue(const QVariant& value);
// A value as the journal shows it: passwords as kSecret.
QJsonValue shownValue(const QString& column, const QVariant& value);
// A row as the journal writes it; with `before`, a changed password is kSecretChanged.
QJsonObject rowObject(const QStringList& columns, const QVariantList& values, const QVariantList* before = nullptr);
QJsonObject keyObject(const JournaledTable& table, const QStringList& columns, const QVariantList& values);
QString jsonText(const QJsonObject& object);
// Null for no object.
QVariant jsonText(const std::optional<QJsonObject>& object);
// The JSON object in `text`, or nothing (empty text, not an object).
std::optional<QJsonObject> parseObject(const QString& text);

}  // namespace journal_rows
}  // namespace host

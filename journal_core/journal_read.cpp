#include "journal_core/journal.h"

#include "journal_core/journal_rows.h"
#include "host/transaction.h"

#include <QDateTime>

namespace journal {

using host::Transaction;
using namespace journal_rows;

int readJournal(Transaction& trans, const JournalFilter& filter, QList<JournalEntry>* entries)
{
    QString sql = QStringLiteral(
        "select id , changed_at , operator_id , table_name , row_key , action , before_value , after_value from "
        "s_right_journal where 1 = 1");
    QVariantList params;
    if (!filter.since.isEmpty()) {
        sql += QStringLiteral(" and changed_at >= ?");
        params << filter.since;
    }
    if (!filter.until.isEmpty()) {
        sql += QStringLiteral(" and changed_at < ?");
        params << filter.until;
    }
    if (!filter.operatorId.isEmpty()) {
        sql += QStringLiteral(" and operator_id = ?");
        params << filter.operatorId;
    }
    if (!filter.table.isEmpty()) {
        sql += QStringLiteral(" and table_name = ?");
        params << filter.table;
    }
    sql += filter.newestFirst ? QStringLiteral(" order by id desc") : QStringLiteral(" order by id");
    if (filter.limit > 0) {
        sql += QStringLiteral(" limit ?");
        params << filter.limit;
    }
    QList<QVariantList> rows;
    if (trans.selectRows(sql, params, &rows) != Transaction::kSuccess)
        return Transaction::kError;
    for (const QVariantList& row : std::as_const(rows)) {
        JournalEntry entry;
        entry.id = row.value(0).toLongLong();
        entry.changedAt = row.value(1).toString();
        entry.operatorId = row.value(2).toString();
        entry.table = row.value(3).toString();
        entry.key = row.value(4).toString();
        entry.action = row.value(5).toString();
        entry.before = row.value(6).toString();
        entry.after = row.value(7).toString();
        entries->append(entry);
    }
    return Transaction::kSuccess;
}

QString journalTime(const QString& iso)
{
    const QString text = iso.trimmed();
    QDateTime time = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (!time.isValid()) {
        const QDate date = QDate::fromString(text, Qt::ISODate);
        if (date.isValid())
            time = date.startOfDay();
    }
    if (!time.isValid())
        return {};
    return time.toUTC().toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss.zzz'Z'"));
}

QString describeJournalValue(const QString& json)
{
    const std::optional<QJsonObject> object = parseObject(json);
    if (!object)
        return {};
    QStringList parts;
    for (auto it = object->constBegin(); it != object->constEnd(); ++it)
        parts << it.key() + QLatin1Char('=') + (it.value().isNull() ? QStringLiteral("null") : it.value().toString());
    return parts.join(QStringLiteral(", "));
}

}  // namespace journal

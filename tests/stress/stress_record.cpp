#include "tests/stress/stress_record.h"

#include <QJsonArray>
#include <chrono>

namespace stress {

namespace {

const QList<QPair<Refusal, QString>> kNames = {
    {Refusal::None, "none"},           {Refusal::ChangedMeanwhile, "changed meanwhile"},
    {Refusal::Guard, "lock-out guard"}, {Refusal::LockTimeout, "lock timeout"},
    {Refusal::Deadlock, "deadlock"},   {Refusal::OtherError, "other error"},
    {Refusal::Unclassified, "unclassified"}};

}  // namespace

QString refusalName(Refusal refusal)
{
    for (const auto& [value, name] : kNames) {
        if (value == refusal)
            return name;
    }
    return QStringLiteral("unclassified");
}

Refusal refusalFromName(const QString& name)
{
    for (const auto& [value, text] : kNames) {
        if (text == name)
            return value;
    }
    return Refusal::Unclassified;
}

Refusal classify(const QString& text)
{
    if (text.trimmed().isEmpty())
        return Refusal::Unclassified;
    const auto has = [&text](const char* part) { return text.contains(QString::fromUtf8(part), Qt::CaseInsensitive); };
    if (has("deadlock"))
        return Refusal::Deadlock;
    if (has("lock timeout") || has("database is locked") || has("database table is locked") || has("55P03"))
        return Refusal::LockTimeout;
    if (has("没有操作员能够管理权限"))
        return Refusal::Guard;
    // The module's reason, the revert's, and a key another client inserted
    // between the read and the write.
    if (has("已被其他用户修改") || has("之后该行已被修改") || has("没有找到要修改的记录") || has("duplicate key") ||
        has("UNIQUE constraint failed"))
        return Refusal::ChangedMeanwhile;
    return Refusal::OtherError;
}

QJsonObject OperationRecord::toJson() const
{
    QJsonArray rows;
    for (const RowChange& change : changes)
        rows.append(QJsonObject{{"table", change.table},
                                {"action", change.action},
                                {"before", change.before},
                                {"after", change.after}});
    return {{"client", client},
            {"sequence", sequence},
            {"kind", kind},
            {"start", QString::number(startNs)},
            {"end", QString::number(endNs)},
            {"committed", committed},
            {"skipped", skipped},
            {"refusal", refusalName(refusal)},
            {"reason", reason},
            {"read", read},
            {"changes", rows},
            {"boxes", boxes}};
}

OperationRecord OperationRecord::fromJson(const QJsonObject& json)
{
    OperationRecord record;
    record.client = json.value("client").toInt();
    record.sequence = json.value("sequence").toInt();
    record.kind = json.value("kind").toString();
    record.startNs = json.value("start").toString().toLongLong();
    record.endNs = json.value("end").toString().toLongLong();
    record.committed = json.value("committed").toBool();
    record.skipped = json.value("skipped").toBool();
    record.refusal = refusalFromName(json.value("refusal").toString());
    record.reason = json.value("reason").toString();
    record.read = json.value("read").toObject();
    for (const QJsonValue& row : json.value("changes").toArray()) {
        const QJsonObject change = row.toObject();
        record.changes.append({change.value("table").toString(), change.value("action").toString(),
                               change.value("before"), change.value("after")});
    }
    record.boxes = json.value("boxes").toInt();
    return record;
}

qint64 nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

}  // namespace stress

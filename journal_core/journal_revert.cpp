#include "journal_core/journal_revert.h"

#include "journal_core/journal_rows.h"
#include "host/transaction.h"

#include <QHash>
#include <algorithm>
#include <optional>

namespace journal {

using host::Transaction;
using namespace journal_rows;

namespace {

// One entry to undo, read and checked before anything is written.
struct Undo {
    JournalEntry entry;
    const JournaledTable* table = nullptr;
    std::optional<QJsonObject> before;
    std::optional<QJsonObject> after;
    enum class Kind { Insert, Update, Delete } kind = Kind::Insert;
    QVariantList key;
};

QVariant boundValue(const QJsonValue& value)
{
    return value.isNull() ? QVariant(QMetaType::fromType<QString>()) : QVariant(value.toString());
}

// Why `state` is not a whole row of a table with `columns` (every column
// present, no other, each value text or null), or empty when it is one.
QString notWholeRow(const QJsonObject& state, const QStringList& columns)
{
    QStringList missing, unknown, notText;
    for (const QString& column : columns) {
        if (!state.contains(column))
            missing << column;
    }
    for (auto it = state.constBegin(); it != state.constEnd(); ++it) {
        if (!columns.contains(it.key()))
            unknown << it.key();
        else if (!it.value().isString() && !it.value().isNull())
            notText << it.key();
    }
    QStringList problems;
    if (!missing.isEmpty())
        problems << QStringLiteral("缺少列 ") + missing.join(QStringLiteral(", "));
    if (!unknown.isEmpty())
        problems << QStringLiteral("表中没有列 ") + unknown.join(QStringLiteral(", "));
    if (!notText.isEmpty())
        problems << QStringLiteral("列的值不是文本: ") + notText.join(QStringLiteral(", "));
    return problems.join(QStringLiteral("; "));
}

}  // namespace

int revertJournalEntries(Transaction& trans, QList<qint64> ids, const RevertPermission& permitted,
                         RevertOutcome* outcome)
{
    *outcome = {};
    const auto refuse = [&trans, outcome](const QString& why) {
        outcome->reason = why;
        trans.recordError(why);
        return Transaction::kError;
    };
    if (!journalAvailable(trans))
        return refuse(QStringLiteral("变更记录表 s_right_journal 不存在."));
    if (!trans.beginWrite())
        return refuse(trans.sqlerrtext);
    // Later changes are undone first, so that a row changed twice goes back
    // through its states in order.
    std::sort(ids.begin(), ids.end(), std::greater<>());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());

    // Every entry is read and checked first: a refusal names the first entry
    // that may not be undone, before any row is touched.
    QHash<QString, QStringList> tableColumns;
    QList<Undo> undos;
    for (const qint64 id : std::as_const(ids)) {
        QVariantList row;
        if (trans.selectInto(QStringLiteral("select id , changed_at , operator_id , table_name , row_key , action , "
                                            "before_value , after_value from s_right_journal where id = ?"),
                             {id}, row) != Transaction::kSuccess)
            return refuse(trans.sqlcode == Transaction::kNotFound ? QStringLiteral("变更 %1 不存在.").arg(id)
                                                                  : trans.sqlerrtext);
        Undo undo;
        undo.entry = {id, row.value(1).toString(), row.value(2).toString(), row.value(3).toString(),
                      row.value(4).toString(), row.value(5).toString(), row.value(6).toString(),
                      row.value(7).toString()};
        undo.table = journaledTable(undo.entry.table);
        undo.before = parseObject(undo.entry.before);
        undo.after = parseObject(undo.entry.after);
        const QString& action = undo.entry.action;
        if (action == QLatin1String("insert") && !undo.before && undo.after)
            undo.kind = Undo::Kind::Insert;
        else if (action == QLatin1String("update") && undo.before && undo.after)
            undo.kind = Undo::Kind::Update;
        else if (action == QLatin1String("delete") && undo.before && !undo.after)
            undo.kind = Undo::Kind::Delete;
        else
            undo.table = nullptr;
        if (!undo.table)
            return refuse(QStringLiteral("变更 %1 无法撤销: 记录不完整.").arg(id));

        // Both states must be whole rows of the table as it is now: a state
        // that lacks a column would write a blank into it.
        auto columns = tableColumns.constFind(undo.table->name);
        if (columns == tableColumns.constEnd()) {
            Rows none;
            if (!selectRowsOf(trans, QStringLiteral("select * from %1 where 1 = 0").arg(undo.table->name), {}, &none))
                return refuse(trans.sqlerrtext);
            columns = tableColumns.insert(undo.table->name, none.columns);
        }
        for (const auto& [state, word] : {std::pair{&undo.before, QStringLiteral("修改前")},
                                          std::pair{&undo.after, QStringLiteral("修改后")}}) {
            if (!*state)
                continue;
            const QString problem = notWholeRow(**state, *columns);
            if (!problem.isEmpty())
                return refuse(QStringLiteral("变更 %1 无法撤销: %2的状态不是表 %3 的完整一行 (%4).")
                                  .arg(id)
                                  .arg(word, undo.table->name, problem));
        }
        const QJsonObject& state = undo.kind == Undo::Kind::Delete ? *undo.before : *undo.after;
        for (const QString& column : undo.table->keys) {
            if (!state.value(column).isString())
                return refuse(QStringLiteral("变更 %1 无法撤销: 记录不完整.").arg(id));
            undo.key << state.value(column).toString();
        }
        if (const QString refusal = permitted ? permitted(undo.entry) : QString(); !refusal.isEmpty())
            return refuse(refusal);
        undos << undo;
    }

    for (const Undo& undo : std::as_const(undos)) {
        const qint64 id = undo.entry.id;
        const JournaledTable* table = undo.table;
        const QVariantList& key = undo.key;
        const QString where = keyCondition(table->keys);
        Rows current;
        if (!selectRowsOf(trans, rowSelect(trans, table->name, table->keys), key, &current))
            return refuse(trans.sqlerrtext);
        QStringList keyText;
        for (int k = 0; k < table->keys.size(); ++k)
            keyText << table->keys.at(k) + QLatin1Char('=') + key.at(k).toString();
        const QString changed = QStringLiteral("变更 %1 之后该行已被修改 (%2 %3), 不能撤销.")
                                    .arg(id)
                                    .arg(table->name, keyText.join(QStringLiteral(", ")));
        if (undo.kind == Undo::Kind::Delete) {
            if (!current.values.isEmpty())
                return refuse(changed);
        } else {
            if (current.values.size() != 1)
                return refuse(changed);
            // A password is never restored, so a change of it since does
            // not stand in the way.
            const QJsonObject now = rowObject(current.columns, current.values.first());
            for (auto it = undo.after->constBegin(); it != undo.after->constEnd(); ++it) {
                if (!isSecretColumn(it.key()) && now.value(it.key()) != it.value())
                    return refuse(changed);
            }
        }

        QString sql;
        QVariantList params;
        if (undo.kind == Undo::Kind::Insert) {
            sql = QStringLiteral("delete from %1 where %2").arg(table->name, where);
            params = key;
        } else if (undo.kind == Undo::Kind::Delete) {
            // Back without a password: the journal never holds one.
            QStringList columns, marks;
            bool withoutPassword = false;
            for (auto it = undo.before->constBegin(); it != undo.before->constEnd(); ++it) {
                columns << it.key();
                marks << QStringLiteral("?");
                if (isSecretColumn(it.key())) {
                    params << QStringLiteral("");
                    withoutPassword = true;
                } else {
                    params << boundValue(it.value());
                }
            }
            if (withoutPassword)
                outcome->restoredWithoutPassword << key.value(0).toString();
            sql = QStringLiteral("insert into %1 ( %2 ) values ( %3 )")
                      .arg(table->name, columns.join(QStringLiteral(" , ")), marks.join(QStringLiteral(" , ")));
        } else {
            // The row's current password stays, whatever the update did to it.
            QStringList sets;
            for (auto it = undo.before->constBegin(); it != undo.before->constEnd(); ++it) {
                if (undo.after->value(it.key()) == it.value())
                    continue;
                if (isSecretColumn(it.key())) {
                    if (!outcome->passwordKept.contains(key.value(0).toString()))
                        outcome->passwordKept << key.value(0).toString();
                    continue;
                }
                sets << it.key() + QStringLiteral(" = ?");
                params << boundValue(it.value());
            }
            if (sets.isEmpty())
                continue;
            sql = QStringLiteral("update %1 set %2 where %3").arg(table->name, sets.join(QStringLiteral(" , ")), where);
            params << key;
        }
        if (trans.execute(sql, params) != Transaction::kSuccess)
            return refuse(trans.sqlerrtext);
        if (trans.sqlnrows != 1)
            return refuse(changed);
    }
    trans.recordSuccess(long(ids.size()));
    return Transaction::kSuccess;
}

}  // namespace journal

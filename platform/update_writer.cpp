#include "platform/update_writer.h"

#include "host/transaction.h"
#include "platform/sql_text.h"

#include <QSqlQuery>

namespace platform {

UpdateWriter::UpdateWriter(const Definition& definition, host::Transaction& trans)
    : def_(definition), trans_(trans), table_(updateTableText(definition, trans))
{
}

int UpdateWriter::write(const QList<const Row*>& deletes, const QList<const Row*>& updates,
                        const QList<const Row*>& inserts)
{
    error_.clear();
    if (deletes.isEmpty() && updates.isEmpty() && inserts.isEmpty()) {
        trans_.recordSuccess(0);
        return 1;
    }
    if (def_.updateTable.isEmpty()) {
        error_ = QStringLiteral("data view %1 is not updatable").arg(def_.name);
        trans_.recordError(error_);
        return -1;
    }
    for (const Row* row : deletes)
        if (!deleteRow(*row))
            return -1;
    for (const Row* row : updates)
        if (!updateRow(*row))
            return -1;
    for (const Row* row : inserts)
        if (!insertRow(*row))
            return -1;
    return 1;
}

bool UpdateWriter::keyCondition(const Row& row, QString* where, QVariantList* params)
{
    QStringList parts;
    for (const QString& key : def_.keyColumns) {
        const int c = def_.columnIndex(key);
        if (c < 0 || def_.columns.at(c).updateName.isEmpty()) {
            error_ = QStringLiteral("key column %1 of data view %2 is not a column of its update table")
                         .arg(key, def_.name);
            trans_.recordError(error_);
            return false;
        }
        const QString name = def_.columns.at(c).updateName;
        const QVariant original = row.originalValue(c);
        if (original.isNull()) {
            parts << name + QStringLiteral(" is null");
        } else {
            parts << name + QStringLiteral(" = ?");
            params->append(original);
        }
    }
    if (parts.isEmpty()) {
        error_ = QStringLiteral("data view %1 has no key columns").arg(def_.name);
        trans_.recordError(error_);
        return false;
    }
    *where = parts.join(QStringLiteral(" and "));
    return true;
}

bool UpdateWriter::deleteRow(const Row& row)
{
    QString where;
    QVariantList params;
    if (!keyCondition(row, &where, &params))
        return false;
    // A row that someone else deleted meanwhile is gone as asked: not an error.
    return run(QStringLiteral("delete from %1 where %2").arg(table_, where), params, false);
}

bool UpdateWriter::updateRow(const Row& row)
{
    QStringList sets;
    QVariantList params;
    for (int c = 0; c < def_.columns.size(); ++c) {
        if (!row.isChanged(c) || def_.columns.at(c).updateName.isEmpty())
            continue;
        sets << def_.columns.at(c).updateName + QStringLiteral(" = ?");
        params << row.value(c);
    }
    if (sets.isEmpty())
        return true;
    QString where;
    if (!keyCondition(row, &where, &params))
        return false;
    // An update that finds no row would lose the operator's change silently:
    // it is reported as a failure.
    return run(QStringLiteral("update %1 set %2 where %3").arg(table_, sets.join(QStringLiteral(", ")), where),
               params, true);
}

bool UpdateWriter::insertRow(const Row& row)
{
    QStringList names, marks;
    QVariantList params;
    for (int c = 0; c < def_.columns.size(); ++c) {
        if (!row.isChanged(c) || def_.columns.at(c).updateName.isEmpty())
            continue;
        names << def_.columns.at(c).updateName;
        marks << QStringLiteral("?");
        params << row.value(c);
    }
    if (names.isEmpty())
        return true;
    return run(QStringLiteral("insert into %1 (%2) values (%3)")
                   .arg(table_, names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))),
               params, false);
}

bool UpdateWriter::run(const QString& sql, const QVariantList& params, bool mustAffectRow)
{
    if (!begun_) {
        if (!trans_.beginWrite()) {
            error_ = trans_.sqlerrtext;
            return false;
        }
        begun_ = true;
    }
    QSqlQuery* query = trans_.prepared(sql);
    if (!query) {
        error_ = trans_.sqlerrtext;
        return false;
    }
    // A null is bound as a null string, which both drivers store as NULL.
    if (!trans_.run(*query, params)) {
        error_ = trans_.sqlerrtext;
        return false;
    }
    const long affected = trans_.sqlnrows;
    if (mustAffectRow && affected == 0) {
        error_ = QStringLiteral("该行已被其他用户修改或删除 (row not found for update)");
        trans_.recordError(error_);
        return false;
    }
    trans_.recordSuccess(affected);
    return true;
}

}  // namespace platform

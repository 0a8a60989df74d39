#include "platform/update_writer.h"

#include "host/transaction.h"
#include "host/changed_meanwhile.h"
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

bool UpdateWriter::condition(const Row& row, const QList<int>& compared, QString* where, QVariantList* params)
{
    QStringList parts;
    QList<int> columns;
    for (const QString& key : def_.keyColumns) {
        const int c = def_.columnIndex(key);
        if (c < 0 || def_.columns.at(c).updateName.isEmpty()) {
            error_ = QStringLiteral("key column %1 of data view %2 is not a column of its update table")
                         .arg(key, def_.name);
            trans_.recordError(error_);
            return false;
        }
        columns << c;
    }
    if (columns.isEmpty()) {
        error_ = QStringLiteral("data view %1 has no key columns").arg(def_.name);
        trans_.recordError(error_);
        return false;
    }
    for (int c : compared)
        if (!columns.contains(c))
            columns << c;
    for (int c : columns) {
        const QString name = def_.columns.at(c).updateName;
        const QVariant original = row.originalValue(c);
        if (original.isNull()) {
            parts << name + QStringLiteral(" is null");
        } else {
            parts << name + QStringLiteral(" = ?");
            params->append(original);
        }
    }
    *where = parts.join(QStringLiteral(" and "));
    return true;
}

bool UpdateWriter::deleteRow(const Row& row)
{
    // The row as it was read, every column the view writes: a row another
    // client changed or deleted meanwhile matches nothing, and the deletion
    // is refused rather than applied to data the operator never saw.
    QList<int> written;
    for (int c = 0; c < def_.columns.size(); ++c)
        if (!def_.columns.at(c).updateName.isEmpty())
            written << c;
    QString where;
    QVariantList params;
    if (!condition(row, written, &where, &params))
        return false;
    return run(QStringLiteral("delete from %1 where %2").arg(table_, where), params);
}

bool UpdateWriter::updateRow(const Row& row)
{
    QStringList sets;
    QVariantList params;
    QList<int> changed;
    for (int c = 0; c < def_.columns.size(); ++c) {
        if (!row.isChanged(c) || def_.columns.at(c).updateName.isEmpty())
            continue;
        sets << def_.columns.at(c).updateName + QStringLiteral(" = ?");
        params << row.value(c);
        changed << c;
    }
    if (sets.isEmpty())
        return true;
    // The key and the values read of the columns it changes: a change another
    // client made meanwhile to other columns is kept, one to these columns (or
    // the row's deletion) makes the update match nothing, and it is refused.
    QString where;
    if (!condition(row, changed, &where, &params))
        return false;
    return run(QStringLiteral("update %1 set %2 where %3").arg(table_, sets.join(QStringLiteral(", ")), where),
               params);
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
        error_ = host::changedMeanwhileText(QStringLiteral("数据"));
        trans_.recordChangedMeanwhile(error_);
        return false;
    }
    trans_.recordSuccess(affected);
    return true;
}

}  // namespace platform

#include "rights/review.h"

#include "host/csv.h"
#include "host/transaction.h"
#include "rights/code_index.h"

#include <QHash>

namespace rights {

namespace {

// Folds rows (subject, name, group, level), ordered by subject, into grants.
QList<Grant> fold(const QList<QVariantList>& rows)
{
    QList<Grant> grants;
    QList<QPair<QString, QString>> levels;  // group, level of the current subject
    const auto close = [&] {
        if (grants.isEmpty())
            return;
        Grant& grant = grants.last();
        // The greatest level as a string; null levels count only when no
        // group holds one.
        QString best;
        for (const auto& [group, level] : levels)
            if (!level.isNull() && (best.isNull() || level > best))
                best = level;
        grant.level = best;
        for (const auto& [group, level] : levels)
            if (level == best && level.isNull() == best.isNull())
                grant.groups << group;
        levels.clear();
    };
    for (const QVariantList& row : rows) {
        const QString subject = row.value(0).toString();
        if (grants.isEmpty() || grants.last().subject != subject) {
            close();
            grants.append({subject, row.value(1).isNull() ? QString() : row.value(1).toString(), {}, {}});
        }
        levels.append({row.value(2).toString(), row.value(3).isNull() ? QString() : row.value(3).toString()});
    }
    close();
    return grants;
}

}  // namespace

bool rightsOf(host::Transaction& trans, const QString& operatorId, QList<Grant>* grants)
{
    QList<QVariantList> rows;
    if (trans.selectRows(QStringLiteral("select s_group_power.m_item_code , s_moudle_item.name , "
                                        "s_group_power.group_id , s_group_power.group_right "
                                        "from s_group_power join s_user_group "
                                        "on s_user_group.group_code = s_group_power.group_id "
                                        "left join s_moudle_item on s_moudle_item.m_item_code = "
                                        "s_group_power.m_item_code "
                                        "where s_user_group.user_code = ? "
                                        "order by s_group_power.m_item_code , s_group_power.group_id"),
                         {operatorId}, &rows) != host::Transaction::kSuccess)
        return false;
    *grants = fold(rows);
    return true;
}

bool holdersOf(host::Transaction& trans, const QString& item, const QString& minimumLevel, QList<Grant>* grants)
{
    QList<QVariantList> rows;
    if (trans.selectRows(QStringLiteral("select s_user_group.user_code , s_employee.name , "
                                        "s_group_power.group_id , s_group_power.group_right "
                                        "from s_group_power join s_user_group "
                                        "on s_user_group.group_code = s_group_power.group_id "
                                        "left join s_employee on s_employee.id = s_user_group.user_code "
                                        "where s_group_power.m_item_code = ? "
                                        "order by s_user_group.user_code , s_group_power.group_id"),
                         {item}, &rows) != host::Transaction::kSuccess)
        return false;
    grants->clear();
    for (Grant& grant : fold(rows)) {
        if (minimumLevel.isEmpty() || (!grant.level.isNull() && grant.level >= minimumLevel))
            grants->append(std::move(grant));
    }
    return true;
}

bool readMatrix(host::Transaction& trans, Matrix* matrix)
{
    *matrix = {};
    QList<QVariantList> groups, items, cells;
    if (trans.selectRows(QStringLiteral("select group_id , group_name from s_group order by group_id"), {},
                         &groups) != host::Transaction::kSuccess ||
        trans.selectRows(QStringLiteral("select m_item_code , name from s_moudle_item order by m_item_code"), {},
                         &items) != host::Transaction::kSuccess ||
        trans.selectRows(QStringLiteral("select group_id , m_item_code , group_right from s_group_power"), {},
                         &cells) != host::Transaction::kSuccess)
        return false;
    for (const QVariantList& row : groups) {
        matrix->groups << row.value(0).toString();
        matrix->groupNames.insert(row.value(0).toString(), row.value(1).toString());
    }
    for (const QVariantList& row : items) {
        matrix->items << row.value(0).toString();
        matrix->itemNames.insert(row.value(0).toString(), row.value(1).toString());
    }
    CodeIndex known(matrix->items);
    matrix->cells.reserve(cells.size());
    for (const QVariantList& row : cells) {
        const QString item = row.value(1).toString();
        // Rights on items the item table does not list still show.
        if (!known.contains(item)) {
            known.add(item, matrix->items.size());
            matrix->items << item;
            matrix->itemNames.insert(item, QString());
        }
        matrix->cells.insert({row.value(0).toString(), item}, row.value(2).isNull() ? QString() : row.value(2).toString());
    }
    return true;
}

QString matrixCsv(const Matrix& matrix)
{
    // One pass over the cells into a table of rows, not one lookup per
    // group × item: 2,000,000 cells for 1,000 groups × 2,000 items.
    const CodeIndex rowOf(matrix.groups);
    const CodeIndex columnOf(matrix.items);
    QList<QStringList> table(matrix.groups.size());
    for (qsizetype r = 0; r < matrix.groups.size(); ++r) {
        const QString& group = matrix.groups.at(r);
        table[r].reserve(matrix.items.size() + 2);
        table[r] << group << matrix.groupNames.value(group);
        for (qsizetype c = 0; c < matrix.items.size(); ++c)
            table[r] << QString();
    }
    for (auto cell = matrix.cells.cbegin(); cell != matrix.cells.cend(); ++cell) {
        const qsizetype r = rowOf.indexOf(cell.key().first);
        const qsizetype c = columnOf.indexOf(cell.key().second);
        if (r >= 0 && c >= 0)
            table[r][c + 2] = cell.value();
    }
    QString text = host::csvLine(QStringList({QStringLiteral("group_id"), QStringLiteral("group_name")}) + matrix.items);
    for (const QStringList& fields : std::as_const(table))
        text += host::csvLine(fields);
    return text;
}

QString levelWord(const QString& level, bool hasRow)
{
    if (!hasRow)
        return QStringLiteral("无");
    if (level == QLatin1String("0"))
        return QStringLiteral("禁止");
    if (level == QLatin1String("1"))
        return QStringLiteral("查询");
    if (level == QLatin1String("2"))
        return QStringLiteral("修改");
    return level;
}

}  // namespace rights

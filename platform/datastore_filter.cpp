// The data store's find, filter and filter buffer.
#include "platform/datastore.h"

#include "platform/datastore_impl.h"
#include "platform/sql_filter.h"

namespace platform {

long DataStore::find(const QString& expression, long start, long end)
{
    Expression expr;
    if (!d->prepare(expression, &expr))
        return -1;
    const long count = d->rows.primary.size();
    if (count == 0)
        return 0;
    start = qMax(1L, start);
    end = qMin(end, count);
    for (long row = start; row <= end; ++row) {
        bool ok = false;
        const bool hit = expr.test(d->context(d->rows.primary.at(row - 1)), &ok);
        if (!ok) {
            d->error = QStringLiteral("expression \"%1\": %2").arg(expression, expr.error());
            return -1;
        }
        if (hit)
            return row;
    }
    return 0;
}

int DataStore::setFilter(const QString& expression)
{
    d->sortedByFilter = false;
    if (expression.trimmed().isEmpty()) {
        d->filter = Expression();
        d->filterText.clear();
        return 1;
    }
    Expression expr;
    if (!d->prepare(expression, &expr))
        return -1;
    d->filter = std::move(expr);
    d->filterText = expression;
    return 1;
}

int DataStore::filter()
{
    // Nothing to move: a grid of thousands of rows is not tested row by row
    // again right after the select that applied the same filter.
    if (d->sortedByFilter)
        return 1;
    QList<Row> pass, fail;
    if (d->filter.isEmpty()) {
        pass = d->rows.primary + d->rows.filtered;
    } else {
        // Decided first, moved after: a malformed filter changes nothing.
        const qsizetype total = d->rows.primary.size() + d->rows.filtered.size();
        QVector<bool> hits;
        hits.reserve(total);
        for (const QList<Row>* list : {&d->rows.primary, &d->rows.filtered}) {
            for (const Row& row : *list) {
                bool ok = false;
                hits.append(d->filter.test(d->context(row), &ok));
                if (!ok) {
                    d->error = QStringLiteral("filter \"%1\": %2").arg(d->filterText, d->filter.error());
                    return -1;
                }
            }
        }
        qsizetype i = 0;
        for (QList<Row>* list : {&d->rows.primary, &d->rows.filtered})
            for (Row& row : *list)
                (hits.at(i++) ? pass : fail).append(std::move(row));
    }
    beginResetModel();
    d->rows.primary = pass;
    d->rows.filtered = fail;
    d->sortedByFilter = true;
    const long before = d->currentRow;
    if (d->currentRow > pass.size())
        d->currentRow = pass.size();
    if (d->currentRow == 0 && !pass.isEmpty())
        d->currentRow = 1;
    endResetModel();
    if (d->currentRow != before)
        Q_EMIT currentRowChanged(d->currentRow);
    return 1;
}

QString DataStore::filterExpression() const
{
    return d->filterText;
}

}  // namespace platform

#pragma once
// The data store's own state, shared by its source files (not installed).

#include "host/transaction.h"
#include "platform/datastore.h"
#include "platform/row_buffer.h"

#include <QHash>
#include <memory>

namespace platform {

struct DataStore::Impl {
    std::shared_ptr<const Definition> def;
    host::Transaction* trans = nullptr;
    RowBuffer rows;
    Expression filter;
    QString filterText;
    // Every row in view passes the filter and every row in the filter buffer
    // fails it: the rows were read with the filter as their WHERE clause, or
    // filtered since, and no value, row or filter has changed after that.
    bool sortedByFilter = false;
    QVariantList arguments;
    bool readOnly = false;
    QString error;
    long currentRow = 0;
    long shownCurrentRow = 0;  // the row the model last coloured as current
    const DropDownSet* displayLists = nullptr;
    QString currentColumn;
    mutable QHash<int, std::shared_ptr<Expression>> protects;

    int columns() const { return def ? int(def->columns.size()) : 0; }

    RowContext context(const Row& row) const
    {
        RowContext ctx;
        ctx.value = [this, &row](const QString& column, bool* known) -> QVariant {
            const int c = def ? def->columnIndex(column) : -1;
            if (known)
                *known = c >= 0;
            return c >= 0 ? row.value(c) : QVariant();
        };
        ctx.isNew = [&row]() { return row.isNew; };
        return ctx;
    }

    // Parses an expression and checks that it reads only columns of the view.
    bool prepare(const QString& text, Expression* expression)
    {
        if (!expression->parse(text)) {
            error = QStringLiteral("malformed expression \"%1\": %2").arg(text, expression->error());
            return false;
        }
        for (const QString& column : expression->columns()) {
            if (!def || def->columnIndex(column) < 0) {
                error = QStringLiteral("malformed expression \"%1\": unknown column '%2'").arg(text, column);
                return false;
            }
        }
        return true;
    }

    const Row* row(long number, Buffer buffer) const
    {
        const QList<Row>& list = rows.of(buffer);
        if (number < 1 || number > list.size())
            return nullptr;
        return &list.at(number - 1);
    }
};

}  // namespace platform

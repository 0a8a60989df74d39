#pragma once
// The rows of a select kept as the database gave them: the UTF-8 text of
// every value in one buffer. A value becomes a Qt string only when its row is
// first read, so that a grid of thousands of rows costs, until it is looked
// at, little more than the read itself. A driver that gives Qt values (all
// but SQLite's own handle) appends whole rows of them instead.

#include "host_database/export.h"

#include <QByteArray>
#include <QList>
#include <QSharedData>
#include <QVariantList>

namespace host {

class WMS_HOST_DATABASE_EXPORT TextRows : public QSharedData {
public:
    explicit TextRows(int columns = 0) : columns_(columns) {}

    int columns() const { return columns_; }
    // Empties the rows for a read of `columns` columns.
    void reset(int columns);
    qsizetype rowCount() const;

    // Appends the next value, row by row; `text` null for SQL null.
    void append(const char* text, qsizetype size);
    // Appends a row of values (strings or nulls) as a driver gave them.
    void appendRow(QVariantList values);

    // Row `row` (0-based) as `width` values: each a QString, or a null
    // QVariant for SQL null; columns past the read's are null.
    QVariantList row(qsizetype row, int width) const;
    // One value of row `row` (null past the read).
    QVariant value(qsizetype row, int column) const;

private:
    struct Cell {
        qsizetype start;
        qsizetype size;  // -1: SQL null
    };
    int columns_;
    QByteArray text_;
    QList<Cell> cells_;
    QList<QVariantList> values_;
};

}  // namespace host

#pragma once
// Reading a matrix CSV as the matrix export and the console's `matrix` write
// it (RFC 4180, UTF-8, a byte order mark allowed): the header group_id,
// group_name, then one column per item code; one record per group; a cell
// empty for no row or the level. The changes it makes are those that give
// the file's groups, on the file's items, exactly the file's levels: groups
// and items the file does not name stay as they are, and groups or items the
// database does not know are reported, never created.

#include "rightsetup/export.h"

#include "rightsetup/rights_diff.h"

#include <QByteArray>

namespace rights {
struct Matrix;
}

namespace rightsetup {

// RFC 4180 records of `text` (CRLF or LF line ends). False with a message in
// Chinese naming the line when the quoting is broken.
WMS_RIGHTSETUP_EXPORT bool parseCsv(const QString& text, QList<QStringList>* records, QString* error);

struct MatrixFile {
    QStringList groups;  // in the file's order
    QStringList items;   // the header's item codes
    RightCells cells;    // every cell of the file, empty ones included
};

// Decodes and checks a matrix file. False with a message in Chinese when it
// is not one (not UTF-8, no header, a record of the wrong length, a group or
// item named twice, an empty code).
WMS_RIGHTSETUP_EXPORT bool readMatrixFile(const QByteArray& bytes, MatrixFile* file, QString* error);

struct MatrixImport {
    QList<RightChange> changes;
    QStringList unknownGroups;  // named by the file, not in the database
    QStringList unknownItems;
};

// The changes that `file` makes to `current`. False with a message when a
// cell holds a level other than empty, 0, 1 or 2 (a cell equal to what is
// stored is accepted as it is). An empty cell leaves a row with an empty
// level alone: the file cannot tell it from no row.
WMS_RIGHTSETUP_EXPORT bool importChanges(const MatrixFile& file, const rights::Matrix& current, MatrixImport* result,
                                         QString* error);

}  // namespace rightsetup

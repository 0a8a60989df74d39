#pragma once
// Reading a matrix CSV as the matrix export and the console's `matrix` write
// it (RFC 4180, UTF-8, a byte order mark allowed): the header group_id,
// group_name, then one column per item code; one record per group; a cell
// empty for no row or the level. Every field loses the apostrophe that the
// writer put before a formula character (host::csvRestored). The changes it
// makes are those that give the file's groups, on the file's items, exactly
// the file's levels: groups and items the file does not name stay as they
// are, and groups or items the database does not know are reported, never
// created.
//
// The file is read as a stream, record by record, and only what the preview
// needs is kept: the changes (at most one per cell of the database's groups ×
// items) and the first unknown codes with their count, never the file's text.

#include "rightsetup/export.h"

#include "rightsetup/rights_diff.h"

#include <QStringView>
#include <functional>

class QIODevice;

namespace rights {
struct Matrix;
}

namespace rightsetup {

// RFC 4180 records of a text given in pieces that may end anywhere (inside a
// quoted field, between CR and LF); CRLF or LF line ends; an empty line is no
// record.
class WMS_RIGHTSETUP_EXPORT CsvReader {
public:
    // Called with each complete record; false stops the reading (the handler
    // says why).
    using RecordHandler = std::function<bool(const QStringList& record)>;

    // False with a message in Chinese naming the line when the quoting is
    // broken, or when `onRecord` said stop.
    bool feed(QStringView text, const RecordHandler& onRecord, QString* error);
    // The end of the text: the last record, which may lack its line end.
    bool finish(const RecordHandler& onRecord, QString* error);

private:
    void endField();
    bool endRecord(const RecordHandler& onRecord);

    QStringList record_;
    QString field_;
    qsizetype line_ = 1;
    bool quoted_ = false;        // inside a quoted field
    bool quoteInQuoted_ = false; // a quote in a quoted field: the end, or the first of two
    bool afterQuote_ = false;    // a quoted field was closed: only , or a line end may follow
    bool fieldStarted_ = false;  // the record has a field (so that an empty line is no record)
    bool skipLf_ = false;        // a CR ended the record: an LF right after it belongs to it
};

// RFC 4180 records of a whole text; false with the reader's message.
WMS_RIGHTSETUP_EXPORT bool parseCsv(const QString& text, QList<QStringList>* records, QString* error);

// How many unknown groups, and unknown items, an import names; the rest are counted.
inline constexpr qsizetype kUnknownListed = 100;

struct MatrixImport {
    QList<RightChange> changes;  // by the file's groups, then its items
    QStringList unknownGroups;   // the first kUnknownListed the database does not know
    qsizetype unknownGroupCount = 0;
    QStringList unknownItems;
    qsizetype unknownItemCount = 0;
};

enum class ImportRead { Read, Malformed, Cancelled };

// Called now and then with the bytes read so far; false cancels the reading.
using ImportProgress = std::function<bool(qint64 bytesRead)>;

// Reads a matrix file from `device` and the changes it makes to `current`.
// Malformed, with a message in Chinese, when it is not a matrix file (not
// UTF-8, no header, broken quoting, a record of the wrong length, an empty
// code, a known group or an item named twice) or when a cell holds a level
// other than empty, 0, 1 or 2 (a cell equal to what is stored is accepted as
// it is). An empty cell leaves a row with an empty level alone: the file
// cannot tell it from no row. Groups the database does not know are counted
// as often as the file names them; their records are not read further.
WMS_RIGHTSETUP_EXPORT ImportRead readMatrixImport(QIODevice* device, const rights::Matrix& current,
                                                  MatrixImport* result, QString* error,
                                                  const ImportProgress& progress = {});

// The lines that tell the operator of unknown groups and items (the first
// kUnknownListed of each, then "…等N个").
WMS_RIGHTSETUP_EXPORT QStringList unknownNotes(const MatrixImport& import);

}  // namespace rightsetup

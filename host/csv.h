#pragma once
// CSV for spreadsheets and scripts (RFC 4180): fields separated by commas,
// lines ended by CRLF, a field holding a comma, a quote, CR or LF quoted with
// its quotes doubled. Files for spreadsheet programs start with a UTF-8 byte
// order mark, so that they show Chinese correctly.
//
// Spreadsheet programs run a cell that begins with =, +, -, @, tab or CR as
// a formula. Every field written here is first made inert (csvInert): such a
// cell gets a leading apostrophe. So that a reader can take exactly that
// apostrophe away again (csvRestored) and get every value back as it was, a
// value that already is apostrophes followed by one of those characters
// ('=x, ''-1) gets one more apostrophe too.

#include "host_database/export.h"

#include <QString>
#include <QStringList>
#include <QStringView>

namespace host {

// `value` with an apostrophe in front when it begins, after any apostrophes,
// with =, +, -, @, tab or CR; otherwise `value` as it is.
WMS_HOST_DATABASE_EXPORT QString csvInert(const QString& value);
// The inverse of csvInert: a cell that is an apostrophe, then any
// apostrophes, then one of those characters loses its first apostrophe.
WMS_HOST_DATABASE_EXPORT QString csvRestored(const QString& cell);

// One field: made inert, then quoted when it must be.
WMS_HOST_DATABASE_EXPORT QString csvField(const QString& value);
// One record, ended by CRLF.
WMS_HOST_DATABASE_EXPORT QString csvLine(const QStringList& fields);
// The byte order mark that starts a UTF-8 file for spreadsheet programs.
inline constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";

}  // namespace host

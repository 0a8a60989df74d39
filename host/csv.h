#pragma once
// CSV for spreadsheets and scripts (RFC 4180): fields separated by commas,
// lines ended by CRLF, a field holding a comma, a quote, CR or LF quoted with
// its quotes doubled. Files for spreadsheet programs start with a UTF-8 byte
// order mark, so that they show Chinese correctly.

#include "host_database/export.h"

#include <QString>
#include <QStringList>

namespace host {

WMS_HOST_DATABASE_EXPORT QString csvField(const QString& value);
// One record, ended by CRLF.
WMS_HOST_DATABASE_EXPORT QString csvLine(const QStringList& fields);
// The byte order mark that starts a UTF-8 file for spreadsheet programs.
inline constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";

}  // namespace host

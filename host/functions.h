#pragma once
// Global helpers the host supplies to the module.

#include "host_database/export.h"

#include <QString>

namespace host {

// The logged-in operator's s_user.id.
extern WMS_HOST_DATABASE_EXPORT QString gs_user_id;

// True when the value (already trimmed by the caller) is null or empty.
WMS_HOST_DATABASE_EXPORT bool f_isnull(const QString& value);

// Appends one timestamped line to the host's log file: the time, the
// logged-in operator and the text, both escaped (escapeForLog), so that no
// value can begin a line of its own.
WMS_HOST_DATABASE_EXPORT void f_log(const QString& text);
// A backslash, line breaks, tabs and every other control character written
// as escapes (\\, \n, \r, \t, \xHH, \uHHHH).
WMS_HOST_DATABASE_EXPORT QString escapeForLog(const QString& text);
// Where f_log writes; the default is wms-rights.log in the temporary folder.
WMS_HOST_DATABASE_EXPORT void setLogFile(const QString& path);
WMS_HOST_DATABASE_EXPORT QString logFile();

// Removes leading and trailing blanks: the space character only, as every
// field of the module is trimmed (tabs and other white space stay).
WMS_HOST_DATABASE_EXPORT QString trimBlanks(const QString& value);

}  // namespace host

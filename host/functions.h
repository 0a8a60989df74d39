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
// logged-in operator and the text, each shortened (shortenForLog) and escaped
// (escapeForLog), so that no value can begin a line of its own or fill the
// log.
//
// The file is created readable and writable by its owner only (0600). It is
// never written through a symbolic link: a link, or anything but a file with
// one name, in its place is refused with a line on stderr, and the program
// goes on without a log.
WMS_HOST_DATABASE_EXPORT void f_log(const QString& text);
// The same for a line whose values the caller has shortened one by one (the
// change log: a statement and its values): the text is escaped, not cut.
WMS_HOST_DATABASE_EXPORT void logLine(const QString& text);
// A backslash, line breaks, tabs, every other control character, the
// Unicode format characters (such as U+202E, which turns the rest of a line
// around on screen) and lone surrogates written as escapes (\\, \n, \r,
// \t, \xHH, \uHHHH, \UHHHHHHHH).
WMS_HOST_DATABASE_EXPORT QString escapeForLog(const QString& text);
// The longest value the log keeps whole, in characters.
inline constexpr qsizetype kLogValueLength = 256;
// A value longer than kLogValueLength: its first kLogValueLength characters
// and "…(共N字符)", N its length; a shorter one as it is.
WMS_HOST_DATABASE_EXPORT QString shortenForLog(const QString& value);
// Where f_log writes; the default is wms-rights.log in the temporary folder.
WMS_HOST_DATABASE_EXPORT void setLogFile(const QString& path);
WMS_HOST_DATABASE_EXPORT QString logFile();

// Removes leading and trailing blanks: the space character only, as every
// field of the module is trimmed (tabs and other white space stay).
WMS_HOST_DATABASE_EXPORT QString trimBlanks(const QString& value);

}  // namespace host

#pragma once
// A PostgreSQL select's rows read straight from the driver's result: Qt's
// PostgreSQL driver keeps the whole result (libpq's PGresult) of a query that
// is not forward-only, and gives it as the result's handle. Its text values
// go into TextRows as they are, without a Qt value made for each.

class QSqlQuery;

namespace host {

class TextRows;

// Fills `rows` from the result of the executed `query` when it is a
// PostgreSQL result whose columns all hold text (text, varchar, character, name);
// false, and `rows` untouched, for any other result, which is then read
// through Qt as usual.
bool readPostgresText(const QSqlQuery& query, TextRows* rows);

}  // namespace host

#include "host/postgres_rows.h"

#include "host/text_rows.h"

#include <QSqlQuery>
#include <QSqlResult>
#include <libpq-fe.h>

namespace host {

namespace {

// The type oids of PostgreSQL's text types (pg_type.h): what Qt's driver
// reads as UTF-8 into a QString, exactly as it is sent.
constexpr Oid kName = 19;
constexpr Oid kText = 25;
constexpr Oid kUnknown = 705;
constexpr Oid kBpchar = 1042;
constexpr Oid kVarchar = 1043;

bool isText(Oid type)
{
    return type == kName || type == kText || type == kUnknown || type == kBpchar
           || type == kVarchar;
}

}  // namespace

bool readPostgresText(const QSqlQuery& query, TextRows* rows)
{
    const QSqlResult* result = query.result();
    const QVariant handle = result ? result->handle() : QVariant();
    // The type's name as Qt registered it: PGresult is libpq's struct pg_result.
    if (!handle.isValid()
        || (qstrcmp(handle.typeName(), "PGresult*") != 0 && qstrcmp(handle.typeName(), "pg_result*") != 0))
        return false;
    const PGresult* read = *static_cast<PGresult* const*>(handle.constData());
    if (!read || PQresultStatus(read) != PGRES_TUPLES_OK || PQbinaryTuples(read))
        return false;
    const int columns = PQnfields(read);
    for (int c = 0; c < columns; ++c) {
        if (!isText(PQftype(read, c)))
            return false;
    }
    rows->reset(columns);
    const int count = PQntuples(read);
    for (int r = 0; r < count; ++r) {
        for (int c = 0; c < columns; ++c) {
            if (PQgetisnull(read, r, c))
                rows->append(nullptr, 0);
            else
                rows->append(PQgetvalue(read, r, c), PQgetlength(read, r, c));
        }
    }
    return true;
}

}  // namespace host

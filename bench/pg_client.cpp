#include "bench/pg_client.h"

#include <libpq-fe.h>
#include <vector>

namespace bench {

PgResult::~PgResult()
{
    PQclear(result_);
}

PgResult& PgResult::operator=(PgResult&& other) noexcept
{
    if (this != &other) {
        PQclear(result_);
        result_ = other.result_;
        other.result_ = nullptr;
    }
    return *this;
}

bool PgResult::ok() const
{
    const ExecStatusType status = result_ ? PQresultStatus(result_) : PGRES_FATAL_ERROR;
    return status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK;
}

int PgResult::rows() const
{
    return result_ ? PQntuples(result_) : 0;
}

const char* PgResult::value(int row, int column) const
{
    return PQgetvalue(result_, row, column);
}

bool PgResult::isNull(int row, int column) const
{
    return PQgetisnull(result_, row, column) != 0;
}

int PgResult::length(int row, int column) const
{
    return PQgetlength(result_, row, column);
}

PgClient::~PgClient()
{
    if (conn_)
        PQfinish(conn_);
}

bool PgClient::fail(const char* what)
{
    std::string text = conn_ ? PQerrorMessage(conn_) : "no connection";
    while (!text.empty() && (text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    for (char& c : text) {
        if (c == '\n' || c == '\t')
            c = ' ';
    }
    error_ = std::string(what) + ": " + text;
    return false;
}

bool PgClient::connect(const std::string& url, const std::string& schema)
{
    const std::string target = url.substr(0, url.find('?'));
    conn_ = PQconnectdb(target.c_str());
    if (PQstatus(conn_) != CONNECTION_OK) {
        // The reason only: the URL may carry a password.
        fail("connection failed");
        PQfinish(conn_);
        conn_ = nullptr;
        return false;
    }
    // Notices (what a drop cascades to) are not for the benchmark's output.
    PQsetNoticeProcessor(conn_, [](void*, const char*) {}, nullptr);
    if (!schema.empty() && !query("select set_config('search_path', $1, false)", {schema.c_str()}).ok())
        return false;
    return true;
}

bool PgClient::prepare(const std::string& name, const std::string& sql, int params)
{
    PgResult result(PQprepare(conn_, name.c_str(), dollarPlaceholders(sql).c_str(), params, nullptr));
    return result.ok() || fail("prepare failed");
}

PgResult PgClient::execPrepared(const std::string& name, std::initializer_list<const char*> values)
{
    const std::vector<const char*> params(values);
    return PgResult(
        PQexecPrepared(conn_, name.c_str(), int(params.size()), params.data(), nullptr, nullptr, 0));
}

PgResult PgClient::query(const std::string& sql, std::initializer_list<const char*> values)
{
    const std::vector<const char*> params(values);
    PgResult result(PQexecParams(conn_, dollarPlaceholders(sql).c_str(), int(params.size()), nullptr,
                                 params.data(), nullptr, nullptr, 0));
    if (!result.ok())
        fail("statement failed");
    return result;
}

bool PgClient::command(const std::string& sql, std::initializer_list<const char*> values)
{
    return query(sql, values).ok();
}

bool PgClient::copyIn(const std::string& copySql, const std::string& data)
{
    PGresult* start = PQexec(conn_, copySql.c_str());
    const bool copying = PQresultStatus(start) == PGRES_COPY_IN;
    PQclear(start);
    if (!copying)
        return fail("copy failed");
    if (PQputCopyData(conn_, data.data(), int(data.size())) != 1)
        return fail("copy failed");
    if (PQputCopyEnd(conn_, nullptr) != 1)
        return fail("copy failed");
    bool ok = true;
    while (PGresult* r = PQgetResult(conn_)) {
        ok = ok && PQresultStatus(r) == PGRES_COMMAND_OK;
        PQclear(r);
    }
    return ok || fail("copy failed");
}

std::string dollarPlaceholders(const std::string& sql)
{
    std::string out;
    int n = 0;
    for (char c : sql) {
        if (c == '?')
            out += "$" + std::to_string(++n);
        else
            out += c;
    }
    return out;
}

}  // namespace bench

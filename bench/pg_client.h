#pragma once
// A bare libpq connection for the PostgreSQL floors and for loading the
// benchmark data with COPY. Values always travel as parameters or as COPY data.

#include <initializer_list>
#include <string>

struct pg_conn;
struct pg_result;

namespace bench {

// A result that clears itself.
class PgResult {
public:
    explicit PgResult(pg_result* result = nullptr) : result_(result) {}
    ~PgResult();
    PgResult(PgResult&& other) noexcept : result_(other.result_) { other.result_ = nullptr; }
    PgResult& operator=(PgResult&& other) noexcept;
    PgResult(const PgResult&) = delete;
    PgResult& operator=(const PgResult&) = delete;

    // True for a command that completed or a select that returned its rows.
    bool ok() const;
    int rows() const;
    // The value at (row, column), "" for null; isNull tells which.
    const char* value(int row, int column) const;
    bool isNull(int row, int column) const;
    int length(int row, int column) const;

private:
    pg_result* result_;
};

class PgClient {
public:
    PgClient() = default;
    ~PgClient();
    PgClient(const PgClient&) = delete;
    PgClient& operator=(const PgClient&) = delete;

    // Connects to a postgresql:// URL (its query part is not for libpq and is
    // left out) and, when `schema` is not empty, makes it the search path.
    bool connect(const std::string& url, const std::string& schema = {});
    bool isConnected() const { return conn_ != nullptr; }
    // The last error, one line.
    const std::string& error() const { return error_; }

    // A statement with `?` placeholders, prepared under `name`.
    bool prepare(const std::string& name, const std::string& sql, int params);
    PgResult execPrepared(const std::string& name, std::initializer_list<const char*> values);
    // A statement run once with its values bound ($1, $2 … or `?`).
    bool command(const std::string& sql, std::initializer_list<const char*> values = {});
    PgResult query(const std::string& sql, std::initializer_list<const char*> values = {});
    // COPY table (columns) FROM STDIN with `data` in the text format.
    bool copyIn(const std::string& copySql, const std::string& data);

private:
    bool fail(const char* what);
    pg_conn* conn_ = nullptr;
    std::string error_;
};

// `?` placeholders as $1, $2 … (the statements here have no `?` in literals).
std::string dollarPlaceholders(const std::string& sql);

}  // namespace bench

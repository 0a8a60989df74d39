#include "bench/bench_database.h"

#include "bench/pg_client.h"
#include "host/transaction.h"
#include "schema/database.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QUrl>
#include <QUrlQuery>
#include <cstdio>
#include <random>
#include <sqlite3.h>

namespace bench {

namespace {

// Raised whenever the rows or the tables change (3: the change journal's
// table), so that a file of an older run is made again.
constexpr int kVersion = 4;  // 4: the journal kept by triggers

class Statement {
public:
    Statement(sqlite3* db, const char* sql)
    {
        if (sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) != SQLITE_OK)
            stmt_ = nullptr;
    }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    bool ok() const { return stmt_ != nullptr; }
    // Binds the values in order and steps once; true when the statement completed.
    template <class Row>
    bool run(const Row& values)
    {
        int i = 1;
        for (const std::string& v : values)
            sqlite3_bind_text(stmt_, i++, v.c_str(), int(v.size()), SQLITE_STATIC);
        const int rc = sqlite3_step(stmt_);
        sqlite3_reset(stmt_);
        return rc == SQLITE_DONE;
    }
    // The first column of the first row as a number, -1 when there is none.
    long long number(std::initializer_list<std::string> values)
    {
        int i = 1;
        for (const std::string& v : values)
            sqlite3_bind_text(stmt_, i++, v.c_str(), int(v.size()), SQLITE_TRANSIENT);
        long long n = -1;
        if (sqlite3_step(stmt_) == SQLITE_ROW)
            n = sqlite3_column_int64(stmt_, 0);
        sqlite3_reset(stmt_);
        return n;
    }

private:
    sqlite3_stmt* stmt_ = nullptr;
};

bool exec(sqlite3* db, const char* sql)
{
    char* error = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
        std::fprintf(stderr, "rights_bench: %s: %s\n", sql, error ? error : "?");
        sqlite3_free(error);
        return false;
    }
    return true;
}

const char kMetaTable[] = "create table bench_meta (version integer, members_group varchar(3), "
                          "full_rights_group varchar(3))";
const char kMetaRow[] = "insert into bench_meta (version, members_group, full_rights_group) values (?, ?, ?)";

template <class Rows>
bool insertAll(sqlite3* db, const char* sql, const Rows& rows)
{
    Statement statement(db, sql);
    if (!statement.ok()) {
        std::fprintf(stderr, "rights_bench: %s: %s\n", sql, sqlite3_errmsg(db));
        return false;
    }
    for (const auto& row : rows) {
        if (!statement.run(row))
            return false;
    }
    return true;
}

bool fillSqlite(const QString& path)
{
    const Dataset& data = dataset();
    sqlite3* db = nullptr;
    if (sqlite3_open(path.toUtf8().constData(), &db) != SQLITE_OK) {
        sqlite3_close(db);
        return false;
    }
    const std::array<std::string, 3> meta{std::to_string(kVersion), groupCode(kMembersGroup),
                                          groupCode(kFullRightsGroup)};
    bool ok = exec(db, "PRAGMA synchronous=OFF") && exec(db, "BEGIN")
              && insertAll(db, "insert into s_group (group_id, group_name) values (?, ?)", data.groups)
              && insertAll(db, "insert into s_moudle_item (m_item_code, name) values (?, ?)", data.items)
              && insertAll(db, "insert into s_employee (id, name, dept_id, status) values (?, ?, ?, ?)",
                           data.employees)
              && insertAll(db, "insert into s_user (id, password, status) values (?, ?, ?)", data.users)
              && insertAll(db, "insert into s_user_group (user_code, group_code) values (?, ?)", data.memberships)
              && insertAll(db, "insert into s_group_power (group_id, m_item_code, group_right) values (?, ?, ?)",
                           data.rights)
              && exec(db, kMetaTable) && insertAll(db, kMetaRow, std::vector{meta}) && exec(db, "COMMIT")
              && exec(db, "ANALYZE");
    sqlite3_close(db);
    return ok;
}

bool currentSqlite(const QString& path)
{
    if (!QFile::exists(path))
        return false;
    sqlite3* db = nullptr;
    bool ok = false;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        Statement version(db, "select version from bench_meta");
        ok = version.ok() && version.number({}) == kVersion;
    }
    sqlite3_close(db);
    return ok;
}

// The counts a loaded database must show, in the order of kCountQueries.
const char* const kCountQueries[] = {
    "select count(*) from s_group",
    "select count(*) from s_moudle_item",
    "select count(*) from s_employee",
    "select count(*) from s_user",
    "select count(*) from s_user_group",
    "select count(*) from s_group_power",
    "select count(*) from s_user_group where group_code = ?",
    "select count(*) from s_group_power where group_id = ?",
};

std::vector<long long> expectedCounts()
{
    const Dataset& data = dataset();
    return {(long long)data.groups.size(),      (long long)data.items.size(),
            (long long)data.employees.size(),   (long long)data.users.size(),
            (long long)data.memberships.size(), (long long)data.rights.size(),
            kMembersOfMembersGroup,             kItems};
}

// The value bound to count query `i` (the last two take a group).
std::string countParameter(size_t i)
{
    if (i == 6)
        return groupCode(kMembersGroup);
    if (i == 7)
        return groupCode(kFullRightsGroup);
    return {};
}

std::string compareCounts(const std::vector<long long>& found)
{
    const std::vector<long long> expected = expectedCounts();
    std::string diff;
    for (size_t i = 0; i < expected.size(); ++i) {
        if (found[i] != expected[i])
            diff += std::string(diff.empty() ? "" : "; ") + kCountQueries[i] + ": " + std::to_string(found[i])
                    + " instead of " + std::to_string(expected[i]);
    }
    return diff;
}

QString pgUrlWithSchema(const QString& base, const QString& schemaName)
{
    QUrl parsed(base);
    QUrlQuery query(parsed);
    query.removeAllQueryItems(QStringLiteral("schema"));
    query.addQueryItem(QStringLiteral("schema"), schemaName);
    parsed.setQuery(query);
    return parsed.toString();
}

template <size_t N>
std::string copyText(const std::vector<std::array<std::string, N>>& rows)
{
    std::string text;
    text.reserve(rows.size() * 16 * N);
    for (const auto& row : rows) {
        for (size_t i = 0; i < N; ++i) {
            if (i)
                text += '\t';
            text += copyField(row[i]);
        }
        text += '\n';
    }
    return text;
}

bool loadPostgres(PgDatabase& db)
{
    const Dataset& data = dataset();
    // The seven tables exactly as the demo host creates them.
    {
        host::Transaction trans;
        if (!trans.connect(db.url) || !schema::createTables(trans, false)) {
            db.reason = "cannot create the tables: " + trans.sqlerrtext.toStdString();
            return false;
        }
    }
    PgClient loader;
    if (!loader.connect(db.serverUrl, db.schema)) {
        db.reason = loader.error();
        return false;
    }
    const std::string version = std::to_string(kVersion);
    const std::string members = groupCode(kMembersGroup);
    const std::string full = groupCode(kFullRightsGroup);
    const bool ok = loader.command("begin")
                    && loader.copyIn("copy s_group (group_id, group_name) from stdin", copyText(data.groups))
                    && loader.copyIn("copy s_moudle_item (m_item_code, name) from stdin", copyText(data.items))
                    && loader.copyIn("copy s_employee (id, name, dept_id, status) from stdin", copyText(data.employees))
                    && loader.copyIn("copy s_user (id, password, status) from stdin", copyText(data.users))
                    && loader.copyIn("copy s_user_group (user_code, group_code) from stdin",
                                     copyText(data.memberships))
                    && loader.copyIn("copy s_group_power (group_id, m_item_code, group_right) from stdin",
                                     copyText(data.rights))
                    && loader.command(kMetaTable)
                    && loader.command(kMetaRow, {version.c_str(), members.c_str(), full.c_str()})
                    && loader.command("commit")
                    // Hint bits and the visibility map set now, statistics
                    // fresh: no autovacuum of the new rows during the runs.
                    && loader.command("vacuum (analyze)");
    if (!ok) {
        db.reason = "cannot load the rows: " + loader.error();
        return false;
    }
    // The journal's triggers come after the rows: loading them is no change
    // to record.
    host::Transaction trans;
    if (!trans.connect(db.url) || !schema::createJournal(trans)) {
        db.reason = "cannot create the journal: " + trans.sqlerrtext.toStdString();
        return false;
    }
    return true;
}

PgDatabase makePostgres()
{
    PgDatabase db;
    const QString base = qEnvironmentVariable("WMS_PG_URL");
    if (base.isEmpty()) {
        db.reason = "WMS_PG_URL is not set (make bench starts a server)";
        return db;
    }
    QElapsedTimer timer;
    timer.start();
    db.serverUrl = base.toStdString();
    PgClient admin;
    if (!admin.connect(db.serverUrl)) {
        db.reason = "PostgreSQL server unreachable: " + admin.error();
        return db;
    }
    // Generated here from the process id: an identifier, not a value.
    db.schema = "rights_bench_" + std::to_string(QCoreApplication::applicationPid());
    if (!admin.command("create schema " + db.schema)) {
        db.reason = "cannot create schema " + db.schema + ": " + admin.error();
        db.schema.clear();
        return db;
    }
    db.url = pgUrlWithSchema(base, QString::fromStdString(db.schema));
    if (!loadPostgres(db))
        return db;
    db.ok = true;
    std::fprintf(stderr, "rights_bench: loaded PostgreSQL schema %s in %.1f s\n", db.schema.c_str(),
                 timer.elapsed() / 1000.0);
    const std::string diff = checkPostgres(db);
    if (!diff.empty()) {
        db.ok = false;
        db.reason = "the loaded rows differ: " + diff;
    }
    return db;
}

PgDatabase& postgresState()
{
    static PgDatabase db = makePostgres();
    return db;
}

bool postgresTried = false;

}  // namespace

QString operatorId(int index)
{
    return QString::fromStdString(operatorCode(index));
}

QString itemCode(int index)
{
    return QString::fromStdString(itemCodeOf(index));
}

QString groupId(int index)
{
    return QString::fromStdString(groupCode(index));
}

const Dataset& dataset()
{
    static const Dataset data = generateDataset();
    return data;
}

QString sqliteDatabase()
{
    static const QString made = [] {
        const QString path = QDir::temp().filePath(QStringLiteral("wms-rights-bench-v%1.db").arg(kVersion));
        // A file of this version whose rows are not these (another tree's
        // generator in the same temporary folder) is made again.
        if (currentSqlite(path) && checkSqlite(path).empty())
            return path;

        QElapsedTimer timer;
        timer.start();
        const QString building = path + QStringLiteral(".building");
        for (const QString& p : {building, QString(building + "-wal"), QString(building + "-shm")})
            QFile::remove(p);
        {
            // The tables exactly as the demo host creates them.
            host::Transaction trans;
            if (!trans.connect(building) || !schema::createTables(trans, false)) {
                std::fprintf(stderr, "rights_bench: cannot create %s: %s\n", qPrintable(building),
                             qPrintable(trans.sqlerrtext));
                return QString();
            }
        }
        if (!fillSqlite(building)) {
            std::fprintf(stderr, "rights_bench: cannot fill %s\n", qPrintable(building));
            return QString();
        }
        {
            host::Transaction trans;
            if (!trans.connect(building) || !schema::createJournal(trans)) {
                std::fprintf(stderr, "rights_bench: cannot create the journal in %s: %s\n", qPrintable(building),
                             qPrintable(trans.sqlerrtext));
                return QString();
            }
        }
        // The WAL of the finished file is checkpointed; it moves as one file.
        sqlite3* db = nullptr;
        if (sqlite3_open(building.toUtf8().constData(), &db) == SQLITE_OK)
            exec(db, "PRAGMA wal_checkpoint(TRUNCATE)");
        sqlite3_close(db);
        for (const char* suffix : {"", "-wal", "-shm"}) {
            QFile::remove(path + QLatin1String(suffix));
            if (*suffix)
                QFile::remove(building + QLatin1String(suffix));
        }
        if (!QFile::rename(building, path))
            return QString();
        std::fprintf(stderr, "rights_bench: generated %s in %.1f s\n", qPrintable(path), timer.elapsed() / 1000.0);
        const std::string diff = checkSqlite(path);
        if (!diff.empty()) {
            std::fprintf(stderr, "rights_bench: the generated rows differ: %s\n", diff.c_str());
            return QString();
        }
        return path;
    }();
    return made;
}

const PgDatabase& postgresDatabase()
{
    postgresTried = true;
    return postgresState();
}

void dropPostgresDatabase()
{
    if (!postgresTried)
        return;
    PgDatabase& db = postgresState();
    if (db.schema.empty())
        return;
    PgClient admin;
    if (!admin.connect(db.serverUrl) || !admin.command("drop schema " + db.schema + " cascade"))
        std::fprintf(stderr, "rights_bench: cannot drop schema %s: %s\n", db.schema.c_str(), admin.error().c_str());
    db.schema.clear();
    db.ok = false;
}

std::string checkSqlite(const QString& path)
{
    sqlite3* db = nullptr;
    std::vector<long long> found;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        for (size_t i = 0; i < std::size(kCountQueries); ++i) {
            Statement count(db, kCountQueries[i]);
            const std::string parameter = countParameter(i);
            found.push_back(count.ok() ? (parameter.empty() ? count.number({}) : count.number({parameter})) : -1);
        }
    }
    sqlite3_close(db);
    if (found.size() != std::size(kCountQueries))
        return "cannot open " + path.toStdString();
    return compareCounts(found);
}

std::string checkPostgres(const PgDatabase& db)
{
    PgClient client;
    if (!client.connect(db.serverUrl, db.schema))
        return client.error();
    std::vector<long long> found;
    for (size_t i = 0; i < std::size(kCountQueries); ++i) {
        const std::string parameter = countParameter(i);
        const PgResult result = parameter.empty() ? client.query(kCountQueries[i])
                                                  : client.query(kCountQueries[i], {parameter.c_str()});
        found.push_back(result.ok() && result.rows() == 1 ? std::atoll(result.value(0, 0)) : -1);
    }
    return compareCounts(found);
}

const std::vector<Probe>& probes()
{
    static const std::vector<Probe> list = [] {
        std::vector<Probe> v;
        std::mt19937 random(20261209);
        for (int i = 0; i < 4096; ++i) {
            Probe p;
            p.op = operatorId(int(random() % kOperators));
            p.item = itemCode(int(random() % kItems));
            p.opUtf8 = p.op.toStdString();
            p.itemUtf8 = p.item.toStdString();
            v.push_back(std::move(p));
        }
        return v;
    }();
    return list;
}

}  // namespace bench

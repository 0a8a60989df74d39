#include "bench/bench_database.h"

#include "host/transaction.h"
#include "schema/database.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <cstdio>
#include <random>
#include <set>
#include <sqlite3.h>

namespace bench {

namespace {

constexpr int kVersion = 1;
constexpr unsigned kSeed = 20261208;

class Statement {
public:
    Statement(sqlite3* db, const char* sql)
    {
        if (sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) != SQLITE_OK)
            stmt_ = nullptr;
    }
    ~Statement() { sqlite3_finalize(stmt_); }
    bool ok() const { return stmt_ != nullptr; }
    bool run(std::initializer_list<std::string> values)
    {
        int i = 1;
        for (const std::string& v : values)
            sqlite3_bind_text(stmt_, i++, v.c_str(), int(v.size()), SQLITE_TRANSIENT);
        const int rc = sqlite3_step(stmt_);
        sqlite3_reset(stmt_);
        return rc == SQLITE_DONE;
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

std::string utf8(const QString& s)
{
    return s.toStdString();
}

bool fill(const QString& path)
{
    sqlite3* db = nullptr;
    if (sqlite3_open(path.toUtf8().constData(), &db) != SQLITE_OK) {
        sqlite3_close(db);
        return false;
    }
    bool ok = exec(db, "PRAGMA synchronous=OFF") && exec(db, "BEGIN");
    Statement group(db, "insert into s_group (group_id, group_name) values (?, ?)");
    Statement item(db, "insert into s_moudle_item (m_item_code, name) values (?, ?)");
    Statement employee(db, "insert into s_employee (id, name, dept_id, status) values (?, ?, 'D01', '1')");
    Statement user(db, "insert into s_user (id, password, status) values (?, '', '1')");
    Statement member(db, "insert into s_user_group (user_code, group_code) values (?, ?)");
    Statement power(db, "insert into s_group_power (group_id, m_item_code, group_right) values (?, ?, ?)");
    ok = ok && group.ok() && item.ok() && employee.ok() && user.ok() && member.ok() && power.ok();

    std::mt19937 random(kSeed);
    for (int g = 0; ok && g < kGroups; ++g)
        ok = group.run({utf8(groupId(g)), "组" + std::to_string(g)});
    for (int i = 0; ok && i < kItems; ++i)
        ok = item.run({utf8(itemCode(i)), "模块" + std::to_string(i)});
    std::uniform_int_distribution<int> groupCount(1, 3);
    std::uniform_int_distribution<int> anyGroup(0, kGroups - 1);
    for (int u = 0; ok && u < kOperators; ++u) {
        const std::string id = utf8(operatorId(u));
        ok = employee.run({id, "员工" + std::to_string(u)}) && user.run({id});
        std::set<int> groups;
        const int n = groupCount(random);
        while (int(groups.size()) < n)
            groups.insert(anyGroup(random));
        for (int g : groups)
            ok = ok && member.run({id, utf8(groupId(g))});
    }
    std::uniform_int_distribution<int> anyItem(0, kItems - 1);
    std::uniform_int_distribution<int> anyLevel(0, 2);
    for (int g = 0; ok && g < kGroups; ++g) {
        std::set<int> items;
        while (int(items.size()) < kItemsPerGroup)
            items.insert(anyItem(random));
        for (int i : items)
            ok = ok && power.run({utf8(groupId(g)), utf8(itemCode(i)), std::to_string(anyLevel(random))});
    }
    ok = ok && exec(db, "create table bench_meta (version integer)")
         && exec(db, ("insert into bench_meta values (" + std::to_string(kVersion) + ")").c_str())
         && exec(db, "COMMIT");
    sqlite3_close(db);
    return ok;
}

bool current(const QString& path)
{
    if (!QFile::exists(path))
        return false;
    sqlite3* db = nullptr;
    bool ok = false;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db, "select version from bench_meta", -1, &stmt, nullptr) == SQLITE_OK
            && sqlite3_step(stmt) == SQLITE_ROW)
            ok = sqlite3_column_int(stmt, 0) == kVersion;
        sqlite3_finalize(stmt);
    }
    sqlite3_close(db);
    return ok;
}

}  // namespace

QString operatorId(int index)
{
    return QStringLiteral("U%1").arg(index, 5, 10, QLatin1Char('0'));
}

QString itemCode(int index)
{
    return QStringLiteral("M%1").arg(index, 4, 10, QLatin1Char('0'));
}

QString groupId(int index)
{
    return QStringLiteral("%1").arg(index, 3, 10, QLatin1Char('0'));
}

QString benchDatabase()
{
    const QString path = QDir::temp().filePath(QStringLiteral("wms-rights-bench-v%1.db").arg(kVersion));
    if (current(path))
        return path;

    QElapsedTimer timer;
    timer.start();
    const QString building = path + QStringLiteral(".building");
    for (const QString& p : {building, building + "-wal", building + "-shm"})
        QFile::remove(p);
    {
        // The tables exactly as the demo host creates them.
        host::Transaction trans;
        if (!trans.connect(building) || !schema::createTables(trans)) {
            std::fprintf(stderr, "rights_bench: cannot create %s: %s\n", qPrintable(building),
                         qPrintable(trans.sqlerrtext));
            return {};
        }
    }
    if (!fill(building)) {
        std::fprintf(stderr, "rights_bench: cannot fill %s\n", qPrintable(building));
        return {};
    }
    // The WAL of the finished file is checkpointed; it moves as one file.
    sqlite3* db = nullptr;
    sqlite3_open(building.toUtf8().constData(), &db);
    exec(db, "PRAGMA wal_checkpoint(TRUNCATE)");
    sqlite3_close(db);
    for (const char* suffix : {"", "-wal", "-shm"}) {
        QFile::remove(path + QLatin1String(suffix));
        if (*suffix)
            QFile::remove(building + QLatin1String(suffix));
    }
    if (!QFile::rename(building, path))
        return {};
    std::fprintf(stderr, "rights_bench: generated %s in %.1f s\n", qPrintable(path), timer.elapsed() / 1000.0);
    return path;
}

const std::vector<Probe>& probes()
{
    static const std::vector<Probe> list = [] {
        std::vector<Probe> v;
        std::mt19937 random(kSeed + 1);
        std::uniform_int_distribution<int> anyOperator(0, kOperators - 1);
        std::uniform_int_distribution<int> anyItem(0, kItems - 1);
        for (int i = 0; i < 4096; ++i) {
            Probe p;
            p.op = operatorId(anyOperator(random));
            p.item = itemCode(anyItem(random));
            p.opUtf8 = p.op.toStdString();
            p.itemUtf8 = p.item.toStdString();
            v.push_back(std::move(p));
        }
        return v;
    }();
    return list;
}

}  // namespace bench

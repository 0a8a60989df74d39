// The right checks on the large database, each against its floor: the same
// lookup prepared once through the database's own C API (sqlite3, libpq) on
// the same data.
#include "bench/bench_common.h"
#include "bench/bench_database.h"
#include "bench/pg_client.h"
#include "host/functions.h"
#include "host/transaction.h"
#include "host/window_registry.h"
#include "rights/f_button_right.h"
#include "rights/f_check_menu.h"
#include "rights/f_check_right.h"
#include "rights/lookup.h"
#include "rights/menu_item.h"

#include <QCoreApplication>
#include <QMenu>
#include <QWidget>
#include <memory>
#include <random>
#include <sqlite3.h>

namespace bench {

namespace {

constexpr int kMenuSubmenus = 25;
constexpr int kMenuLeavesPerSubmenu = 20;
constexpr int kMenuLeaves = kMenuSubmenus * kMenuLeavesPerSubmenu;
constexpr int kMenuOperator = 123;

// The item codes of the 500 menu leaves, in menu order.
const std::vector<std::string>& menuCodes()
{
    static const std::vector<std::string> codes = [] {
        std::vector<std::string> v;
        std::mt19937 random(7);
        for (int i = 0; i < kMenuLeaves; ++i)
            v.push_back(itemCodeOf(int(random() % kItems)));
        return v;
    }();
    return codes;
}

std::string name(const char* family, Backend backend, bool floor = false)
{
    return std::string(family) + "_" + suffix(backend) + (floor ? "_floor" : "");
}

// The lookup prepared once through the sqlite3 C API.
class SqliteLookup {
public:
    explicit SqliteLookup(const QString& path)
    {
        if (path.isEmpty() || sqlite3_open_v2(path.toUtf8().constData(), &db_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK
            || sqlite3_prepare_v2(db_, rights::kRightLookup.toUtf8().constData(), -1, &lookup_, nullptr) != SQLITE_OK
            || sqlite3_prepare_v2(db_, "BEGIN", -1, &begin_, nullptr) != SQLITE_OK
            || sqlite3_prepare_v2(db_, "COMMIT", -1, &commit_, nullptr) != SQLITE_OK)
            return;
        sqlite3_busy_timeout(db_, 5000);
        ok_ = true;
    }
    ~SqliteLookup()
    {
        sqlite3_finalize(lookup_);
        sqlite3_finalize(begin_);
        sqlite3_finalize(commit_);
        sqlite3_close(db_);
    }
    SqliteLookup(const SqliteLookup&) = delete;
    SqliteLookup& operator=(const SqliteLookup&) = delete;

    bool ok() const { return ok_; }
    // The level as 0, 1 or 2; -1 when the statement failed.
    int level(const std::string& op, const std::string& item)
    {
        sqlite3_bind_text(lookup_, 1, op.data(), int(op.size()), SQLITE_STATIC);
        sqlite3_bind_text(lookup_, 2, item.data(), int(item.size()), SQLITE_STATIC);
        int result = -1;
        if (sqlite3_step(lookup_) == SQLITE_ROW) {
            const unsigned char* text = sqlite3_column_text(lookup_, 0);
            result = text && (text[0] == '1' || text[0] == '2') && !text[1] ? text[0] - '0' : 0;
        }
        sqlite3_reset(lookup_);
        return result;
    }
    bool begin() { return step(begin_); }
    bool commit() { return step(commit_); }

private:
    static bool step(sqlite3_stmt* stmt)
    {
        const int rc = sqlite3_step(stmt);
        sqlite3_reset(stmt);
        return rc == SQLITE_DONE;
    }
    sqlite3* db_ = nullptr;
    sqlite3_stmt* lookup_ = nullptr;
    sqlite3_stmt* begin_ = nullptr;
    sqlite3_stmt* commit_ = nullptr;
    bool ok_ = false;
};

// The lookup prepared once through libpq (PQprepare / PQexecPrepared).
class PgLookup {
public:
    PgLookup()
    {
        const PgDatabase& db = postgresDatabase();
        if (!db.ok) {
            error_ = db.reason;
            return;
        }
        if (!client_.connect(db.serverUrl, db.schema) || !client_.prepare("lookup", rights::kRightLookup.toStdString(), 2))
            error_ = client_.error();
    }
    bool ok() const { return error_.empty(); }
    const std::string& error() const { return error_; }
    int level(const std::string& op, const std::string& item)
    {
        const PgResult result = client_.execPrepared("lookup", {op.c_str(), item.c_str()});
        if (!result.ok() || result.rows() != 1)
            return -1;
        if (result.isNull(0, 0) || result.length(0, 0) != 1)
            return 0;
        const char c = result.value(0, 0)[0];
        return c == '1' || c == '2' ? c - '0' : 0;
    }
    bool begin() { return client_.command("begin read only"); }
    bool commit() { return client_.command("commit"); }

private:
    PgClient client_;
    std::string error_;
};

void checkRightFloor(benchmark::State& state, Backend backend)
{
    const auto& probes = bench::probes();
    size_t i = 0;
    int held = 0;
    int failed = 0;
    // The same loop over either C API's lookup.
    const auto measure = [&](auto& lookup) {
        for (auto _ : state) {
            const Probe& p = probes[i++ & 4095];
            const int level = lookup.level(p.opUtf8, p.itemUtf8);
            held += level >= 1;
            failed += level < 0;
        }
    };
    if (backend == Backend::Sqlite) {
        SqliteLookup lookup(sqliteDatabase());
        if (!lookup.ok()) {
            state.SkipWithError("cannot prepare the lookup with the sqlite3 API");
            return;
        }
        measure(lookup);
    } else {
        PgLookup lookup;
        if (!lookup.ok()) {
            state.SkipWithError(lookup.error().c_str());
            return;
        }
        measure(lookup);
    }
    if (failed)
        state.SkipWithError("a lookup failed");
    benchmark::DoNotOptimize(held);
}

void checkRight(benchmark::State& state, Backend backend)
{
    if (!connectSqlca(state, backend))
        return;
    const auto& probes = bench::probes();
    const QString required = QStringLiteral("1");
    size_t i = 0;
    int held = 0;
    for (auto _ : state) {
        const Probe& p = probes[i++ & 4095];
        held += rights::f_check_right(p.item, required, p.op);
    }
    if (host::sqlca.sqlcode < 0)
        state.SkipWithError(qPrintable(host::sqlca.sqlerrtext));
    benchmark::DoNotOptimize(held);
}

void buttonRight(benchmark::State& state, Backend backend)
{
    if (!connectSqlca(state, backend))
        return;
    const auto& probes = bench::probes();
    // A pool of tagged windows, one per probe slot.
    std::vector<std::unique_ptr<QWidget>> windows;
    for (int w = 0; w < 64; ++w) {
        windows.push_back(std::make_unique<QWidget>());
        windows.back()->setProperty(rights::kTagProperty, probes[w].item);
    }
    const QString user = host::gs_user_id;
    size_t i = 0;
    int total = 0;
    for (auto _ : state) {
        const size_t k = i++;
        host::gs_user_id = probes[k & 4095].op;
        total += rights::f_button_right(windows[k & 63].get());
    }
    host::gs_user_id = user;
    benchmark::DoNotOptimize(total);
}

template <class Lookup>
void menuFloorLoop(benchmark::State& state, Lookup& lookup)
{
    const std::string op = operatorCode(kMenuOperator);
    const std::vector<std::string>& codes = menuCodes();
    int enabled = 0;
    bool failed = false;
    for (auto _ : state) {
        failed = !lookup.begin() || failed;
        for (const std::string& code : codes) {
            const int level = lookup.level(op, code);
            enabled += level >= 1;
            failed = failed || level < 0;
        }
        failed = !lookup.commit() || failed;
    }
    if (failed)
        state.SkipWithError("a lookup or the transaction failed");
    benchmark::DoNotOptimize(enabled);
    state.SetItemsProcessed(state.iterations() * kMenuLeaves);
}

void checkMenuFloor(benchmark::State& state, Backend backend)
{
    if (backend == Backend::Sqlite) {
        SqliteLookup lookup(sqliteDatabase());
        if (!lookup.ok()) {
            state.SkipWithError("cannot prepare the lookup with the sqlite3 API");
            return;
        }
        menuFloorLoop(state, lookup);
    } else {
        PgLookup lookup;
        if (!lookup.ok()) {
            state.SkipWithError(lookup.error().c_str());
            return;
        }
        menuFloorLoop(state, lookup);
    }
}

void checkMenu(benchmark::State& state, Backend backend)
{
    if (!connectSqlca(state, backend))
        return;
    // 25 sub-menus of 20 tagged leaves each.
    QMenu menu;
    const std::vector<std::string>& codes = menuCodes();
    for (int s = 0; s < kMenuSubmenus; ++s) {
        QMenu* sub = menu.addMenu(QStringLiteral("sub %1").arg(s));
        for (int l = 0; l < kMenuLeavesPerSubmenu; ++l)
            rights::setTag(sub->addAction(QStringLiteral("leaf %1").arg(l)),
                           QString::fromStdString(codes[size_t(s * kMenuLeavesPerSubmenu + l)]));
    }
    const QString user = host::gs_user_id;
    host::gs_user_id = operatorId(kMenuOperator);
    for (auto _ : state)
        rights::f_check_menu(&menu);
    host::gs_user_id = user;
    if (host::sqlca.sqlcode < 0)
        state.SkipWithError(qPrintable(host::sqlca.sqlerrtext));
    state.SetItemsProcessed(state.iterations() * kMenuLeaves);
}

}  // namespace

const char* suffix(Backend backend)
{
    return backend == Backend::Sqlite ? "sqlite" : "pg";
}

bool connectSqlca(benchmark::State& state, Backend backend)
{
    QString url;
    if (backend == Backend::Sqlite) {
        url = sqliteDatabase();
        if (url.isEmpty()) {
            state.SkipWithError("no SQLite benchmark database");
            return false;
        }
    } else {
        const PgDatabase& db = postgresDatabase();
        if (!db.ok) {
            state.SkipWithError(db.reason.c_str());
            return false;
        }
        url = db.url;
    }
    if (host::sqlca.url() != url || !host::sqlca.isConnected()) {
        host::WindowRegistry::closeAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (!host::sqlca.connect(url)) {
            state.SkipWithError(qPrintable(host::sqlca.sqlerrtext));
            return false;
        }
    }
    return true;
}

void registerLookupBenchmarks(Backend backend)
{
    benchmark::RegisterBenchmark(name("check_right", backend, true).c_str(), checkRightFloor, backend)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(name("check_right", backend).c_str(), checkRight, backend)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(name("button_right", backend).c_str(), buttonRight, backend)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(name("check_menu", backend, true).c_str(), checkMenuFloor, backend)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(name("check_menu", backend).c_str(), checkMenu, backend)
        ->Unit(benchmark::kMillisecond);
}

}  // namespace bench

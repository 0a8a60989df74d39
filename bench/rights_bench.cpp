// The right checks on a large database, against the floor: the same lookup
// prepared once through the sqlite3 C API on the same file.
#include "bench/bench_database.h"
#include "host/functions.h"
#include "host/transaction.h"
#include "rights/f_button_right.h"
#include "rights/f_check_menu.h"
#include "rights/f_check_right.h"
#include "rights/lookup.h"
#include "rights/menu_item.h"

#include <QMenu>
#include <QWidget>
#include <benchmark/benchmark.h>
#include <memory>
#include <random>
#include <sqlite3.h>

namespace {

QString database()
{
    static const QString path = bench::benchDatabase();
    return path;
}

bool connectSqlca(benchmark::State& state)
{
    const QString path = database();
    if (path.isEmpty()) {
        state.SkipWithError("no benchmark database");
        return false;
    }
    if (host::sqlca.url() != path || !host::sqlca.isConnected()) {
        if (!host::sqlca.connect(path)) {
            state.SkipWithError(qPrintable(host::sqlca.sqlerrtext));
            return false;
        }
    }
    return true;
}

void BM_Floor_SqliteLookup(benchmark::State& state)
{
    const QString path = database();
    sqlite3* db = nullptr;
    sqlite3_stmt* stmt = nullptr;
    if (path.isEmpty() || sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK
        || sqlite3_prepare_v2(db, rights::kRightLookup.toUtf8().constData(), -1, &stmt, nullptr) != SQLITE_OK) {
        state.SkipWithError("cannot prepare the lookup with the sqlite3 API");
        sqlite3_close(db);
        return;
    }
    sqlite3_busy_timeout(db, 5000);
    const auto& probes = bench::probes();
    size_t i = 0;
    int held = 0;
    for (auto _ : state) {
        const bench::Probe& p = probes[i++ & 4095];
        sqlite3_bind_text(stmt, 1, p.opUtf8.data(), int(p.opUtf8.size()), SQLITE_STATIC);
        sqlite3_bind_text(stmt, 2, p.itemUtf8.data(), int(p.itemUtf8.size()), SQLITE_STATIC);
        if (sqlite3_step(stmt) == SQLITE_ROW) {
            const unsigned char* level = sqlite3_column_text(stmt, 0);
            held += level && level[0] >= '1';
        }
        sqlite3_reset(stmt);
    }
    benchmark::DoNotOptimize(held);
    sqlite3_finalize(stmt);
    sqlite3_close(db);
}
BENCHMARK(BM_Floor_SqliteLookup);

void BM_f_check_right(benchmark::State& state)
{
    if (!connectSqlca(state))
        return;
    const auto& probes = bench::probes();
    const QString required = QStringLiteral("1");
    size_t i = 0;
    int held = 0;
    for (auto _ : state) {
        const bench::Probe& p = probes[i++ & 4095];
        held += rights::f_check_right(p.item, required, p.op);
    }
    benchmark::DoNotOptimize(held);
}
BENCHMARK(BM_f_check_right);

void BM_f_button_right(benchmark::State& state)
{
    if (!connectSqlca(state))
        return;
    const auto& probes = bench::probes();
    // A pool of tagged windows, one per probe slot.
    std::vector<std::unique_ptr<QWidget>> windows;
    for (int w = 0; w < 64; ++w) {
        windows.push_back(std::make_unique<QWidget>());
        windows.back()->setProperty(rights::kTagProperty, probes[w].item);
    }
    size_t i = 0;
    int total = 0;
    for (auto _ : state) {
        const size_t k = i++;
        host::gs_user_id = probes[k & 4095].op;
        total += rights::f_button_right(windows[k & 63].get());
    }
    benchmark::DoNotOptimize(total);
}
BENCHMARK(BM_f_button_right);

void BM_f_check_menu_500_leaves(benchmark::State& state)
{
    if (!connectSqlca(state))
        return;
    // 25 sub-menus of 20 tagged leaves each.
    QMenu menu;
    std::mt19937 random(7);
    std::uniform_int_distribution<int> anyItem(0, bench::kItems - 1);
    for (int s = 0; s < 25; ++s) {
        QMenu* sub = menu.addMenu(QStringLiteral("sub %1").arg(s));
        for (int l = 0; l < 20; ++l)
            rights::setTag(sub->addAction(QStringLiteral("leaf %1").arg(l)), bench::itemCode(anyItem(random)));
    }
    host::gs_user_id = bench::operatorId(123);
    for (auto _ : state)
        rights::f_check_menu(&menu);
    state.SetItemsProcessed(state.iterations() * 500);
}
BENCHMARK(BM_f_check_menu_500_leaves)->Unit(benchmark::kMillisecond);

}  // namespace

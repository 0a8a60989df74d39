// rights_bench: a QApplication (offscreen) for the menus and windows, the
// benchmarks of each backend registered in turn, then Google Benchmark.
#include "bench/bench_common.h"
#include "bench/bench_database.h"
#include "host/transaction.h"
#include "host/window_registry.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdio>

namespace {

QtMessageHandler qtHandler = nullptr;

// The offscreen platform says on every window opened that it cannot raise
// it; the rest of Qt's messages go through as usual.
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message == QLatin1String("This plugin does not support raise()"))
        return;
    if (qtHandler)
        qtHandler(type, context, message);
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qtHandler = qInstallMessageHandler(quietHandler);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    bench::prepareWindows();
    bench::registerBareWindowBenchmark();
    for (bench::Backend backend : {bench::Backend::Sqlite, bench::Backend::Postgres}) {
        if (backend == bench::Backend::Postgres && qEnvironmentVariableIsEmpty("WMS_PG_URL")) {
            std::fprintf(stderr, "rights_bench: PostgreSQL benchmarks skipped: WMS_PG_URL is not set "
                                 "(make bench starts a server)\n");
            continue;
        }
        bench::registerLookupBenchmarks(backend);
        bench::registerWindowBenchmarks(backend);
        bench::registerJournalBenchmarks(backend);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    host::WindowRegistry::closeAll();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // The connection goes before the application that loaded its driver.
    host::sqlca.disconnect();
    bench::dropJournalDatabases();
    bench::dropPostgresDatabase();
    return 0;
}

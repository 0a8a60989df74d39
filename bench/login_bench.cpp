// login_bench: the host's login refused for each reason, on a small database
// of each backend. A refusal must take as long whatever its reason (the
// answer's delay must not tell which operators exist, may log in or have a
// password); scripts/run-bench prints the greatest median over the smallest
// as "ratio login_refusals".
#include "app/login.h"
#include "host/functions.h"
#include "host/password.h"
#include "host/transaction.h"
#include "schema/database.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QUrl>
#include <QUrlQuery>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>

namespace {

enum class Backend { Sqlite, Postgres };

const char* suffix(Backend backend)
{
    return backend == Backend::Sqlite ? "sqlite" : "pg";
}

// Where the refusals of each backend are tried, and which one sqlca is on.
struct Databases {
    std::unique_ptr<QTemporaryDir> dir;
    QString sqlite;
    QString postgres;  // WMS_PG_URL with ?schema=NAME
    QString pgSchema;
    Backend connected = Backend::Sqlite;
    bool isConnected = false;
};

Databases& databases()
{
    static Databases d;
    return d;
}

// The sample data with one operator for each way of being refused: E001 a
// hash (typed wrong), E002 inactive, E004 without a password, E006 a plain
// password of an older database (typed wrong). E999 does not exist.
bool fill(host::Transaction& trans)
{
    if (!schema::createTables(trans) || !schema::loadSampleData(trans))
        return false;
    const QString hash = host::hashPassword(QStringLiteral("123"));
    const QList<QVariantList> rows = {{hash, QStringLiteral("1"), QStringLiteral("E001")},
                                      {hash, QStringLiteral("0"), QStringLiteral("E002")},
                                      {QStringLiteral(""), QStringLiteral("1"), QStringLiteral("E004")},
                                      {QStringLiteral("123"), QStringLiteral("1"), QStringLiteral("E006")}};
    for (const QVariantList& row : rows) {
        if (trans.execute(QStringLiteral("update s_user set password = ?, status = ? where id = ?"), row) != 0)
            return false;
    }
    return trans.commit() == 0;
}

// Connects to `url` and fills it; says why not on stderr.
bool load(const QString& url, const char* what)
{
    host::Transaction trans;
    if (!trans.connect(url) || !fill(trans)) {
        std::fprintf(stderr, "login_bench: %s database: %s\n", what, qPrintable(trans.sqlerrtext));
        return false;
    }
    return true;
}

bool prepareSqlite()
{
    Databases& d = databases();
    d.sqlite = d.dir->filePath(QStringLiteral("login.db"));
    return load(d.sqlite, "SQLite");
}

bool preparePostgres()
{
    Databases& d = databases();
    const QString base = qEnvironmentVariable("WMS_PG_URL");
    host::Transaction admin;
    const QString name = QStringLiteral("login_bench_%1_%2")
                             .arg(QCoreApplication::applicationPid())
                             .arg(QRandomGenerator::global()->bounded(1000000));
    if (!admin.connect(base) || admin.execute(QStringLiteral("create schema %1").arg(name)) != 0) {
        std::fprintf(stderr, "login_bench: PostgreSQL schema: %s\n", qPrintable(admin.sqlerrtext));
        return false;
    }
    d.pgSchema = name;
    QUrl url(base);
    QUrlQuery query(url);
    query.addQueryItem(QStringLiteral("schema"), name);
    url.setQuery(query);
    d.postgres = url.toString();
    return load(d.postgres, "PostgreSQL");
}

void dropPostgres()
{
    Databases& d = databases();
    if (d.pgSchema.isEmpty())
        return;
    host::Transaction admin;
    if (!admin.connect(qEnvironmentVariable("WMS_PG_URL")) ||
        admin.execute(QStringLiteral("drop schema %1 cascade").arg(d.pgSchema)) != 0)
        std::fprintf(stderr, "login_bench: cannot drop schema %s: %s\n", qPrintable(d.pgSchema),
                     qPrintable(admin.sqlerrtext));
}

bool connectSqlca(benchmark::State& state, Backend backend)
{
    Databases& d = databases();
    if (d.isConnected && d.connected == backend)
        return true;
    host::sqlca.disconnect();
    d.isConnected = host::sqlca.connect(backend == Backend::Sqlite ? d.sqlite : d.postgres);
    d.connected = backend;
    if (!d.isConnected)
        state.SkipWithError(qPrintable(host::sqlca.sqlerrtext));
    return d.isConnected;
}

struct Refusal {
    const char* name;
    const char* id;
    const char* typed;
};

// The four reasons a login can be refused for, and a plain stored password
// typed wrong.
const Refusal kRefusals[] = {
    {"unknown", "E999", "123"}, {"inactive", "E002", "123"}, {"empty", "E004", "123"},
    {"wrong", "E001", "124"},   {"plain", "E006", "124"},
};

void refuse(benchmark::State& state, Backend backend, const Refusal& refusal)
{
    if (!connectSqlca(state, backend))
        return;
    const QString id = QString::fromLatin1(refusal.id);
    const QString typed = QString::fromLatin1(refusal.typed);
    bool refused = true;
    for (auto _ : state)
        refused = app::checkLogin(id, typed).outcome == app::LoginOutcome::Refused && refused;
    if (!refused)
        state.SkipWithError("a login was not refused");
}

void registerRefusals(Backend backend)
{
    for (const Refusal& refusal : kRefusals) {
        const std::string name = std::string("login_refusal_") + refusal.name + "_" + suffix(backend);
        // One login a run, nine runs: the median of nine single refusals.
        benchmark::RegisterBenchmark(name.c_str(), refuse, backend, refusal)
            ->Iterations(1)
            ->Repetitions(9)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    Databases& d = databases();
    d.dir = std::make_unique<QTemporaryDir>();
    if (!d.dir->isValid()) {
        std::fprintf(stderr, "login_bench: no temporary folder\n");
        return 1;
    }
    host::setLogFile(d.dir->filePath(QStringLiteral("host.log")));
    if (!prepareSqlite())
        return 1;
    registerRefusals(Backend::Sqlite);
    if (qEnvironmentVariableIsEmpty("WMS_PG_URL"))
        std::fprintf(stderr, "login_bench: PostgreSQL benchmarks skipped: WMS_PG_URL is not set\n");
    else if (preparePostgres())
        registerRefusals(Backend::Postgres);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    host::sqlca.disconnect();
    dropPostgres();
    return 0;
}

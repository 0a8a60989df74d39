// The stress run: eight clients (stress_client, each its own process and
// connection) run random administration operations against one database
// for --seconds; afterwards the invariants are checked and printed. Exit 0
// when every invariant holds, 1 when one is violated, 2 when the run could
// not be made, 77 when PostgreSQL is wanted but WMS_PG_URL is not set
// (outside CI).
//
//   stress_driver [--backend postgres|sqlite] [--seconds 60] [--clients 8] [--url URL] [--seed X]

#include "host/functions.h"
#include "journal_core/journal.h"
#include "host/transaction.h"
#include "rights/administrators.h"
#include "schema/database.h"
#include "tests/stress/stress_checks.h"
#include "tests/stress/stress_data.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QMap>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QUrl>
#include <QUrlQuery>
#include <cstdio>
#include <memory>

namespace {

// How long past its run time a client may take to finish its last
// operation: a few lock timeouts (5 s each), then it counts as hung.
constexpr int kBoundSeconds = 30;

void print(const QString& line)
{
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

int fail(const QString& why)
{
    std::fprintf(stderr, "stress: %s\n", why.toUtf8().constData());
    return 2;
}

// A PostgreSQL schema of the run's own, dropped at the end.
class PostgresSchema {
public:
    bool create(const QString& base, QString* url)
    {
        if (!admin_.connect(base))
            return false;
        name_ = QStringLiteral("stress_%1_%2")
                    .arg(QCoreApplication::applicationPid())
                    .arg(QRandomGenerator::global()->generate() % 1000000U);
        if (admin_.execute(QStringLiteral("create schema %1").arg(name_)) != 0)
            return false;
        QUrl parsed(base);
        QUrlQuery query(parsed);
        query.addQueryItem(QStringLiteral("schema"), name_);
        parsed.setQuery(query);
        *url = parsed.toString();
        return true;
    }
    QString error() const { return admin_.sqlerrtext; }
    ~PostgresSchema()
    {
        if (name_.isEmpty())
            return;
        // Without the notice that lists every table the drop takes along.
        (void)admin_.execute(QStringLiteral("set client_min_messages = warning"));
        (void)admin_.execute(QStringLiteral("drop schema %1 cascade").arg(name_));
    }

private:
    host::Transaction admin_;
    QString name_;
};

QString counted(const QMap<QString, int>& counts)
{
    QStringList parts;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        parts << QStringLiteral("%1 %2").arg(it.key()).arg(it.value());
    return parts.isEmpty() ? QStringLiteral("none") : parts.join(QStringLiteral(", "));
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption backendOption("backend", "postgres or sqlite", "NAME", "postgres");
    const QCommandLineOption secondsOption("seconds", "run time of each client", "S", "60");
    const QCommandLineOption clientsOption("clients", "number of clients", "N", "8");
    const QCommandLineOption urlOption("url", "database (default: WMS_PG_URL, or a temporary SQLite file)", "URL");
    const QCommandLineOption seedOption("seed", "random seed (default: the time)", "X");
    parser.addHelpOption();
    parser.addOptions({backendOption, secondsOption, clientsOption, urlOption, seedOption});
    parser.process(app);
    const QString backend = parser.value(backendOption);
    const double seconds = parser.value(secondsOption).toDouble();
    const int clients = parser.value(clientsOption).toInt();
    const quint64 seed = parser.isSet(seedOption) ? parser.value(seedOption).toULongLong()
                                                  : quint64(QDateTime::currentMSecsSinceEpoch());
    if ((backend != "postgres" && backend != "sqlite") || seconds <= 0 || clients < 1 || clients > 64)
        return fail(QStringLiteral("wrong arguments; see --help"));

    QTemporaryDir dir;
    if (!dir.isValid())
        return fail(QStringLiteral("no temporary folder"));
    QString url = parser.value(urlOption);
    std::unique_ptr<PostgresSchema> pgSchema;
    if (backend == "sqlite") {
        if (url.isEmpty())
            url = dir.filePath(QStringLiteral("stress.db"));
    } else {
        QString base = url.isEmpty() ? qEnvironmentVariable("WMS_PG_URL") : url;
        if (base.isEmpty()) {
            if (!qEnvironmentVariableIsEmpty("CI"))
                return fail(QStringLiteral("WMS_PG_URL is not set: the PostgreSQL stress run cannot reach its server"));
            print(QStringLiteral("stress: skipped, WMS_PG_URL is not set (make test-stress starts a server)"));
            return 77;
        }
        pgSchema = std::make_unique<PostgresSchema>();
        if (!pgSchema->create(base, &url))
            return fail(QStringLiteral("PostgreSQL: ") + pgSchema->error());
    }
    host::setLogFile(dir.filePath(QStringLiteral("driver.log")));
    host::Transaction db;
    if (!db.connect(url) || !schema::createTables(db) || !stress::seed(db, clients))
        return fail(db.sqlerrtext);

    print(QStringLiteral("stress: %1 clients on %2 for %3 s (seed %4)").arg(clients).arg(backend).arg(seconds).arg(seed));
    const QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/stress_client");
    QList<QProcess*> processes;
    QElapsedTimer clock;
    clock.start();
    for (int n = 1; n <= clients; ++n) {
        auto* process = new QProcess(&app);
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->setStandardOutputFile(QProcess::nullDevice());
        process->start(program, {"--url", url, "--client", QString::number(n), "--seconds", QString::number(seconds),
                                 "--seed", QString::number(seed), "--out",
                                 dir.filePath(QStringLiteral("client%1.jsonl").arg(n))});
        processes << process;
    }
    stress::RunResult run;
    run.clients = clients;
    const QDeadlineTimer deadline(qint64((seconds + kBoundSeconds) * 1000));
    for (int n = 1; n <= clients; ++n) {
        QProcess* process = processes.at(n - 1);
        const QString who = stress::clientOperator(n);
        if (!process->waitForStarted(10000)) {
            run.hungOrFailedClients << who + QStringLiteral(": did not start (") + process->errorString() + ')';
            continue;
        }
        if (!process->waitForFinished(int(std::max<qint64>(1, deadline.remainingTime())))) {
            run.hungOrFailedClients << who + QStringLiteral(": still running %1 s after its run time, killed")
                                                 .arg(kBoundSeconds);
            process->kill();
            process->waitForFinished(5000);
            continue;
        }
        if (process->exitStatus() != QProcess::NormalExit || process->exitCode() != 0)
            run.hungOrFailedClients << who + QStringLiteral(": ended with exit code %1").arg(process->exitCode());
    }
    const double elapsed = double(clock.elapsed()) / 1000.0;

    for (int n = 1; n <= clients; ++n) {
        QFile file(dir.filePath(QStringLiteral("client%1.jsonl").arg(n)));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        while (!file.atEnd()) {
            const QByteArray line = file.readLine().trimmed();
            if (!line.isEmpty())
                run.records << stress::OperationRecord::fromJson(QJsonDocument::fromJson(line).object());
        }
    }
    journal::JournalFilter all;
    all.newestFirst = false;
    if (journal::readJournal(db, all, &run.journal) != 0 || !stress::readState(db, &run.final))
        return fail(db.sqlerrtext);
    run.seed = stress::seedState(clients);
    rights::setAdministrationItems(stress::administrationItems());
    run.finalAdministrators = rights::administratorCount(db);

    int commits = 0, skipped = 0, boxes = 0;
    QMap<QString, int> kinds, refusals;
    QStringList otherErrors;
    for (const stress::OperationRecord& record : run.records) {
        kinds[record.kind] += 1;
        boxes += record.boxes;
        if (record.committed)
            ++commits;
        else if (record.skipped)
            ++skipped;
        else {
            refusals[stress::refusalName(record.refusal)] += 1;
            if (record.refusal == stress::Refusal::OtherError && otherErrors.size() < 5)
                otherErrors << record.kind + QStringLiteral(": ") + QString(record.reason).replace('\n', ' ');
        }
    }
    print(QStringLiteral("clients: %1").arg(clients));
    print(QStringLiteral("operations: %1 (%2)").arg(run.records.size()).arg(counted(kinds)));
    print(QStringLiteral("commits: %1").arg(commits));
    QStringList reasons;
    for (const stress::Refusal reason : {stress::Refusal::ChangedMeanwhile, stress::Refusal::Guard,
                                         stress::Refusal::LockTimeout, stress::Refusal::Deadlock,
                                         stress::Refusal::OtherError, stress::Refusal::Unclassified})
        reasons << QStringLiteral("%1 %2").arg(stress::refusalName(reason)).arg(refusals.value(stress::refusalName(reason)));
    print(QStringLiteral("refusals: %1 (%2)")
              .arg(run.records.size() - commits - skipped)
              .arg(reasons.join(QStringLiteral(", "))));
    for (const QString& error : std::as_const(otherErrors))
        print(QStringLiteral("  other error: ") + error);
    print(QStringLiteral("skipped (nothing to do with what was read): %1").arg(skipped));
    print(QStringLiteral("message boxes: %1 (questions answered 否 or 取消)").arg(boxes));
    print(QStringLiteral("time: %1 s").arg(elapsed, 0, 'f', 1));
    bool ok = true;
    for (const stress::Invariant& invariant : stress::checkRun(run)) {
        ok = ok && invariant.violations.isEmpty();
        print(QStringLiteral("invariant: %1: %2%3")
                  .arg(invariant.name, invariant.violations.isEmpty() ? "ok" : "FAILED",
                       invariant.detail.isEmpty() ? QString() : QStringLiteral(" (") + invariant.detail + ')'));
        for (const QString& violation : invariant.violations)
            print(QStringLiteral("  ") + violation);
    }
    db.disconnect();
    if (!ok) {
        // The clients' records, for a look at what happened.
        dir.setAutoRemove(false);
        print(QStringLiteral("the clients' records (one JSON line per operation): ") + dir.path());
    }
    return ok ? 0 : 1;
}

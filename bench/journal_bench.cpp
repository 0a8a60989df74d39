// journal_write: a rights save of 100 rows (rightsetup::writeChanges: each
// level changed, one operation) on a database whose triggers journal it, over
// the same save on an identical database without the triggers (the floor).
// Both are small databases of their own: one group with 100 rights.
#include "bench/bench_common.h"
#include "host/transaction.h"
#include "rightsetup/rights_writer.h"
#include "schema/database.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QUrl>
#include <QUrlQuery>
#include <memory>

namespace bench {

namespace {

constexpr int kRows = 100;
const QString kGroup = QStringLiteral("001");

QString item(int i)
{
    return QStringLiteral("J%1").arg(i, 3, 10, QLatin1Char('0'));
}

struct JournalDatabases {
    QString journaled[2];  // by Backend
    QString plain[2];
    QStringList pgSchemas;
    std::unique_ptr<QTemporaryDir> dir;
};

JournalDatabases& databases()
{
    static JournalDatabases dbs;
    return dbs;
}

// Creates one database at `url`: the tables (with or without the journal),
// one group and its 100 rights at level 1.
bool create(const QString& url, bool journaled, QString* error)
{
    host::Transaction trans;
    trans.logChanges = false;
    if (!trans.connect(url) || !schema::createTables(trans, journaled)) {
        *error = trans.sqlerrtext;
        return false;
    }
    if (trans.execute(QStringLiteral("insert into s_group ( group_id , group_name ) values ( ? , ? )"),
                      {kGroup, QStringLiteral("bench")})
        != 0) {
        *error = trans.sqlerrtext;
        return false;
    }
    for (int i = 0; i < kRows; ++i)
        if (trans.execute(QStringLiteral("insert into s_group_power ( group_id , m_item_code , group_right ) values "
                                         "( ? , ? , ? )"),
                          {kGroup, item(i), QStringLiteral("1")})
            != 0) {
            *error = trans.sqlerrtext;
            return false;
        }
    if (trans.commit() != 0) {
        *error = trans.sqlerrtext;
        return false;
    }
    return true;
}

// The URL of the database of `backend` (created on first use), or empty.
QString databaseUrl(benchmark::State& state, Backend backend, bool journaled)
{
    JournalDatabases& dbs = databases();
    QString& url = journaled ? dbs.journaled[int(backend)] : dbs.plain[int(backend)];
    if (!url.isEmpty())
        return url;
    QString made;
    if (backend == Backend::Sqlite) {
        if (!dbs.dir)
            dbs.dir = std::make_unique<QTemporaryDir>();
        made = dbs.dir->filePath(journaled ? QStringLiteral("journaled.db") : QStringLiteral("plain.db"));
    } else {
        const QString base = qEnvironmentVariable("WMS_PG_URL");
        const QString name = QStringLiteral("wms_bench_journal_%1_%2")
                                 .arg(journaled ? QStringLiteral("on") : QStringLiteral("off"))
                                 .arg(QCoreApplication::applicationPid());
        host::Transaction admin;
        if (!admin.connect(base) || admin.execute(QStringLiteral("create schema %1").arg(name)) != 0) {
            state.SkipWithError(qPrintable(admin.sqlerrtext));
            return {};
        }
        dbs.pgSchemas << name;
        QUrl parsed(base);
        QUrlQuery query(parsed);
        query.addQueryItem(QStringLiteral("schema"), name);
        parsed.setQuery(query);
        made = parsed.toString();
    }
    QString error;
    if (!create(made, journaled, &error)) {
        state.SkipWithError(qPrintable(error));
        return {};
    }
    url = made;
    return url;
}

// Each iteration sets every level to the other one of 1 and 2.
void save(benchmark::State& state, Backend backend, bool journaled)
{
    const QString url = databaseUrl(state, backend, journaled);
    if (url.isEmpty())
        return;
    host::sqlca.disconnect();
    if (!host::sqlca.connect(url)) {
        state.SkipWithError(qPrintable(host::sqlca.sqlerrtext));
        return;
    }
    host::sqlca.logChanges = false;  // the host's log file is not what is measured
    QString level = host::sqlca.selectValue(QStringLiteral("select group_right from s_group_power where "
                                                           "group_id = ? and m_item_code = ?"),
                                            {kGroup, item(0)})
                        .toString();
    for (auto _ : state) {
        const QString next = level == QLatin1String("1") ? QStringLiteral("2") : QStringLiteral("1");
        QList<rightsetup::RightChange> changes;
        changes.reserve(kRows);
        for (int i = 0; i < kRows; ++i)
            changes.append({kGroup, item(i), level, next});
        if (rightsetup::writeChanges(changes) != rightsetup::WriteResult::Written) {
            state.SkipWithError("the save was refused");
            break;
        }
        level = next;
    }
    host::sqlca.logChanges = true;
    host::sqlca.disconnect();
}

std::string name(Backend backend, bool floor)
{
    return std::string("journal_write_") + suffix(backend) + (floor ? "_floor" : "");
}

}  // namespace

void registerJournalBenchmarks(Backend backend)
{
    benchmark::RegisterBenchmark(name(backend, true).c_str(), save, backend, false)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(name(backend, false).c_str(), save, backend, true)->Unit(benchmark::kMillisecond);
}

void dropJournalDatabases()
{
    JournalDatabases& dbs = databases();
    if (!dbs.pgSchemas.isEmpty()) {
        host::Transaction admin;
        if (admin.connect(qEnvironmentVariable("WMS_PG_URL")))
            for (const QString& schema : std::as_const(dbs.pgSchemas))
                (void)admin.execute(QStringLiteral("drop schema %1 cascade").arg(schema));
    }
    dbs.dir.reset();
}

}  // namespace bench

#include "tests/support/test_db.h"

#include "host/functions.h"
#include "host/window_registry.h"
#include "schema/database.h"
#include "schema/journal_ddl.h"
#include "dataviews/dataviews.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QUrl>
#include <QUrlQuery>

namespace testing_support {

std::string backendName(const ::testing::TestParamInfo<Backend>& info)
{
    return info.param == Backend::Sqlite ? "Sqlite" : "Postgres";
}

void DbFixture::SetUp()
{
    dataviews::registerDataViews();
    host::sqlca.disconnect();
    host::gs_user_id = QStringLiteral("admin");
    if (backend() == Backend::Sqlite) {
        dir_ = std::make_unique<QTemporaryDir>();
        ASSERT_TRUE(dir_->isValid());
        url_ = dir_->filePath(QStringLiteral("rights.db"));
        host::setLogFile(dir_->filePath(QStringLiteral("host.log")));
    } else {
        const QString base = qEnvironmentVariable("WMS_PG_URL");
        if (base.isEmpty()) {
            if (!qEnvironmentVariableIsEmpty("CI"))
                FAIL() << "WMS_PG_URL is not set: the PostgreSQL tests cannot reach their server";
            GTEST_SKIP() << "PostgreSQL tests skipped: WMS_PG_URL is not set (make test starts a server)";
        }
        dir_ = std::make_unique<QTemporaryDir>();
        host::setLogFile(dir_->filePath(QStringLiteral("host.log")));
        host::Transaction admin;
        ASSERT_TRUE(admin.connect(base)) << "PostgreSQL server unreachable at " << base.toStdString()
                                         << ": " << admin.sqlerrtext.toStdString();
        pgSchema_ = QStringLiteral("t_%1_%2")
                        .arg(QCoreApplication::applicationPid())
                        .arg(QRandomGenerator::global()->generate64() % 1000000000ULL);
        ASSERT_EQ(admin.execute(QStringLiteral("create schema %1").arg(pgSchema_)), 0)
            << admin.sqlerrtext.toStdString();
        QUrl parsed(base);
        QUrlQuery query(parsed);
        query.addQueryItem(QStringLiteral("schema"), pgSchema_);
        parsed.setQuery(query);
        url_ = parsed.toString();
    }
    ASSERT_TRUE(host::sqlca.connect(url_)) << host::sqlca.sqlerrtext.toStdString();
    ASSERT_TRUE(schema::createTables(host::sqlca)) << host::sqlca.sqlerrtext.toStdString();
}

void DbFixture::TearDown()
{
    host::WindowRegistry::closeAll();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    host::sqlca.disconnect();
    if (!pgSchema_.isEmpty()) {
        host::Transaction admin;
        if (admin.connect(qEnvironmentVariable("WMS_PG_URL"))) {
            EXPECT_EQ(admin.execute(QStringLiteral("drop schema %1 cascade").arg(pgSchema_)), 0)
                << admin.sqlerrtext.toStdString();
        }
    }
    dir_.reset();
}

void DbFixture::loadSample()
{
    ASSERT_TRUE(schema::loadSampleData(host::sqlca)) << host::sqlca.sqlerrtext.toStdString();
}

void DbFixture::dropJournal()
{
    const host::Dialect dialect = host::sqlca.dialect();
    for (const schema::JournaledTable& table : schema::journaledTables()) {
        for (const QString& trigger : schema::journalTriggerNames(dialect, table.name))
            exec(dialect == host::Dialect::Postgres ? QStringLiteral("drop trigger %1 on %2").arg(trigger, table.name)
                                                    : QStringLiteral("drop trigger %1").arg(trigger));
        if (dialect == host::Dialect::Postgres)
            exec(QStringLiteral("drop function %1()").arg(schema::journalFunctionName(table.name)));
    }
    exec(QStringLiteral("drop table s_right_journal"));
    if (dialect == host::Dialect::Sqlite)
        exec(QStringLiteral("drop table %1").arg(schema::s_journal_operator));
}

void DbFixture::unjournaled(host::Transaction& trans, const QString& sql, const QVariantList& params)
{
    ASSERT_TRUE(trans.beginWrite()) << trans.sqlerrtext.toStdString();
    const QVariant last = trans.selectValue(QStringLiteral("select coalesce(max(id), 0) from s_right_journal"));
    ASSERT_EQ(trans.execute(sql, params), 0) << sql.toStdString() << ": " << trans.sqlerrtext.toStdString();
    ASSERT_EQ(trans.execute(QStringLiteral("delete from s_right_journal where id > ?"), {last.toLongLong()}), 0)
        << trans.sqlerrtext.toStdString();
    ASSERT_EQ(trans.commit(), 0) << trans.sqlerrtext.toStdString();
}

void DbFixture::exec(const QString& sql, const QVariantList& params)
{
    ASSERT_EQ(host::sqlca.execute(sql, params), 0) << sql.toStdString() << ": "
                                                   << host::sqlca.sqlerrtext.toStdString();
}

QVariant DbFixture::value(const QString& sql, const QVariantList& params)
{
    return host::sqlca.selectValue(sql, params);
}

long long DbFixture::count(const QString& table, const QString& where, const QVariantList& params)
{
    QString sql = QStringLiteral("select count(*) from %1").arg(table);
    if (!where.isEmpty())
        sql += QStringLiteral(" where ") + where;
    return host::sqlca.selectValue(sql, params).toLongLong();
}

}  // namespace testing_support

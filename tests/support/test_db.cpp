#include "tests/support/test_db.h"

#include "host/functions.h"
#include "host/window_registry.h"
#include "schema/database.h"
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

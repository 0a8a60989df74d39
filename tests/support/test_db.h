#pragma once
// Database fixture: every test runs on SQLite and on PostgreSQL, on a database
// of its own (a temporary SQLite file; a PostgreSQL schema of its own on the
// server named by WMS_PG_URL). host::sqlca is connected to it and the seven
// tables exist; loadSample() fills them with the sample data.
//
// Without WMS_PG_URL the PostgreSQL cases are skipped with a line saying so,
// except under CI, where they fail.

#include "host/transaction.h"
#include "tests/support/printers.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace testing_support {

enum class Backend { Sqlite, Postgres };

std::string backendName(const ::testing::TestParamInfo<Backend>& info);

class DbTest : public ::testing::TestWithParam<Backend> {
protected:
    void SetUp() override;
    void TearDown() override;

    Backend backend() const { return GetParam(); }
    // The URL of this test's database, for a second client.
    QString url() const { return url_; }
    void loadSample();

    // Runs a statement on sqlca and expects it to succeed.
    void exec(const QString& sql, const QVariantList& params = {});
    // A one-value query on sqlca (null when no row).
    QVariant value(const QString& sql, const QVariantList& params = {});
    long long count(const QString& table, const QString& where = {}, const QVariantList& params = {});

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString url_;
    QString pgSchema_;
};

}  // namespace testing_support

#define WMS_INSTANTIATE_DB_TESTS(Suite)                                                         \
    INSTANTIATE_TEST_SUITE_P(Db, Suite,                                                         \
                             ::testing::Values(::testing_support::Backend::Sqlite,             \
                                               ::testing_support::Backend::Postgres),           \
                             ::testing_support::backendName)

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

// The database of one test; the derived fixture says which backend.
class DbFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    virtual Backend backend() const = 0;
    // The URL of this test's database, for a second client.
    QString url() const { return url_; }
    void loadSample();
    // Drops the change journal's triggers and tables: a database made before
    // the database kept the journal.
    void dropJournal();
    // Runs one statement on `trans` and commits it without a journal entry:
    // the entries its triggers wrote go in the same transaction.
    void unjournaled(host::Transaction& trans, const QString& sql, const QVariantList& params = {});

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

// A test run once on each backend (WMS_INSTANTIATE_DB_TESTS).
class DbTest : public DbFixture, public ::testing::WithParamInterface<Backend> {
protected:
    Backend backend() const override { return GetParam(); }
};

// A test on each backend with the sample data loaded.
class SampleDbTest : public DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        loadSample();
    }
};

}  // namespace testing_support

#define WMS_INSTANTIATE_DB_TESTS(Suite)                                                         \
    INSTANTIATE_TEST_SUITE_P(Db, Suite,                                                         \
                             ::testing::Values(::testing_support::Backend::Sqlite,             \
                                               ::testing_support::Backend::Postgres),           \
                             ::testing_support::backendName)

// The CREATE TABLE script a host runs (and the package installs as
// share/wms-rights/sql/*.sql) builds the tables the module works on.
#include "host/transaction.h"
#include "journal_core/journal.h"
#include "schema/database.h"
#include "schema/tables.h"
#include "tests/support/test_db.h"

namespace {

using testing_support::Backend;

class DdlScript : public testing_support::DbTest {
protected:
    host::Dialect dialect() const { return backend() == Backend::Sqlite ? host::Dialect::Sqlite : host::Dialect::Postgres; }
};

TEST_P(DdlScript, CreatesTablesThatHoldTheSampleAndEnforceLengths)
{
    EXPECT_EQ(schema::createStatements(dialect()), schema::createStatements(host::sqlca));

    ASSERT_TRUE(schema::dropTables(host::sqlca)) << host::sqlca.sqlerrtext.toStdString();
    ASSERT_FALSE(schema::tablesExist(host::sqlca));
    const QStringList statements = schema::createScript(dialect()).split(QStringLiteral(";\n"), Qt::SkipEmptyParts);
    // Seven tables, the journal, its index and triggers (SQLite: and the operator table).
    ASSERT_EQ(statements.size(), dialect() == host::Dialect::Postgres ? 7 + 2 + 6 * 2 : 7 + 3 + 6 * 3);
    for (const QString& statement : statements)
        ASSERT_EQ(host::sqlca.execute(statement), 0) << host::sqlca.sqlerrtext.toStdString();
    ASSERT_EQ(host::sqlca.commit(), 0);
    EXPECT_TRUE(schema::tablesExist(host::sqlca));
    EXPECT_TRUE(journal::journalAvailable(host::sqlca));
    ASSERT_TRUE(schema::loadSampleData(host::sqlca)) << host::sqlca.sqlerrtext.toStdString();
    EXPECT_EQ(count(schema::s_group_power), 22);

    // A group id one character too long, and a second row with the same key.
    EXPECT_EQ(host::sqlca.execute(QStringLiteral("insert into s_group (group_id, group_name) values (?, ?)"),
                                  {QStringLiteral("0001"), QStringLiteral("x")}),
              -1);
    ASSERT_EQ(host::sqlca.rollback(), 0);
    EXPECT_EQ(host::sqlca.execute(QStringLiteral("insert into s_group (group_id, group_name) values (?, ?)"),
                                  {QStringLiteral("001"), QStringLiteral("x")}),
              -1);
    ASSERT_EQ(host::sqlca.rollback(), 0);
}

WMS_INSTANTIATE_DB_TESTS(DdlScript);

}  // namespace

#pragma once
// The journal's tests: the sample data, E006 as the module's operator, one
// statement as an operation of its own, the entries oldest first.

#include "host/functions.h"
#include "host/operation.h"
#include "journal_core/journal.h"
#include "tests/support/test_db.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace journal_test {

inline QJsonObject object(const QString& json)
{
    return QJsonDocument::fromJson(json.toUtf8()).object();
}

class JournalFixture : public testing_support::SampleDbTest {
protected:
    void SetUp() override
    {
        SampleDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        host::gs_user_id = QStringLiteral("E006");
    }
    // Runs one statement on `trans` as an operation of its own and commits it.
    void change(host::Transaction& trans, const QString& sql, const QVariantList& params = {})
    {
        host::Operation operation(trans);
        ASSERT_EQ(operation.execute(sql, params), 0) << sql.toStdString() << ": " << operation.error().toStdString();
        ASSERT_EQ(operation.commit(), 0) << operation.error().toStdString();
    }
    void change(const QString& sql, const QVariantList& params = {}) { change(host::sqlca, sql, params); }
    QList<journal::JournalEntry> entries()
    {
        QList<journal::JournalEntry> read;
        journal::JournalFilter filter;
        filter.newestFirst = false;
        EXPECT_EQ(journal::readJournal(host::sqlca, filter, &read), 0) << host::sqlca.sqlerrtext.toStdString();
        return read;
    }
};

}  // namespace journal_test

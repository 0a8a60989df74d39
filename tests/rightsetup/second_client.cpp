#include "tests/rightsetup/second_client.h"

#include "host/transaction.h"

#include <gtest/gtest.h>

namespace rightsetup_test {

void commitOnOtherClient(const QString& url, const QString& sql, const QVariantList& params)
{
    host::Transaction other;
    ASSERT_TRUE(other.connect(url)) << other.sqlerrtext.toStdString();
    ASSERT_EQ(other.execute(sql, params), 0) << sql.toStdString() << ": " << other.sqlerrtext.toStdString();
    ASSERT_EQ(other.commit(), 0) << other.sqlerrtext.toStdString();
}

long long journalEntries(const QString& url)
{
    host::Transaction other;
    EXPECT_TRUE(other.connect(url)) << other.sqlerrtext.toStdString();
    return other.selectValue(QStringLiteral("select count ( * ) from s_right_journal")).toLongLong();
}

}  // namespace rightsetup_test

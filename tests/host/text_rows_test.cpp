// The rows of a read kept as text: nulls stay apart from empty text, UTF-8
// comes back whole, and a row asked wider than the read is padded with nulls.
#include "host/text_rows.h"

#include <gtest/gtest.h>

using host::TextRows;

TEST(TextRowsTest, ValuesComeBackAsReadRowByRow)
{
    TextRows rows;
    rows.reset(2);
    const QByteArray name = QStringLiteral("系统管理组").toUtf8();
    rows.append("001", 3);
    rows.append(name.constData(), name.size());
    rows.append("", 0);
    rows.append(nullptr, 0);
    ASSERT_EQ(rows.rowCount(), 2);

    const QVariantList first = rows.row(0, 2);
    EXPECT_EQ(first, (QVariantList{QStringLiteral("001"), QStringLiteral("系统管理组")}));
    const QVariantList second = rows.row(1, 3);
    ASSERT_EQ(second.size(), 3);
    EXPECT_FALSE(second.at(0).isNull());
    EXPECT_EQ(second.at(0).toString(), QString());
    EXPECT_TRUE(second.at(1).isNull());
    EXPECT_TRUE(second.at(2).isNull());  // past the read's columns
    EXPECT_EQ(rows.row(2, 2), QVariantList(2));  // past the last row
    // One value alone, as in the row.
    EXPECT_EQ(rows.value(0, 1).toString(), QStringLiteral("系统管理组"));
    EXPECT_FALSE(rows.value(1, 0).isNull());
    EXPECT_TRUE(rows.value(1, 1).isNull());
    EXPECT_TRUE(rows.value(1, 2).isNull());
    EXPECT_TRUE(rows.value(2, 0).isNull());

    rows.reset(1);
    EXPECT_EQ(rows.rowCount(), 0);
}

TEST(TextRowsTest, RowsOfValuesFromADriverAreKeptAsGiven)
{
    TextRows rows;
    rows.reset(0);
    rows.appendRow({QStringLiteral("a"), QVariant()});
    ASSERT_EQ(rows.rowCount(), 1);
    EXPECT_EQ(rows.row(0, 1), QVariantList{QStringLiteral("a")});
    const QVariantList wide = rows.row(0, 3);
    EXPECT_EQ(wide.size(), 3);
    EXPECT_TRUE(wide.at(1).isNull());
}

// The expression language of filters and finds, without a database.
#include "platform/expression.h"
#include "tests/support/printers.h"

#include <QHash>
#include <gtest/gtest.h>

using platform::Expression;
using platform::quoteLiteral;
using platform::RowContext;

namespace {

// A row of named values; a missing name is an unknown column.
RowContext rowOf(const QHash<QString, QVariant>& values, bool isNew = false)
{
    RowContext row;
    row.value = [values](const QString& column, bool* known) {
        *known = values.contains(column);
        return values.value(column);
    };
    row.isNew = [isNew] { return isNew; };
    return row;
}

bool holds(const QString& text, const RowContext& row)
{
    Expression e;
    EXPECT_TRUE(e.parse(text)) << text.toStdString() << ": " << e.error().toStdString();
    bool ok = false;
    const bool result = e.test(row, &ok);
    EXPECT_TRUE(ok) << text.toStdString() << ": " << e.error().toStdString();
    return result;
}

}  // namespace

TEST(ExpressionTest, ComparesStringsAsStringsAndNumbersAsNumbers)
{
    const auto row = rowOf({{"code", QString("01")}, {"level", QString("2")}, {"name", QString("仓库")}});
    EXPECT_TRUE(holds("code = '01'", row));
    EXPECT_FALSE(holds("code = 1", row));        // a string column compares as a string
    EXPECT_TRUE(holds("level > '10'", row));     // "2" > "10" as strings
    EXPECT_TRUE(holds("level >= 1", row));
    EXPECT_TRUE(holds("name = \"仓库\"", row));
    EXPECT_TRUE(holds("2 > 10 or 10 > 2", row));
    EXPECT_FALSE(holds("2 > 10", row));
    EXPECT_TRUE(holds("-1 < 0", row));
    EXPECT_TRUE(holds("code <> 'x' and not (level = '1') AND (name = '仓库' OR code = 'y')", row));
    EXPECT_TRUE(holds("code != '02'", row));
}

TEST(ExpressionTest, NullEmptyAndBlankAreDifferentValues)
{
    const auto row = rowOf({{"a", QVariant()}, {"b", QString("")}, {"c", QString(" ")}});
    EXPECT_TRUE(holds("isnull(a)", row));
    EXPECT_FALSE(holds("isnull(b)", row));
    EXPECT_FALSE(holds("a = ''", row));
    EXPECT_FALSE(holds("a <> ''", row));  // every comparison with null is false
    EXPECT_TRUE(holds("b = ''", row));
    EXPECT_FALSE(holds("c = ''", row));
    EXPECT_TRUE(holds("c = ' '", row));
    EXPECT_TRUE(holds("not isnull(b) and not isnull(c)", row));
}

TEST(ExpressionTest, QuotedLiteralsRoundTripEveryCharacter)
{
    for (const QString& value : {QString("a'b"), QString("it''s"), QString("x\"y"), QString("back\\slash'"),
                                QString("' or 1 = 1 or 'a' = '"), QString(""), QString(" 空 格 ")}) {
        const auto row = rowOf({{"k", value}});
        EXPECT_TRUE(holds("k = " + quoteLiteral(value), row)) << value.toStdString();
        EXPECT_FALSE(holds("k = " + quoteLiteral(value + "x"), row)) << value.toStdString();
    }
    EXPECT_EQ(quoteLiteral("a'b"), QString("'a''b'"));
    const auto row = rowOf({{"k", QString("a'b")}});
    EXPECT_TRUE(holds("k = 'a\\'b'", row));
    EXPECT_TRUE(holds("k = \"a'b\"", row));
}

TEST(ExpressionTest, IfAndIsRowNewGiveTheProtectRule)
{
    Expression e;
    ASSERT_TRUE(e.parse("if (isrownew(), 0, 1)"));
    QVariant value;
    ASSERT_TRUE(e.evaluate(rowOf({}, true), &value));
    EXPECT_EQ(value.toInt(), 0);
    EXPECT_FALSE(e.test(rowOf({}, true)));
    EXPECT_TRUE(e.test(rowOf({}, false)));
    EXPECT_TRUE(holds("IsRowNew()", rowOf({}, true)));
}

TEST(ExpressionTest, MalformedExpressionsAreErrorsNotCrashes)
{
    for (const char* text : {"", "   ", "group_id = 'abc", "group_id =", "= 'a'", "(a = 'b'", "a = 'b')", "a = = 'b'",
                             "a = 'b' and", "and a = 'b'", "a 'b'", "isnull()", "isnull(a, b)", "nosuch(a)",
                             "a = 'b' # c", "a < b < c", "12abc = a", "not", "a = 'x' or or b = 'y'"}) {
        Expression e;
        EXPECT_FALSE(e.parse(QString::fromUtf8(text))) << text;
        EXPECT_FALSE(e.error().isEmpty()) << text;
        EXPECT_TRUE(e.isEmpty()) << text;
        bool ok = true;
        EXPECT_FALSE(e.test(rowOf({{"a", QString("b")}}), &ok));
        EXPECT_FALSE(ok) << text;
    }
}

TEST(ExpressionTest, EvaluationErrorsAreReported)
{
    Expression unknown;
    ASSERT_TRUE(unknown.parse("nosuch = 'a'"));
    EXPECT_EQ(unknown.columns(), QStringList{"nosuch"});
    bool ok = true;
    EXPECT_FALSE(unknown.test(rowOf({{"a", QString("x")}}), &ok));
    EXPECT_FALSE(ok);
    EXPECT_TRUE(unknown.error().contains("nosuch"));

    Expression notACondition;
    ASSERT_TRUE(notACondition.parse("a"));
    ok = true;
    notACondition.test(rowOf({{"a", QString("x")}}), &ok);
    EXPECT_FALSE(ok);
}

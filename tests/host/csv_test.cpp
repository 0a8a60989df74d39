// CSV cells a spreadsheet would run as formulas are written inert, and the
// reader's restoring gives every value back exactly.
#include "host/csv.h"
#include "tests/support/hostile_csv.h"
#include "tests/support/printers.h"

#include <gtest/gtest.h>

TEST(Csv, FormulaCellsGetOneApostropheAndComeBackExactly)
{
    QStringList values = testing_support::kHostileGroupIds + testing_support::kHostileGroupNames +
                         testing_support::kHostileItemCodes;
    values << "=" << "+" << "-" << "@" << "\t" << "\r" << "'" << "''" << "'''-" << "-1" << "'a" << "a=b" << "" << " =x";
    for (const QString& value : std::as_const(values)) {
        const QString inert = host::csvInert(value);
        EXPECT_FALSE(!inert.isEmpty() && QStringLiteral("=+-@\t\r").contains(inert.at(0))) << value.toStdString();
        EXPECT_EQ(host::csvRestored(inert), value) << inert.toStdString();
        // The written field, quoted or not, begins with neither a formula character nor a quote before one.
        const QString field = host::csvField(value);
        const QString opened = field.startsWith('"') ? field.mid(1) : field;
        EXPECT_EQ(opened.isEmpty() ? QChar() : opened.at(0), inert.isEmpty() ? QChar() : inert.at(0)) << field.toStdString();
    }
    // Only what needs it changes: plain text, a lone apostrophe and a space first stay as they are.
    EXPECT_EQ(host::csvInert("=x"), "'=x");
    EXPECT_EQ(host::csvInert("'=x"), "''=x");
    EXPECT_EQ(host::csvInert("'a"), "'a");
    EXPECT_EQ(host::csvInert(" =x"), " =x");
    EXPECT_EQ(host::csvRestored("'a"), "'a");
    EXPECT_EQ(host::csvRestored("'"), "'");
    EXPECT_EQ(host::csvLine({"=1", "\tx,y", "a"}), "'=1,\"'\tx,y\",a\r\n");
}

// The change computation shared by the previews and the writer, and the CSV
// reader, without a database.
#include "rightsetup/matrix_csv.h"
#include "rightsetup/rights_diff.h"
#include "rights/review.h"
#include "tests/support/printers.h"

#include <gtest/gtest.h>

using namespace rightsetup;

namespace {

const GroupRights kSource = {{"a", "2"}, {"b", "0"}, {"c", "1"}};
const GroupRights kTarget = {{"b", "1"}, {"c", "0"}, {"d", "2"}};

}  // namespace

TEST(RightsDiff, ReplaceGivesTheTargetExactlyTheSourcesRows)
{
    const QList<RightChange> changes = copyChanges(kSource, kTarget, "T", CopyMode::Replace);
    EXPECT_EQ(changes, QList<RightChange>({{"T", "a", std::nullopt, QString("2")},
                                           {"T", "b", QString("1"), QString("0")},
                                           {"T", "c", QString("0"), QString("1")},
                                           {"T", "d", QString("2"), std::nullopt}}));
    EXPECT_TRUE(copyChanges(kSource, kSource, "T", CopyMode::Replace).isEmpty());
}

TEST(RightsDiff, MergeAddsMissingRowsRaisesLowerOnesAndKeepsTheRest)
{
    const QList<RightChange> changes = copyChanges(kSource, kTarget, "T", CopyMode::Merge);
    EXPECT_EQ(changes, QList<RightChange>({{"T", "a", std::nullopt, QString("2")},
                                           {"T", "c", QString("0"), QString("1")}}));
    // An empty stored level is below every level, as the right lookup compares.
    EXPECT_EQ(copyChanges({{"a", "0"}}, {{"a", ""}}, "T", CopyMode::Merge),
              QList<RightChange>({{"T", "a", QString(""), QString("0")}}));
    EXPECT_TRUE(copyChanges({}, kTarget, "T", CopyMode::Merge).isEmpty());
}

TEST(RightsDiff, CellChangesStayInsideTheGivenGroupsAndItems)
{
    const RightCells before = {{{"g1", "a"}, "1"}, {{"g1", "b"}, "2"}, {{"g2", "a"}, "0"}};
    const RightCells after = {{{"g1", "a"}, "2"}, {{"g2", "b"}, "1"}};
    EXPECT_EQ(cellChanges(before, after, {"g1", "g2"}, {"a", "b"}),
              QList<RightChange>({{"g1", "a", QString("1"), QString("2")},
                                  {"g1", "b", QString("2"), std::nullopt},
                                  {"g2", "a", QString("0"), std::nullopt},
                                  {"g2", "b", std::nullopt, QString("1")}}));
    EXPECT_EQ(cellChanges(before, after, {"g1"}, {"a"}).size(), 1);
}

TEST(RightsDiff, CompareListsEveryItemOfEitherGroupAndTellsWhichDiffer)
{
    const QList<CompareRow> rows = compareGroups({{"a", "1"}, {"b", "2"}}, {{"b", "2"}, {"c", "0"}});
    ASSERT_EQ(rows.size(), 3);
    EXPECT_TRUE(rows.at(0).differs());
    EXPECT_FALSE(rows.at(1).differs());
    EXPECT_TRUE(rows.at(2).differs());
    EXPECT_FALSE(rows.at(2).left.has_value());
    EXPECT_EQ(repeatedCell({{"g", "a", {}, QString("1")}, {"g", "a", QString("1"), {}}}), "(g, a)");
    EXPECT_EQ(repeatedCell({{"g", "a", {}, QString("1")}, {"h", "a", {}, QString("1")}}), "");
}

TEST(MatrixCsv, ReadsWhatTheExportWritesQuotedFieldsIncluded)
{
    rights::Matrix matrix;
    matrix.groups = {"001", "002"};
    matrix.groupNames = {{"001", "a,\"b\"\r\nc"}, {"002", ""}};
    matrix.items = {"x", "y,z"};
    matrix.itemNames = {{"x", "X"}, {"y,z", "Y"}};
    matrix.cells = {{{"001", "x"}, "2"}, {{"002", "y,z"}, "0"}};
    QList<QStringList> records;
    QString error;
    ASSERT_TRUE(parseCsv(rights::matrixCsv(matrix), &records, &error)) << error.toStdString();
    EXPECT_EQ(records, QList<QStringList>({{"group_id", "group_name", "x", "y,z"},
                                           {"001", "a,\"b\"\r\nc", "2", ""},
                                           {"002", "", "", "0"}}));
    // LF line ends, no line end at the end, an empty last field.
    ASSERT_TRUE(parseCsv("a,b\nc,", &records, &error));
    EXPECT_EQ(records, QList<QStringList>({{"a", "b"}, {"c", ""}}));
    EXPECT_FALSE(parseCsv("a,\"b\"c\n", &records, &error));
    EXPECT_TRUE(error.contains("第1行")) << error.toStdString();
}

TEST(MatrixCsv, AnEmptyCellLeavesAStoredEmptyLevelAloneAndAStoredOddLevelMayStay)
{
    rights::Matrix current;
    current.groups = {"g"};
    current.groupNames = {{"g", "G"}};
    current.items = {"a", "b", "c"};
    current.itemNames = {{"a", ""}, {"b", ""}, {"c", ""}};
    current.cells = {{{"g", "a"}, ""}, {{"g", "b"}, "9"}, {{"g", "c"}, "1"}};
    MatrixFile file;
    QString error;
    ASSERT_TRUE(readMatrixFile("group_id,group_name,a,b,c\r\ng,G,,9,\r\n", &file, &error)) << error.toStdString();
    MatrixImport import;
    ASSERT_TRUE(importChanges(file, current, &import, &error)) << error.toStdString();
    EXPECT_EQ(import.changes, QList<RightChange>({{"g", "c", QString("1"), std::nullopt}}));
    ASSERT_TRUE(readMatrixFile("group_id,group_name,a\r\ng,G,9\r\n", &file, &error));
    EXPECT_FALSE(importChanges(file, current, &import, &error));
}

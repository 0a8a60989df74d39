// The change computation shared by the previews and the writer, and the CSV
// reader, without a database.
#include "rightsetup/matrix_csv.h"
#include "rightsetup/rights_diff.h"
#include "rights/review.h"
#include "tests/support/printers.h"

#include <QBuffer>
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
    const auto read = [&](const QByteArray& bytes, MatrixImport* import, QString* error) {
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        return readMatrixImport(&buffer, current, import, error);
    };
    MatrixImport import;
    QString error;
    ASSERT_EQ(read("group_id,group_name,a,b,c\r\ng,G,,9,\r\n", &import, &error), ImportRead::Read)
        << error.toStdString();
    EXPECT_EQ(import.changes, QList<RightChange>({{"g", "c", QString("1"), std::nullopt}}));
    EXPECT_EQ(read("group_id,group_name,a\r\ng,G,9\r\n", &import, &error), ImportRead::Malformed);
}

TEST(MatrixCsv, TheReaderGivesTheSameRecordsWhereverItsPiecesEnd)
{
    // Doubled quotes, CRLF and LF, line breaks and commas in quotes, an empty
    // line, Chinese, a quoted field last.
    const QString text = "group_id,group_name,a\r\n\"0\"\"1\",\"x,\r\ny\",2\r\n\r\n003,查询员,\"\"\n004,\"\"\"\",\"1\"";
    QList<QStringList> whole;
    QString error;
    ASSERT_TRUE(parseCsv(text, &whole, &error)) << error.toStdString();
    ASSERT_EQ(whole, QList<QStringList>({{"group_id", "group_name", "a"},
                                         {"0\"1", "x,\r\ny", "2"},
                                         {"003", "查询员", ""},
                                         {"004", "\"", "1"}}));
    for (qsizetype piece = 1; piece <= 8; ++piece) {
        CsvReader reader;
        QList<QStringList> records;
        const auto keep = [&records](const QStringList& record) {
            records << record;
            return true;
        };
        for (qsizetype at = 0; at < text.size(); at += piece)
            ASSERT_TRUE(reader.feed(QStringView(text).mid(at, piece), keep, &error)) << error.toStdString();
        ASSERT_TRUE(reader.finish(keep, &error)) << error.toStdString();
        EXPECT_EQ(records, whole) << "pieces of " << piece;
    }
}

TEST(MatrixCsv, ALineLongerThanAPieceIsReadWholeThoughCutInsideACharacter)
{
    rights::Matrix current;
    current.groups = {"g"};
    current.items = {"a"};
    // Three bytes a character: the pieces of a mebibyte end inside one.
    const QString name(400000, QChar(0x6743));
    QBuffer buffer;
    buffer.setData(("\xEF\xBB\xBFgroup_id,group_name,a\r\n" + name + ",名,1\r\ng,,2\r\n").toUtf8());
    ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
    MatrixImport import;
    QString error;
    ASSERT_EQ(readMatrixImport(&buffer, current, &import, &error), ImportRead::Read) << error.toStdString();
    EXPECT_EQ(import.unknownGroups, QStringList({name}));
    EXPECT_EQ(import.changes, QList<RightChange>({{"g", "a", std::nullopt, QString("2")}}));
}

TEST(MatrixCsv, UnknownCodesAreListedUpToAHundredAndCounted)
{
    rights::Matrix current;
    current.groups = {"g"};
    current.items = {"a"};
    QByteArray bytes = "group_id,group_name,a,x,y\n";
    for (int i = 0; i < 150; ++i)
        bytes += QByteArray("u") + QByteArray::number(i) + ",,1,1,1\n";
    QBuffer buffer(&bytes);
    ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
    MatrixImport import;
    QString error;
    ASSERT_EQ(readMatrixImport(&buffer, current, &import, &error), ImportRead::Read) << error.toStdString();
    EXPECT_EQ(import.unknownGroups.size(), kUnknownListed);
    EXPECT_EQ(import.unknownGroups.last(), "u99");
    EXPECT_EQ(import.unknownGroupCount, 150);
    const QStringList notes = unknownNotes(import);
    ASSERT_EQ(notes.size(), 2);
    EXPECT_TRUE(notes.at(0).startsWith("以下操作组在数据库中不存在, 未导入: u0, u1, ")) << notes.at(0).toStdString();
    EXPECT_TRUE(notes.at(0).endsWith(", u99…等150个")) << notes.at(0).toStdString();
    EXPECT_EQ(notes.at(1), "以下模块项在数据库中不存在, 未导入: x, y");
    EXPECT_TRUE(import.changes.isEmpty());

    // A progress that says stop cancels the reading.
    ASSERT_TRUE(buffer.seek(0));
    EXPECT_EQ(readMatrixImport(&buffer, current, &import, &error, [](qint64) { return false; }), ImportRead::Cancelled);
}

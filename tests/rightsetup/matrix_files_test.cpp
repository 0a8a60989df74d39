// The matrix as files: the CSV export (the console's format, with a byte
// order mark, names holding commas, quotes and line breaks), importing it
// back (no changes), importing changes after their preview, malformed files
// and unknown groups or items; codes and names that a spreadsheet would run
// as formulas; a large file's progress and its 取消; the PDF report.
#include "tests/rightsetup/matrix_fixture.h"

#include "host/csv.h"
#include "host/transaction.h"
#include "rights/review.h"
#include "rightsetup/matrix_csv.h"
#include "rightsetup/matrix_import.h"
#include "rightsetup/w_right_change_preview.h"
#include "tests/support/frame_driver.h"
#include "tests/support/hostile_csv.h"
#include "tests/support/modal_responder.h"

#include <QFile>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <memory>

using namespace rightsetup_test;

namespace {

class MatrixFilesTest : public MatrixTest {
protected:
    void SetUp() override
    {
        MatrixTest::SetUp();
        ASSERT_TRUE(dir.isValid());
    }
    QString path(const QString& name) const { return dir.filePath(name); }
    static QByteArray read(const QString& file)
    {
        QFile f(file);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll();
    }
    static void write(const QString& file, const QByteArray& bytes)
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }
    // Imports `file`, answering the preview with 应用 (or 取消); returns the
    // changes the preview listed (group/item: before → after, in words).
    QStringList importAnswering(const QString& file, bool apply, bool* committed = nullptr)
    {
        QStringList listed;
        testing_support::ModalResponder responder([&](QWidget* widget) {
            auto* preview = qobject_cast<rightsetup::w_right_change_preview*>(widget);
            ASSERT_NE(preview, nullptr) << "the modal window is not the import preview";
            QTableWidget* table = preview->dw_changes;
            for (int r = 0; r < table->rowCount(); ++r)
                listed << table->item(r, 0)->text() + "/" + table->item(r, 1)->text() + ": " +
                              table->item(r, 3)->text() + " → " + table->item(r, 4)->text();
            (apply ? preview->cb_apply : preview->cb_cancel)->click();
        });
        const bool result = matrix->importCsv(file);
        if (committed)
            *committed = result;
        return listed;
    }

    QTemporaryDir dir;
};

}  // namespace

TEST_P(MatrixFilesTest, TheCsvHasTheByteOrderMarkAndTheConsolesFormatAndImportsBackWithoutChanges)
{
    // Names that need quoting, and a line break.
    exec("update s_group set group_name = ? where group_id = ?", {"查询员, \"只读\"\n第二行", "003"});
    exec("update s_moudle_item set name = ? where m_item_code = ?", {"库存,查询", "w203"});
    ASSERT_EQ(host::sqlca.commit(), 0);
    ASSERT_NE(openMatrix(), nullptr);
    ASSERT_TRUE(matrix->exportCsv(path("m.csv")));
    const QByteArray bytes = read(path("m.csv"));
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    rights::Matrix stored;
    ASSERT_TRUE(rights::readMatrix(host::sqlca, &stored));
    EXPECT_EQ(QString::fromUtf8(bytes.mid(3)), rights::matrixCsv(stored));  // what `wms-rights matrix` prints
    const QString text = QString::fromUtf8(bytes.mid(3));
    EXPECT_TRUE(text.startsWith("group_id,group_name,003,m101,m102,w201,w202,w203,w204,w205,w301,w302\r\n"));
    EXPECT_TRUE(text.contains("003,\"查询员, \"\"只读\"\"\n第二行\",,,,0,,1,,,1,\r\n")) << text.toStdString();

    // Read back, every record has the header's fields and the name whole: no changes.
    EXPECT_FALSE(matrix->importCsv(path("m.csv")));
    EXPECT_EQ(messages.texts(), QStringList({"文件中的权限与数据库相同, 没有需要导入的修改."}));
}

TEST_P(MatrixFilesTest, AnImportShowsItsChangesAndAppliesExactlyThemInOneOperation)
{
    const QMap<QString, QString> before = dbCells();
    // Only some groups and items: the others stay as they are.
    write(path("in.csv"), "\xEF\xBB\xBFgroup_id,group_name,w201,w202,w203\r\n"
                          "003,名字不比较,,2,1\r\n"
                          "004,财务组,1,,\r\n");
    messages.answer(host::Answer::Ok);
    ASSERT_NE(openMatrix(), nullptr);

    // Cancelled: nothing written.
    const QStringList listed = importAnswering(path("in.csv"), false);
    EXPECT_EQ(listed, QStringList({"003/w201: 禁止 → 无", "003/w202: 无 → 修改", "004/w201: 无 → 查询"}));
    EXPECT_EQ(dbCells(), before);

    bool committed = false;
    EXPECT_EQ(importAnswering(path("in.csv"), true, &committed), listed);
    EXPECT_TRUE(committed);
    EXPECT_EQ(messages.texts(), QStringList({"保存成功."}));
    QMap<QString, QString> expected = before;
    expected.remove("003/w201");
    expected["003/w202"] = "2";
    expected["004/w201"] = "1";
    EXPECT_EQ(dbCells(), expected);
    EXPECT_EQ(shown("004", "w201"), "查询");
}

TEST_P(MatrixFilesTest, UnknownGroupsAndItemsAreReportedNotCreated)
{
    write(path("in.csv"), "group_id,group_name,w201,x999\n"
                          "003,,1,2\n"
                          "777,新组,2,2\n");
    ASSERT_NE(openMatrix(), nullptr);
    QStringList listed;
    QString notes;
    testing_support::ModalResponder responder([&](QWidget* widget) {
        auto* preview = qobject_cast<rightsetup::w_right_change_preview*>(widget);
        ASSERT_NE(preview, nullptr);
        notes = preview->st_notes->text();
        listed << preview->dw_changes->item(0, 0)->text() + "/" + preview->dw_changes->item(0, 1)->text();
        EXPECT_EQ(preview->dw_changes->rowCount(), 1);
        preview->cb_apply->click();
    });
    EXPECT_TRUE(matrix->importCsv(path("in.csv")));
    EXPECT_EQ(listed, QStringList({"003/w201"}));
    EXPECT_TRUE(notes.contains("以下操作组在数据库中不存在, 未导入: 777")) << notes.toStdString();
    EXPECT_TRUE(notes.contains("以下模块项在数据库中不存在, 未导入: x999")) << notes.toStdString();
    EXPECT_EQ(count("s_group", "group_id = ?", {"777"}), 0);
    EXPECT_EQ(count("s_moudle_item", "m_item_code = ?", {"x999"}), 0);
    EXPECT_EQ(count("s_group_power", "group_id = ? or m_item_code = ?", {"777", "x999"}), 0);
    EXPECT_EQ(dbCells().value("003/w201"), "1");
}

TEST_P(MatrixFilesTest, AMalformedFileIsExplainedInChineseAndChangesNothing)
{
    const QMap<QString, QString> before = dbCells();
    ASSERT_NE(openMatrix(), nullptr);
    const QList<QPair<QByteArray, QString>> cases = {
        {"", "文件是空的."},
        {"id,name,w201\r\n003,,1\r\n", "第1行应为表头"},
        {"group_id,group_name,w201\r\n003,,1,2\r\n", "第2条记录有 4 个字段, 表头有 3 个."},
        {"group_id,group_name,w201\r\n003,\"未结束,1\r\n", "引号没有结束"},
        {"group_id,group_name,w201\r\n003,a\"b,1\r\n", "未用引号括起的字段中有引号"},
        {"group_id,group_name,w201\r\n003,,9\r\n", "级别 \"9\" 无效"},
        {"group_id,group_name,w201,w201\r\n003,,1,1\r\n", "模块项 w201 出现了两次"},
        {"group_id,group_name,w201\r\n003,,1\r\n003,,2\r\n", "操作组 003 出现了两次"},
        {"group_id,group_name,w201\r\n003,\xff\xfe,1\r\n", "不是 UTF-8"},
    };
    for (const auto& [bytes, reason] : cases) {
        messages.clear();
        write(path("bad.csv"), bytes);
        EXPECT_FALSE(matrix->importCsv(path("bad.csv"))) << reason.toStdString();
        ASSERT_EQ(messages.shown().size(), 1) << reason.toStdString();
        EXPECT_TRUE(messages.shown().first().text.startsWith("文件格式不正确, 没有导入任何内容.\n"));
        EXPECT_TRUE(messages.shown().first().text.contains(reason)) << messages.shown().first().text.toStdString();
    }
    EXPECT_EQ(dbCells(), before);
}

TEST_P(MatrixFilesTest, FormulaLikeCodesAndNamesAreWrittenInertAndComeBackExactly)
{
    using namespace testing_support;
    ASSERT_TRUE(seedHostileRights([this](const QString& sql, const QVariantList& params) { exec(sql, params); }));
    ASSERT_NE(openMatrix(), nullptr);
    ASSERT_TRUE(matrix->exportCsv(path("m.csv")));
    QList<QStringList> records;
    QString error;
    ASSERT_TRUE(rightsetup::parseCsv(QString::fromUtf8(read(path("m.csv")).mid(3)), &records, &error));
    EXPECT_EQ(formulaCell(records), "");
    // Every code comes back: no unknown group or item, no change.
    EXPECT_FALSE(matrix->importCsv(path("m.csv")));
    EXPECT_EQ(messages.texts(), QStringList({"文件中的权限与数据库相同, 没有需要导入的修改."}));

    // A file written as the export writes it that changes every hostile cell:
    // 2 goes (empty cell), everything else becomes 2, on exactly those rows.
    QString text = host::csvLine(QStringList({"group_id", "group_name"}) + kHostileItemCodes);
    QMap<QString, QString> expected = dbCells();
    for (qsizetype g = 0; g < kHostileGroupIds.size(); ++g) {
        QStringList fields = {kHostileGroupIds.at(g), kHostileGroupNames.at(g)};
        for (qsizetype i = 0; i < kHostileItemCodes.size(); ++i) {
            const QString key = kHostileGroupIds.at(g) + "/" + kHostileItemCodes.at(i);
            const bool goes = hostileLevel(g, i) == "2";
            fields << (goes ? "" : "2");
            if (goes)
                expected.remove(key);
            else
                expected[key] = "2";
        }
        text += host::csvLine(fields);
    }
    write(path("in.csv"), text.toUtf8());
    messages.clear();
    messages.answer(host::Answer::Ok);
    bool committed = false;
    const QStringList listed = importAnswering(path("in.csv"), true, &committed);
    EXPECT_TRUE(committed);
    EXPECT_EQ(listed.size(), kHostileGroupIds.size() * kHostileItemCodes.size());
    EXPECT_EQ(dbCells(), expected);
}

TEST_P(MatrixFilesTest, ALargeFileShowsItsProgressWhoseCancelChangesNothing)
{
    // Over the progress dialog's threshold: a change for 003 first, then many unknown groups.
    QByteArray bytes = "group_id,group_name,w201\r\n003,,2\r\n";
    while (bytes.size() < 8 * rightsetup::kProgressFrom)
        bytes += "x" + QByteArray::number(bytes.size()) + ",未知,1\r\n";
    write(path("big.csv"), bytes);
    const QMap<QString, QString> before = dbCells();
    ASSERT_NE(openMatrix(), nullptr);
    QString shownName;
    testing_support::ModalResponder responder([&](QWidget* widget) {
        auto* progress = qobject_cast<QProgressDialog*>(widget);
        ASSERT_NE(progress, nullptr) << "the modal window is not the progress";
        shownName = progress->objectName();
        auto* cancel = progress->findChild<QPushButton*>();
        ASSERT_NE(cancel, nullptr);
        EXPECT_EQ(cancel->text(), "取消");
        cancel->click();
    });
    EXPECT_FALSE(matrix->importCsv(path("big.csv")));
    EXPECT_EQ(shownName, rightsetup::kImportProgressName);
    EXPECT_TRUE(messages.shown().isEmpty());
    EXPECT_EQ(dbCells(), before);

    // Read through, the progress out of the way (closing it would cancel):
    // the preview lists the one change and the unknown groups, counted.
    std::unique_ptr<testing_support::ModalResponder> previewResponder;
    QString listed, notes;
    testing_support::ModalResponder progressResponder([&](QWidget* widget) {
        ASSERT_NE(qobject_cast<QProgressDialog*>(widget), nullptr);
        previewResponder = std::make_unique<testing_support::ModalResponder>([&](QWidget* modal) {
            auto* preview = qobject_cast<rightsetup::w_right_change_preview*>(modal);
            ASSERT_NE(preview, nullptr) << "the modal window is not the import preview";
            listed = preview->dw_changes->item(0, 0)->text() + "/" + preview->dw_changes->item(0, 1)->text();
            notes = preview->st_notes->text();
            preview->cb_cancel->click();
        });
        widget->hide();
    });
    EXPECT_FALSE(matrix->importCsv(path("big.csv")));
    EXPECT_EQ(listed, "003/w201");
    EXPECT_TRUE(notes.startsWith("以下操作组在数据库中不存在, 未导入: x")) << notes.toStdString();
    EXPECT_TRUE(notes.contains(QString("…等%1个\n").arg(bytes.count("\r\n") - 2))) << notes.toStdString();
    EXPECT_EQ(dbCells(), before);
}

TEST_P(MatrixFilesTest, ThePdfReportIsWritten)
{
    exec("update s_group set group_name = ? where group_id = ?", {"<b>查询员</b>", "003"});
    ASSERT_EQ(host::sqlca.commit(), 0);
    ASSERT_NE(openMatrix(), nullptr);
    ASSERT_TRUE(matrix->exportPdf(path("report.pdf")));
    const QByteArray pdf = read(path("report.pdf"));
    EXPECT_TRUE(pdf.startsWith("%PDF-"));
    EXPECT_GT(pdf.size(), 2000);
    EXPECT_TRUE(pdf.trimmed().endsWith("%%EOF"));
    EXPECT_TRUE(messages.shown().isEmpty());

    EXPECT_FALSE(matrix->exportPdf(path("no/such/folder/report.pdf")));
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_TRUE(messages.shown().first().text.startsWith("无法写入审查报告"));
}

WMS_INSTANTIATE_DB_TESTS(MatrixFilesTest);

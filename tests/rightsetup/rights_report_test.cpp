// The access review's pages: where the breaks fall (a heading never ends a
// page; a table continued on a new page starts with its heading, marked
// (续), and its header row; nothing is lost or repeated), on made-up heights
// and on a generated company large enough to fill many pages; and what it
// says of the built-in admin.
#include "tests/support/test_db.h"

#include "host/transaction.h"
#include "rights/review.h"
#include "rightsetup/report_layout.h"
#include "rightsetup/rights_report.h"

#include <QFile>
#include <QTemporaryDir>

using rightsetup::ReportBlock;
using rightsetup::ReportPage;
using Kind = ReportBlock::Kind;

namespace {

ReportBlock make(Kind kind, const QString& text, qreal height)
{
    return {kind, {text}, height};
}

// A page as "H:text" (heading), "C:text" (chapter), "T" (header row),
// "text" (row or paragraph), joined with '|'.
QStringList describe(const QList<ReportPage>& pages)
{
    QStringList out;
    for (const ReportPage& page : pages) {
        QStringList parts;
        for (const ReportBlock& block : page) {
            switch (block.kind) {
            case Kind::Heading:
                parts << "H:" + block.cells.value(0);
                break;
            case Kind::Chapter:
                parts << "C:" + block.cells.value(0);
                break;
            case Kind::TableHeader:
                parts << "T";
                break;
            default:
                parts << block.cells.value(0);
            }
        }
        out << parts.join('|');
    }
    return out;
}

bool endsPageAlone(const ReportBlock& block)
{
    return block.kind == Kind::Chapter || block.kind == Kind::Heading || block.kind == Kind::TableHeader;
}

}  // namespace

TEST(ReportLayoutTest, AHeadingGoesWithItsTableAndAContinuedTableRepeatsItsHeadingAndHeaderRow)
{
    // Pages of 100: heading A (10) fits on page 1 after 85, its header row
    // (5) and first row (5) would not: all three move. B's table goes on
    // over the next page with its heading and header row again; the chapter
    // fits after it alone, not with its heading and paragraph: all move.
    QList<ReportBlock> blocks = {make(Kind::Text, "intro", 85), make(Kind::Heading, "A", 10),
                                 make(Kind::TableHeader, "", 5), make(Kind::Row, "a1", 5),
                                 make(Kind::Heading, "B", 10), make(Kind::TableHeader, "", 5)};
    for (int i = 1; i <= 30; ++i)
        blocks << make(Kind::Row, QString("b%1").arg(i), 5);
    blocks << make(Kind::Chapter, "二", 10) << make(Kind::Heading, "C", 10) << make(Kind::Text, "none", 5);
    const QList<ReportPage> pages = rightsetup::paginate(blocks, 100);
    const QStringList shown = describe(pages);
    const auto rows = [](int from, int to) {
        QStringList names;
        for (int i = from; i <= to; ++i)
            names << QString("b%1").arg(i);
        return names.join('|');
    };
    EXPECT_EQ(shown, QStringList({"intro", "H:A|T|a1|H:B|T|" + rows(1, 13), "H:B (续)|T|" + rows(14, 30),
                                  "C:二|H:C|none"}));
    ASSERT_EQ(pages.size(), 4);
    EXPECT_TRUE(pages.at(2).at(0).continued);
    EXPECT_TRUE(pages.at(2).at(1).continued);

    // A table over five pages says (续) once, not once more per page.
    QList<ReportBlock> long_ = {make(Kind::Heading, "L", 10), make(Kind::TableHeader, "", 10)};
    for (int i = 1; i <= 40; ++i)
        long_ << make(Kind::Row, QString("r%1").arg(i), 10);
    const QStringList three = describe(rightsetup::paginate(long_, 100));
    ASSERT_EQ(three.size(), 5);  // eight rows a page
    for (int p = 1; p < three.size(); ++p)
        EXPECT_TRUE(three.at(p).startsWith("H:L (续)|T|r")) << three.at(p).toStdString();
}

TEST(ReportLayoutTest, ChaptersStayWithWhatFollowsAndABlockTallerThanAPageIsNotLost)
{
    const QList<ReportBlock> blocks = {make(Kind::Text, "intro", 70), make(Kind::Chapter, "一", 10),
                                       make(Kind::Heading, "A", 10), make(Kind::TableHeader, "", 5),
                                       make(Kind::Row, "a1", 10), make(Kind::Row, "huge", 250),
                                       make(Kind::Row, "a3", 5)};
    const QStringList shown = describe(rightsetup::paginate(blocks, 100));
    EXPECT_EQ(shown, QStringList({"intro", "C:一|H:A|T|a1", "H:A (续)|T|huge", "H:A (续)|T|a3"}));
    EXPECT_TRUE(rightsetup::paginate({}, 100).isEmpty());
}

namespace {

class RightsReportTest : public testing_support::SampleDbTest {
protected:
    // 40 groups of 0 to 38 rows each over 60 items, 120 operators in one to
    // three groups each, on top of the sample data. Each group's row count.
    QMap<QString, int> generate()
    {
        QMap<QString, int> rows;
        for (int i = 1; i <= 60; ++i)
            exec("insert into s_moudle_item (m_item_code, name) values (?, ?)",
                 {QString("g%1").arg(i, 3, 10, QChar('0')), QString("生成的模块项第%1号").arg(i)});
        for (int g = 1; g <= 40; ++g) {
            const QString group = QString("G%1").arg(g, 2, 10, QChar('0'));
            exec("insert into s_group (group_id, group_name) values (?, ?)", {group, QString("生成组" + group)});
            const int count = (g * 7) % 39;
            for (int i = 1; i <= count; ++i)
                exec("insert into s_group_power (group_id, m_item_code, group_right) values (?, ?, ?)",
                     {group, QString("g%1").arg(i, 3, 10, QChar('0')), QString::number((g + i) % 3)});
            rows.insert(group, count);
        }
        for (int o = 1; o <= 120; ++o) {
            const QString id = QString("P%1").arg(o, 3, 10, QChar('0'));
            exec("insert into s_employee (id, name, dept_id, status) values (?, ?, ?, ?)",
                 {id, QString("员工" + id), "D01", "1"});
            exec("insert into s_user (id, password, status) values (?, ?, ?)", {id, "", "1"});
            for (int k = 0; k <= o % 3; ++k)
                exec("insert into s_user_group (user_code, group_code) values (?, ?)",
                     {id, QString("G%1").arg((o + 13 * k) % 40 + 1, 2, 10, QChar('0'))});
        }
        EXPECT_EQ(host::sqlca.commit(), 0);
        return rows;
    }
    QList<ReportPage> pages()
    {
        rights::Matrix matrix;
        EXPECT_TRUE(rights::readMatrix(host::sqlca, &matrix));
        QList<ReportPage> result;
        QString error;
        EXPECT_TRUE(rightsetup::rightsReportPages(matrix, &result, &error)) << error.toStdString();
        return result;
    }
};

}  // namespace

TEST_P(RightsReportTest, NoPageEndsWithAHeadingAndEveryContinuedTableStartsWithItsHeading)
{
    const QMap<QString, int> expected = generate();
    const QList<ReportPage> report = pages();
    ASSERT_GT(report.size(), 10);
    int continuedTables = 0;
    QString heading;  // the heading whose table is being read
    QMap<QString, int> rowsUnder;
    for (qsizetype p = 0; p < report.size(); ++p) {
        const ReportPage& page = report.at(p);
        ASSERT_FALSE(page.isEmpty()) << p;
        EXPECT_FALSE(endsPageAlone(page.last())) << "page " << p + 1 << " ends with " << page.last().cells.join(' ').toStdString();
        if (page.first().kind == Kind::Row)
            ADD_FAILURE() << "page " << p + 1 << " goes on with a table without its heading and header row";
        if (page.first().continued) {
            ++continuedTables;
            ASSERT_GE(page.size(), 3);
            EXPECT_EQ(page.at(0).kind, Kind::Heading);
            EXPECT_EQ(page.at(0).cells.value(0), rightsetup::continuedHeading(heading)) << p;
            EXPECT_EQ(page.at(1).kind, Kind::TableHeader);
            EXPECT_TRUE(page.at(1).continued);
            EXPECT_EQ(page.at(2).kind, Kind::Row);
        }
        for (const ReportBlock& block : page) {
            if (block.kind == Kind::Heading && !block.continued)
                heading = block.cells.value(0);
            else if (block.kind == Kind::Row)
                ++rowsUnder[heading];
        }
    }
    EXPECT_GT(continuedTables, 3);
    // Every group's rows, each once, under its own heading.
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        EXPECT_EQ(rowsUnder.value(it.key() + "  生成组" + it.key()), it.value()) << it.key().toStdString();

    // The file holds as many pages as the layout says.
    QTemporaryDir dir;
    rights::Matrix matrix;
    ASSERT_TRUE(rights::readMatrix(host::sqlca, &matrix));
    QString error;
    ASSERT_TRUE(rightsetup::writeRightsReport(dir.filePath("review.pdf"), matrix, &error)) << error.toStdString();
    QFile file(dir.filePath("review.pdf"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray pdf = file.readAll();
    EXPECT_EQ(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page "),
              report.size());
}

TEST_P(RightsReportTest, TheBuiltInAdminIsListedWithEveryRightWhateverItsGroups)
{
    // admin is in 001 on the sample data; 001 is given only 查询 on w201.
    exec("update s_group_power set group_right = ? where group_id = ? and m_item_code = ?", {"1", "001", "w201"});
    ASSERT_EQ(host::sqlca.commit(), 0);
    rights::Matrix matrix;
    ASSERT_TRUE(rights::readMatrix(host::sqlca, &matrix));
    QStringList sentences;
    QList<QStringList> adminRows;
    bool inAdmin = false;
    QStringList operatorHeadings;  // after 二、…
    bool operators = false;
    for (const ReportPage& page : pages()) {
        for (const ReportBlock& block : page) {
            operators = operators || (block.kind == Kind::Chapter && block.cells.value(0).startsWith("二"));
            if (operators && block.kind == Kind::Heading && !block.continued)
                operatorHeadings << block.cells.value(0);
            if (block.kind == Kind::Text)
                sentences << block.cells.value(0);
            if (block.kind == Kind::Heading && !block.continued)
                inAdmin = block.cells.value(0) == "admin  系统管理员";
            if (inAdmin && block.kind == Kind::Row)
                adminRows << block.cells;
        }
    }
    EXPECT_EQ(operatorHeadings.value(0), "admin  系统管理员");  // first, not after the upper-case ids
    ASSERT_EQ(adminRows.size(), matrix.items.size());
    for (qsizetype i = 0; i < adminRows.size(); ++i)
        EXPECT_EQ(adminRows.at(i), QStringList({matrix.items.at(i), matrix.itemNames.value(matrix.items.at(i)), "修改",
                                                "内置管理员"}));
    EXPECT_TRUE(sentences.contains("有效级别为操作员所在各组级别中的最高者. 内置的 admin 不受所在组的限制, "
                                   "对全部模块项都有修改权限, 下面照此列出 (授予的组: 内置管理员)."))
        << sentences.join('\n').toStdString();

    // Without an admin operator the report says so.
    exec("delete from s_user_group where user_code = ?", {"admin"});
    exec("delete from s_user where id = ?", {"admin"});
    ASSERT_EQ(host::sqlca.commit(), 0);
    sentences.clear();
    for (const ReportPage& page : pages())
        for (const ReportBlock& block : page) {
            EXPECT_FALSE(block.kind == Kind::Heading && block.cells.value(0).startsWith("admin"));
            if (block.kind == Kind::Text)
                sentences << block.cells.value(0);
        }
    EXPECT_TRUE(sentences.contains("有效级别为操作员所在各组级别中的最高者. 数据库中没有内置的 admin 操作员."));
}

WMS_INSTANTIATE_DB_TESTS(RightsReportTest);

// 权限查询: opened from the manager on the selected operator, by operator and
// by module item, filtered by level, exported as CSV for spreadsheets.
#include "tests/usergroup/manager_fixture.h"

#include "host/window_registry.h"
#include "usergroup/w_right_query.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>

using namespace usergroup_test;

class QueryTest : public ManagerTest {
protected:
    static QStringList rows(const usergroup::w_right_query* query)
    {
        QStringList out;
        for (int r = 0; r < query->dw_result->rowCount(); ++r) {
            QStringList fields;
            for (int c = 0; c < query->dw_result->columnCount(); ++c)
                fields << query->dw_result->item(r, c)->text();
            out << fields.join('|');
        }
        return out;
    }
};

TEST_P(QueryTest, ShowsTheSelectedOperatorsRightsWithTheGrantingGroups)
{
    auto* w = openManager();
    selectGroup("002");
    click(listIndex("E002"));
    w->popupMenuFor(listIndex("E002"))->command("m_right_query")->trigger();
    pump();
    auto* query = host::WindowRegistry::instanceOf<usergroup::w_right_query>("w_right_query");
    ASSERT_NE(query, nullptr);
    EXPECT_EQ(query->windowTitle(), "权限查询");
    EXPECT_EQ(query->sle_subject->text(), "E002");
    EXPECT_EQ(rows(query), QStringList({"w201|入库登记|修改|002", "w202|出库登记|修改|002", "w203|库存查询|查询|002 003",
                                        "w204|库存盘点|修改|002", "w205|库位管理|禁止|002",
                                        "w301|进出库报表|查询|002 003"}));

    query->ddlb_level->setCurrentIndex(query->ddlb_level->findData("1"));
    EXPECT_EQ(rows(query), QStringList({"w203|库存查询|查询|002 003", "w301|进出库报表|查询|002 003"}));

    // By item: every operator holding a row for it.
    query->ddlb_level->setCurrentIndex(0);
    query->rb_item->setChecked(true);
    query->sle_subject->setText("w205");
    query->query();
    EXPECT_EQ(rows(query), QStringList({"E001|张伟|禁止|002", "E002|王芳|禁止|002", "E006|杨磊|修改|001",
                                        "admin|系统管理员|修改|001"}));
    EXPECT_TRUE(messages.shown().isEmpty());

    // An empty subject is refused with a message.
    query->sle_subject->clear();
    query->query();
    EXPECT_EQ(messages.texts(), QStringList({"模块项不能为空."}));
}

TEST_P(QueryTest, ExportsCsvWithAByteOrderMarkQuotedFieldsAndNoFormula)
{
    exec("update s_moudle_item set name = ? where m_item_code = ?", {"入库,\"登记\"", "w201"});
    exec("update s_moudle_item set name = ? where m_item_code = ?", {"=HYPERLINK(\"http://x\")", "w203"});
    EXPECT_EQ(host::sqlca.commit(), 0);
    auto* query = qobject_cast<usergroup::w_right_query*>(host::WindowRegistry::open("w_right_query", "E001"));
    pump();
    ASSERT_NE(query, nullptr);
    QTemporaryDir dir;
    ASSERT_TRUE(query->exportCsv(dir.filePath("rights.csv")));
    QFile file(dir.filePath("rights.csv"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    const QStringList lines = QString::fromUtf8(bytes.mid(3)).split("\r\n", Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines.at(0), "模块项,名称,有效级别,授予的组");
    EXPECT_EQ(lines.at(1), "w201,\"入库,\"\"登记\"\"\",修改,002");
    // A name a spreadsheet would run as a formula is written inert.
    EXPECT_EQ(lines.filter("w203,").value(0).section(',', 0, 1), "w203,\"'=HYPERLINK(\"\"http://x\"\")\"")
        << lines.join('|').toStdString();
}

WMS_INSTANTIATE_DB_TESTS(QueryTest);

// Who can do what and why: the effective levels and granting groups agree
// with f_check_right and f_button_right for every operator × item of a
// generated database, on both databases; CSV fields survive commas, quotes
// and line breaks.
#include "host/csv.h"
#include "rights/f_button_right.h"
#include "rights/f_check_right.h"
#include "rights/lookup.h"
#include "rights/review.h"
#include "rights_fixture.h"

#include <QWidget>
#include <random>

namespace {

class ReviewTest : public RightsTest {
protected:
    // 12 operators in 1–3 of 6 groups; 10 items; random levels "0", "1", "2",
    // an empty level and null among them.
    void generate()
    {
        std::mt19937 random(11);
        for (int u = 0; u < 12; ++u) {
            std::uniform_int_distribution<int> groupsOf(1, 3), anyGroup(0, 5);
            QStringList taken;
            for (int n = groupsOf(random); n > 0; --n) {
                const QString group = QStringLiteral("G%1").arg(anyGroup(random));
                if (!taken.contains(group)) {
                    taken << group;
                    member(QStringLiteral("U%1").arg(u), group);
                }
            }
        }
        const QVariantList levels = {"0", "1", "2", "2", "1", "", QVariant()};
        std::uniform_int_distribution<int> anyLevel(-3, int(levels.size()) - 1);
        for (int g = 0; g < 6; ++g)
            for (int i = 0; i < 10; ++i)
                if (const int l = anyLevel(random); l >= 0)
                    exec("insert into s_group_power (group_id, m_item_code, group_right) values (?, ?, ?)",
                         {QStringLiteral("G%1").arg(g), QStringLiteral("I%1").arg(i), levels.at(l)});
        commit();
    }
};

TEST_P(ReviewTest, EffectiveLevelsAgreeWithTheChecksForEveryPair)
{
    generate();
    for (int u = 0; u < 12; ++u) {
        const QString op = QStringLiteral("U%1").arg(u);
        QList<rights::Grant> grants;
        ASSERT_TRUE(rights::rightsOf(host::sqlca, op, &grants)) << host::sqlca.sqlerrtext.toStdString();
        for (int i = 0; i < 10; ++i) {
            const QString item = QStringLiteral("I%1").arg(i);
            const auto it = std::find_if(grants.begin(), grants.end(),
                                         [&](const rights::Grant& g) { return g.subject == item; });
            const QString level = it == grants.end() ? QString() : it->level;
            for (const char* required : {"0", "1", "2", ""}) {
                const bool expected = !level.isNull() && level >= QLatin1String(required);
                EXPECT_EQ(rights::f_check_right(item, required, op), expected)
                    << op.toStdString() << " " << item.toStdString() << " " << required;
            }
            QWidget window;
            window.setProperty("tag", item);
            host::gs_user_id = op;
            EXPECT_EQ(rights::f_button_right(&window), rights::levelNumber(level)) << op.toStdString();
            host::gs_user_id = "admin";
            // The operator is among the holders of the item, with the same level and groups.
            QList<rights::Grant> holders;
            ASSERT_TRUE(rights::holdersOf(host::sqlca, item, QString(), &holders));
            const auto holder = std::find_if(holders.begin(), holders.end(),
                                             [&](const rights::Grant& g) { return g.subject == op; });
            ASSERT_EQ(holder != holders.end(), it != grants.end()) << op.toStdString() << item.toStdString();
            if (holder != holders.end()) {
                EXPECT_EQ(holder->level, it->level);
                EXPECT_EQ(holder->groups, it->groups);
            }
        }
    }
}

TEST_P(ReviewTest, GrantingGroupsAreThoseHoldingTheEffectiveLevel)
{
    standardRights();  // E1: "1" through 001, "2" through 002 on w201
    member("E1", "005");
    power("005", "w201", "2");
    commit();
    QList<rights::Grant> grants;
    ASSERT_TRUE(rights::rightsOf(host::sqlca, "E1", &grants));
    ASSERT_EQ(grants.size(), 1);
    EXPECT_EQ(grants.first().level, "2");
    EXPECT_EQ(grants.first().groups, QStringList({"002", "005"}));

    QList<rights::Grant> holders;
    ASSERT_TRUE(rights::holdersOf(host::sqlca, "w201", "1", &holders));
    QStringList ids;
    for (const auto& h : holders)
        ids << h.subject + "=" + h.level;
    EXPECT_EQ(ids, QStringList({"E1=2"}));  // E2 holds only "0"
    ASSERT_TRUE(rights::holdersOf(host::sqlca, "w201", QString(), &holders));
    EXPECT_EQ(holders.size(), 2);
}

TEST_P(ReviewTest, TheMatrixHoldsEveryStoredCell)
{
    standardRights();
    exec("insert into s_group (group_id, group_name) values (?, ?)", {"001", "甲"});
    exec("insert into s_moudle_item (m_item_code, name) values (?, ?)", {"w201", "入库"});
    commit();
    rights::Matrix matrix;
    ASSERT_TRUE(rights::readMatrix(host::sqlca, &matrix));
    EXPECT_EQ(matrix.groups, QStringList({"001"}));
    EXPECT_EQ(matrix.items, QStringList({"w201", "w202"}));  // w202 has rights but no item row
    EXPECT_EQ(matrix.cells.value({"001", "w201"}), "1");
    EXPECT_FALSE(matrix.cells.contains({"001", "w202"}));
    EXPECT_EQ(rights::levelWord("2"), "修改");
    EXPECT_EQ(rights::levelWord(QString(), false), "无");
}

WMS_INSTANTIATE_DB_TESTS(ReviewTest);

TEST(Csv, FieldsAreQuotedAsTheRfcSays)
{
    EXPECT_EQ(host::csvLine({"a", "b c", "张伟"}), "a,b c,张伟\r\n");
    EXPECT_EQ(host::csvLine({"a,b", "say \"hi\"", "two\nlines", ""}), "\"a,b\",\"say \"\"hi\"\"\",\"two\nlines\",\r\n");
    EXPECT_EQ(QByteArray(host::kUtf8Bom), QByteArray("\xEF\xBB\xBF"));
}

}  // namespace

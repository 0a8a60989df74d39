// The rows of the benchmark database: the same on every run, within the
// column lengths, free of repeated keys (the primary keys would refuse them
// half way through a load), and with the two big groups the window benchmarks
// rely on.
#include "bench/dataset.h"
#include "bench/pg_client.h"
#include "schema/tables.h"

#include <QString>
#include <gtest/gtest.h>
#include <map>
#include <set>

namespace {

using bench::Dataset;

const Dataset& data()
{
    static const Dataset rows = bench::generateDataset();
    return rows;
}

// Length in characters, as the columns count it.
int chars(const std::string& utf8)
{
    return int(QString::fromStdString(utf8).size());
}

TEST(BenchDataset, CodesArePaddedToTheirWidth)
{
    EXPECT_EQ(bench::operatorCode(42), "U00042");
    EXPECT_EQ(bench::operatorCode(bench::kOperators - 1), "U19999");
    EXPECT_EQ(bench::itemCodeOf(7), "M0007");
    EXPECT_EQ(bench::itemCodeOf(bench::kItems - 1), "M1999");
    EXPECT_EQ(bench::groupCode(0), "000");
    EXPECT_EQ(bench::groupCode(bench::kMembersGroup), "100");
    EXPECT_EQ(bench::groupCode(bench::kGroups - 1), "999");
}

TEST(BenchDataset, TwoGenerationsGiveTheSameRows)
{
    const Dataset again = bench::generateDataset();
    EXPECT_EQ(again.groups, data().groups);
    EXPECT_EQ(again.items, data().items);
    EXPECT_EQ(again.employees, data().employees);
    EXPECT_EQ(again.users, data().users);
    EXPECT_EQ(again.memberships, data().memberships);
    EXPECT_EQ(again.rights, data().rights);
}

TEST(BenchDataset, TablesHaveTheirSizes)
{
    EXPECT_EQ(data().groups.size(), size_t(bench::kGroups));
    EXPECT_EQ(data().items.size(), size_t(bench::kItems));
    EXPECT_EQ(data().employees.size(), size_t(bench::kOperators));
    EXPECT_EQ(data().users.size(), size_t(bench::kOperators));
    EXPECT_EQ(data().rights.size(), size_t(bench::kGroups - 1) * bench::kItemsPerGroup + bench::kItems);
    // One to three groups each: between one and three times the operators.
    EXPECT_GE(data().memberships.size(), size_t(bench::kOperators));
    EXPECT_LE(data().memberships.size(), size_t(3 * bench::kOperators));
}

TEST(BenchDataset, EveryOperatorIsAnEmployeeAndAUserInOneToThreeGroups)
{
    std::map<std::string, std::set<std::string>> groupsOf;
    for (const auto& m : data().memberships) {
        EXPECT_TRUE(groupsOf[m[0]].insert(m[1]).second) << "repeated membership " << m[0] << " in " << m[1];
        EXPECT_EQ(m[1].size(), 3u);
        EXPECT_LT(std::stoi(m[1]), bench::kGroups);
    }
    ASSERT_EQ(groupsOf.size(), size_t(bench::kOperators));
    for (int u = 0; u < bench::kOperators; ++u) {
        const std::string id = bench::operatorCode(u);
        EXPECT_EQ(data().employees[size_t(u)][0], id);
        EXPECT_EQ(data().users[size_t(u)][0], id);
        const size_t n = groupsOf[id].size();
        EXPECT_TRUE(n >= 1 && n <= 3) << id << " is in " << n << " groups";
    }
}

TEST(BenchDataset, MembersGroupHoldsEveryFourthOperatorAndNobodyElse)
{
    const std::string group = bench::groupCode(bench::kMembersGroup);
    std::set<std::string> members;
    for (const auto& m : data().memberships) {
        if (m[1] == group)
            members.insert(m[0]);
    }
    EXPECT_EQ(members.size(), size_t(bench::kMembersOfMembersGroup));
    EXPECT_EQ(data().membersOf(group), bench::kMembersOfMembersGroup);
    for (int u = 0; u < bench::kOperators; ++u)
        EXPECT_EQ(members.count(bench::operatorCode(u)), u % 4 == 0 ? 1u : 0u) << u;
    // No other group comes near it, so the manager's big list is this one.
    std::map<std::string, long> sizes;
    for (const auto& m : data().memberships)
        ++sizes[m[1]];
    for (const auto& [other, n] : sizes) {
        if (other != group) {
            EXPECT_LT(n, 200) << other;
        }
    }
}

TEST(BenchDataset, FullRightsGroupHasEveryItemOthersThreeHundredDistinct)
{
    std::map<std::string, std::set<std::string>> itemsOf;
    for (const auto& r : data().rights) {
        EXPECT_TRUE(itemsOf[r[0]].insert(r[1]).second) << "repeated right " << r[0] << " on " << r[1];
        EXPECT_TRUE(r[2] == "0" || r[2] == "1" || r[2] == "2") << r[2];
    }
    ASSERT_EQ(itemsOf.size(), size_t(bench::kGroups));
    const std::string full = bench::groupCode(bench::kFullRightsGroup);
    EXPECT_EQ(itemsOf[full].size(), size_t(bench::kItems));
    EXPECT_EQ(data().rightsOf(full), bench::kItems);
    for (const auto& [group, items] : itemsOf) {
        if (group != full) {
            EXPECT_EQ(items.size(), size_t(bench::kItemsPerGroup)) << group;
        }
        for (const std::string& item : items)
            EXPECT_LT(std::stoi(item.substr(1)), bench::kItems) << item;
    }
    EXPECT_NE(bench::kMembersGroup, bench::kFullRightsGroup);
}

TEST(BenchDataset, LevelsAreSpreadOverTheThreeValues)
{
    std::map<std::string, long> count;
    for (const auto& r : data().rights)
        ++count[r[2]];
    ASSERT_EQ(count.size(), 3u);
    for (const auto& [level, n] : count)
        EXPECT_GT(n, long(data().rights.size() / 4)) << level;
}

TEST(BenchDataset, ValuesFitTheirColumns)
{
    using namespace schema::len;
    for (const auto& g : data().groups) {
        EXPECT_LE(chars(g[0]), group_id);
        EXPECT_LE(chars(g[1]), group_name);
    }
    for (const auto& i : data().items) {
        EXPECT_LE(chars(i[0]), m_item_code);
        EXPECT_LE(chars(i[1]), m_item_name);
    }
    for (const auto& e : data().employees) {
        EXPECT_LE(chars(e[0]), employee_id);
        EXPECT_LE(chars(e[1]), employee_name);
        EXPECT_LE(chars(e[2]), dept_id);
        EXPECT_LE(chars(e[3]), employee_status);
    }
    for (const auto& u : data().users) {
        EXPECT_LE(chars(u[0]), user_id);
        EXPECT_LE(chars(u[1]), user_password);
        EXPECT_LE(chars(u[2]), user_status);
    }
}

TEST(BenchDataset, CopyFieldEscapesTheSeparators)
{
    EXPECT_EQ(bench::copyField("员工7"), "员工7");
    EXPECT_EQ(bench::copyField("a\tb"), "a\\tb");
    EXPECT_EQ(bench::copyField("a\nb\rc"), "a\\nb\\rc");
    EXPECT_EQ(bench::copyField("C:\\pic"), "C:\\\\pic");
    EXPECT_EQ(bench::copyField(""), "");
}

TEST(BenchDataset, PlaceholdersAreNumberedInOrder)
{
    EXPECT_EQ(bench::dollarPlaceholders("select 1"), "select 1");
    EXPECT_EQ(bench::dollarPlaceholders("where a =? and b = ?"), "where a =$1 and b = $2");
    EXPECT_EQ(bench::dollarPlaceholders("values (?, ?, ?)"), "values ($1, $2, $3)");
}

}  // namespace

#include "bench/dataset.h"

#include <cstdio>
#include <random>
#include <set>

namespace bench {

namespace {

constexpr unsigned kSeed = 20261208;

std::string padded(char prefix, int index, int width)
{
    char buffer[16];
    if (prefix)
        std::snprintf(buffer, sizeof buffer, "%c%0*d", prefix, width, index);
    else
        std::snprintf(buffer, sizeof buffer, "%0*d", width, index);
    return buffer;
}

// A value in [0, n) from the generator. The tiny bias of the modulo does not
// matter here; the same sequence everywhere does.
int below(std::mt19937& random, int n)
{
    return int(random() % unsigned(n));
}

}  // namespace

std::string operatorCode(int index)
{
    return padded('U', index, 5);
}

std::string itemCodeOf(int index)
{
    return padded('M', index, 4);
}

std::string groupCode(int index)
{
    return padded(0, index, 3);
}

long Dataset::membersOf(const std::string& group) const
{
    long n = 0;
    for (const auto& m : memberships)
        n += m[1] == group;
    return n;
}

long Dataset::rightsOf(const std::string& group) const
{
    long n = 0;
    for (const auto& r : rights)
        n += r[0] == group;
    return n;
}

Dataset generateDataset()
{
    Dataset data;
    std::mt19937 random(kSeed);
    data.groups.reserve(kGroups);
    for (int g = 0; g < kGroups; ++g)
        data.groups.push_back({groupCode(g), "组" + std::to_string(g)});
    data.items.reserve(kItems);
    for (int i = 0; i < kItems; ++i)
        data.items.push_back({itemCodeOf(i), "模块" + std::to_string(i)});

    data.employees.reserve(kOperators);
    data.users.reserve(kOperators);
    data.memberships.reserve(kOperators * 2);
    for (int u = 0; u < kOperators; ++u) {
        const std::string id = operatorCode(u);
        data.employees.push_back({id, "员工" + std::to_string(u), "D01", "1"});
        data.users.push_back({id, "", "1"});
        const size_t count = size_t(1 + below(random, 3));
        std::set<int> groups;
        if (u % 4 == 0)
            groups.insert(kMembersGroup);
        while (groups.size() < count) {
            const int g = below(random, kGroups);
            if (g != kMembersGroup)
                groups.insert(g);
        }
        for (int g : groups)
            data.memberships.push_back({id, groupCode(g)});
    }

    data.rights.reserve(size_t(kGroups) * kItemsPerGroup + kItems);
    for (int g = 0; g < kGroups; ++g) {
        std::set<int> items;
        if (g == kFullRightsGroup) {
            for (int i = 0; i < kItems; ++i)
                items.insert(i);
        } else {
            while (int(items.size()) < kItemsPerGroup)
                items.insert(below(random, kItems));
        }
        for (int i : items)
            data.rights.push_back({groupCode(g), itemCodeOf(i), std::to_string(below(random, 3))});
    }
    return data;
}

std::string copyField(const std::string& value)
{
    std::string out;
    out.reserve(value.size());
    for (char c : value) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default: out += c; break;
        }
    }
    return out;
}

}  // namespace bench

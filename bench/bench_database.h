#pragma once
// The large rights database the benchmarks run on: 1,000 groups, 20,000
// operators in 1 to 3 groups each, 2,000 module items and 300,000
// s_group_power rows (300 items per group), generated from a fixed seed in
// one transaction and kept in the temporary folder between runs.

#include <QString>
#include <string>
#include <vector>

namespace bench {

inline constexpr int kGroups = 1000;
inline constexpr int kOperators = 20000;
inline constexpr int kItems = 2000;
inline constexpr int kItemsPerGroup = 300;

QString operatorId(int index);  // "U00042"
QString itemCode(int index);    // "M0042"
QString groupId(int index);     // "042"

// The path of the database, generated first when it is missing or stale.
// Empty (with a message on stderr) when it cannot be made.
QString benchDatabase();

// A fixed sequence of (operator, item) pairs the lookups cycle through.
struct Probe {
    QString op;
    QString item;
    std::string opUtf8;
    std::string itemUtf8;
};
const std::vector<Probe>& probes();

}  // namespace bench

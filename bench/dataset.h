#pragma once
// The rows of the large rights database the benchmarks run on, generated in
// memory from a fixed seed so that every backend is loaded with exactly the
// same rows:
//   1,000 groups "000" … "999";
//   20,000 operators "U00000" … "U19999", each an employee and a user, in 1 to
//   3 groups; every fourth operator is in the members group, which therefore
//   has 5,000 members (the user and group manager's big list);
//   2,000 module items "M0000" … "M1999";
//   300 rights rows for every group, except the full-rights group, which has
//   a row for every one of the 2,000 items (the group rights editor's big grid).

#include <array>
#include <string>
#include <vector>

namespace bench {

inline constexpr int kGroups = 1000;
inline constexpr int kOperators = 20000;
inline constexpr int kItems = 2000;
inline constexpr int kItemsPerGroup = 300;

// The group with 5,000 operators and the group with a row for every item.
inline constexpr int kMembersGroup = 100;
inline constexpr int kMembersOfMembersGroup = kOperators / 4;
inline constexpr int kFullRightsGroup = 200;

std::string operatorCode(int index);  // "U00042"
std::string itemCodeOf(int index);    // "M0042"
std::string groupCode(int index);     // "042"

struct Dataset {
    std::vector<std::array<std::string, 2>> groups;       // group_id, group_name
    std::vector<std::array<std::string, 2>> items;        // m_item_code, name
    std::vector<std::array<std::string, 4>> employees;    // id, name, dept_id, status
    std::vector<std::array<std::string, 3>> users;        // id, password (empty), status
    std::vector<std::array<std::string, 2>> memberships;  // user_code, group_code
    std::vector<std::array<std::string, 3>> rights;       // group_id, m_item_code, group_right

    // How many memberships, rights rows of group `group`.
    long membersOf(const std::string& group) const;
    long rightsOf(const std::string& group) const;
};

// The rows; the same on every call and on every machine (a fixed seed and
// std::mt19937, whose sequence the standard defines; the distributions are
// replaced by plain modulo so that no library's choice matters).
Dataset generateDataset();

// A field for PostgreSQL's COPY text format: backslash, tab, newline and
// carriage return escaped.
std::string copyField(const std::string& value);

}  // namespace bench

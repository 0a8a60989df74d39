#pragma once
// Values that a spreadsheet would run as formulas when written to CSV as they
// are (=, +, -, @, tab or CR first), and values that only apostrophes keep
// from it ('=x): group ids, group names and item codes for round trips.

#include <QList>
#include <QStringList>
#include <QVariantList>
#include <functional>

namespace testing_support {

// At most three characters, as s_group.group_id allows.
extern const QStringList kHostileGroupIds;
// One name per group id.
extern const QStringList kHostileGroupNames;
extern const QStringList kHostileItemCodes;
// The level of hostile group g on hostile item i: 0, 1, 2 or "-" (an odd stored level).
QString hostileLevel(qsizetype group, qsizetype item);

// Puts the hostile groups and items in the database, every group with a row
// on every item (hostileLevel), and E001 in every hostile group. True when
// it was committed.
bool seedHostileRights(const std::function<void(const QString&, const QVariantList&)>& exec);

// "record r, field f: text" of the first field of `records` that begins like
// a formula; empty when none does.
QString formulaCell(const QList<QStringList>& records);

}  // namespace testing_support

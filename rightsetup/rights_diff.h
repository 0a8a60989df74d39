#pragma once
// The changes that bring group rights from one state to another, computed
// without the database: the matrix's pending edits, a copy from one group to
// another and an imported matrix all become one list of changes, which the
// preview shows and the writer applies as it stands.
//
// A level is the stored text of s_group_power.group_right; no row is
// std::nullopt. Levels compare as strings, as the right lookup compares them.

#include "rightsetup/export.h"

#include <QHash>
#include <QList>
#include <QMap>
#include <QPair>
#include <QString>
#include <QStringList>
#include <optional>

namespace rightsetup {

using Level = std::optional<QString>;
// One group's rows: item code → stored level.
using GroupRights = QMap<QString, QString>;
// Cells of several groups: (group, item) → stored level.
using RightCells = QHash<QPair<QString, QString>, QString>;

struct RightChange {
    QString group;
    QString item;
    Level before;  // nullopt: the group has no row (insert)
    Level after;   // nullopt: the row goes (delete)

    bool operator==(const RightChange&) const = default;
};

// How a copy treats the target's rows.
enum class CopyMode {
    // The target ends with exactly the source's rows and levels.
    Replace,
    // The source's rows are added where the target has none; where both have
    // a row the greater level wins. The target keeps every row of its own.
    Merge,
};

// What copying `source` onto `target` (rows of the group `targetGroup`)
// changes, by item code. Empty when nothing would change.
WMS_RIGHTSETUP_EXPORT QList<RightChange> copyChanges(const GroupRights& source, const GroupRights& target,
                                                     const QString& targetGroup, CopyMode mode);

// What turns `before` into `after` for every cell whose group is in `groups`
// and whose item is in `items`; cells outside them are left as they are. By
// group, then item.
WMS_RIGHTSETUP_EXPORT QList<RightChange> cellChanges(const RightCells& before, const RightCells& after,
                                                     const QStringList& groups, const QStringList& items);

// Two groups side by side: every item either holds a row for, by item code.
struct CompareRow {
    QString item;
    Level left;
    Level right;
    bool differs() const { return left != right; }
};
WMS_RIGHTSETUP_EXPORT QList<CompareRow> compareGroups(const GroupRights& left, const GroupRights& right);

// "(group, item)" of the first change whose cell comes twice, or an empty
// string when every cell is changed once.
WMS_RIGHTSETUP_EXPORT QString repeatedCell(const QList<RightChange>& changes);

}  // namespace rightsetup

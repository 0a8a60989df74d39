#include "rightsetup/rights_diff.h"

#include <QSet>

namespace rightsetup {

namespace {

Level levelAt(const GroupRights& rights, const QString& item)
{
    const auto found = rights.constFind(item);
    return found == rights.cend() ? Level() : Level(found.value());
}

}  // namespace

QList<RightChange> copyChanges(const GroupRights& source, const GroupRights& target, const QString& targetGroup,
                               CopyMode mode)
{
    QStringList items = source.keys() + target.keys();
    items.sort();
    items.removeDuplicates();
    QList<RightChange> changes;
    for (const QString& item : std::as_const(items)) {
        const Level from = levelAt(source, item);
        const Level before = levelAt(target, item);
        Level after = before;
        if (mode == CopyMode::Replace)
            after = from;
        else if (from && (!before || *from > *before))
            after = from;
        if (after != before)
            changes.append({targetGroup, item, before, after});
    }
    return changes;
}

QList<RightChange> cellChanges(const RightCells& before, const RightCells& after, const QStringList& groups,
                               const QStringList& items)
{
    QList<RightChange> changes;
    for (const QString& group : groups) {
        for (const QString& item : items) {
            const QPair<QString, QString> key{group, item};
            const auto was = before.constFind(key);
            const auto will = after.constFind(key);
            const Level from = was == before.cend() ? Level() : Level(was.value());
            const Level to = will == after.cend() ? Level() : Level(will.value());
            if (from != to)
                changes.append({group, item, from, to});
        }
    }
    return changes;
}

QList<CompareRow> compareGroups(const GroupRights& left, const GroupRights& right)
{
    QStringList items = left.keys() + right.keys();
    items.sort();
    items.removeDuplicates();
    QList<CompareRow> rows;
    rows.reserve(items.size());
    for (const QString& item : std::as_const(items))
        rows.append({item, levelAt(left, item), levelAt(right, item)});
    return rows;
}

QString repeatedCell(const QList<RightChange>& changes)
{
    QSet<QPair<QString, QString>> seen;
    for (const RightChange& change : changes) {
        const QPair<QString, QString> key{change.group, change.item};
        if (seen.contains(key))
            return QStringLiteral("(%1, %2)").arg(change.group, change.item);
        seen.insert(key);
    }
    return {};
}

}  // namespace rightsetup

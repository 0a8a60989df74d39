#pragma once
// A list of right changes in a table, as the previews show it: group (when
// asked), item code, item name, level before and after, in words.

#include "rightsetup/export.h"

#include "rightsetup/rights_diff.h"

class QTableWidget;
class QWidget;

namespace rightsetup {

// The words of a level; 无 for no row.
WMS_RIGHTSETUP_EXPORT QString levelText(const Level& level);

WMS_RIGHTSETUP_EXPORT void showChanges(QTableWidget* table, const QList<RightChange>& changes, const QMap<QString, QString>& itemNames,
                 bool withGroup);

// A read-only table of plain text cells, selecting whole rows.
WMS_RIGHTSETUP_EXPORT QTableWidget* makeTable(QWidget* parent, const QString& name);

}  // namespace rightsetup

#pragma once
// Which module item a change of each rights table needs at level "2". The
// host names them as it names the administration items; undoing a change
// from the journal asks for the level the change itself needs. The
// defaults are the demo host's codes: s_group_power → "003" (the group
// rights editor), s_group, s_user_group, s_user → "m102" (the user and
// group manager), s_dept, s_employee → "m101" (the department manager).

#include "rights/export.h"

#include <QMap>
#include <QString>

namespace rights {

// Table name → module item code. A table left out has no item: only
// "admin" may change it through the journal.
WMS_RIGHTS_EXPORT void setChangeItems(const QMap<QString, QString>& items);
WMS_RIGHTS_EXPORT QMap<QString, QString> changeItems();
WMS_RIGHTS_EXPORT const QMap<QString, QString>& defaultChangeItems();
// The item of `table`, or an empty string.
WMS_RIGHTS_EXPORT QString changeItem(const QString& table);

// Does `operatorId` hold level "2" on the item of `table` (asked now,
// f_check_right; "admin" in any letter case always)?
WMS_RIGHTS_EXPORT bool mayChange(const QString& table, const QString& operatorId);

}  // namespace rights

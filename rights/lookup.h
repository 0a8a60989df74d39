#pragma once
// The one lookup behind every right check: the operator's effective level on
// a module item, the greatest group_right held by any of the operator's
// groups. Read afresh on every call through sqlca, with a statement prepared
// once per connection and re-bound.

#include "rights/export.h"

#include <QHash>
#include <QString>
#include <QStringList>

namespace rights {

// The statement; the operator id and the module item code are bound in this order.
extern WMS_RIGHTS_EXPORT const QString kRightLookup;

struct WMS_RIGHTS_EXPORT Level {
    // False when the statement failed (no connection, SQL error); sqlca then
    // holds the error.
    bool ok = false;
    // The level string: null when no group of the operator has a row for the
    // item (or the statement failed).
    QString value;
};

// Runs the lookup on host::sqlca. A null operator or code is bound as SQL null.
WMS_RIGHTS_EXPORT Level lookupLevel(const QString& vs_operator, const QString& vs_module);

// The operator's levels on many module items at once, as lookupLevel gives
// each of them: one statement per 500 codes. `levels` gets an entry for each
// code some group of the operator holds a row for (its greatest level,
// maybe empty or null); a code without one is absent. False when a read
// failed (sqlca holds the error; `levels` is then incomplete).
WMS_RIGHTS_EXPORT bool lookupLevels(const QString& vs_operator, const QStringList& codes,
                                    QHash<QString, QString>* levels);

// A level string as 0, 1 or 2: "0", "1", "2" give their number, anything else
// (null, empty, any other text) gives 0.
WMS_RIGHTS_EXPORT int levelNumber(const QString& level);

}  // namespace rights

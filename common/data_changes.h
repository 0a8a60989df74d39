#pragma once
// The process-wide notice that a module window committed a change other open
// windows may be showing (a revert in the change journal, a rename or delete
// in a manager). Windows that show such data listen and read again; the
// window that sends it passes itself, so that it can ignore its own notice.

#include "common/export.h"

#include <QObject>

namespace common {

class WMS_COMMON_EXPORT DataChanges : public QObject {
    Q_OBJECT
public:
    static DataChanges& instance();

    // Tells every listener that `source` committed a change.
    static void announce(QObject* source);

Q_SIGNALS:
    void changed(QObject* source);
};

}  // namespace common

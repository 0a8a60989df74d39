#include "common/data_changes.h"

namespace common {

DataChanges& DataChanges::instance()
{
    static DataChanges changes;
    return changes;
}

void DataChanges::announce(QObject* source)
{
    Q_EMIT instance().changed(source);
}

}  // namespace common

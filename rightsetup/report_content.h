#pragma once
// What the access review says, as blocks not yet measured: the groups'
// rights (item, name, level), then every operator's effective rights (the
// greatest level over the operator's groups, as the right checks take it)
// with the groups that grant them. The built-in admin, whom the checks grant
// every right whatever its groups, is listed with 修改 on every item.

#include "rightsetup/report_layout.h"

namespace rights {
struct Matrix;
}

namespace rightsetup {

// Reads the operators' rights through sqlca. False when a read failed (the
// connection holds the reason).
bool rightsReportBlocks(const rights::Matrix& matrix, QList<ReportBlock>* blocks);

}  // namespace rightsetup

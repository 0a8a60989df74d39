#pragma once
// The access review report as a PDF (QPdfWriter): every group's rights
// (item, name, level), then every operator's effective rights (the greatest
// level over the operator's groups, as the right checks take it) with the
// groups that grant them. Names are written as text, never as markup.

#include "rightsetup/export.h"

#include <QString>

namespace rights {
struct Matrix;
}

namespace rightsetup {

// Reads the operators' effective rights and writes the report to `path`.
// False with the reason in `error` (the database's, or the file's).
WMS_RIGHTSETUP_EXPORT bool writeRightsReport(const QString& path, const rights::Matrix& matrix, QString* error);

}  // namespace rightsetup

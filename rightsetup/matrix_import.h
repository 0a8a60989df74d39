#pragma once
// The matrix window's import of a matrix CSV: the file is read as a stream
// (readMatrixImport); a file of kProgressFrom bytes or more shows a progress
// dialog by bytes whose 取消 stops the reading, changing nothing.

#include "rightsetup/export.h"

#include "rightsetup/matrix_csv.h"

class QFile;
class QWidget;

namespace rightsetup {

inline constexpr qint64 kProgressFrom = qint64(1) << 20;

// The progress dialog's objectName.
inline const QString kImportProgressName = QStringLiteral("dlg_import_progress");

WMS_RIGHTSETUP_EXPORT ImportRead readImportWithProgress(QWidget* parent, QFile* file, const rights::Matrix& current,
                                                        MatrixImport* result, QString* error);

}  // namespace rightsetup

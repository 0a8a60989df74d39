#include "rightsetup/matrix_import.h"

#include <QFile>
#include <QFileInfo>
#include <QProgressDialog>
#include <memory>

namespace rightsetup {

ImportRead readImportWithProgress(QWidget* parent, QFile* file, const rights::Matrix& current, MatrixImport* result,
                                  QString* error)
{
    const qint64 size = file->size();
    std::unique_ptr<QProgressDialog> dialog;
    if (size >= kProgressFrom) {
        constexpr int kSteps = 1000;
        dialog = std::make_unique<QProgressDialog>(
            QStringLiteral("正在读取 %1 ...").arg(QFileInfo(*file).fileName()), QStringLiteral("取消"), 0, kSteps,
            parent);
        dialog->setObjectName(kImportProgressName);
        dialog->setWindowTitle(QStringLiteral("导入权限矩阵"));
        dialog->setWindowModality(Qt::WindowModal);
        dialog->setAutoClose(false);
        dialog->setAutoReset(false);
        dialog->setMinimumDuration(0);
        dialog->setValue(0);
    }
    int shown = 0;
    const auto progress = [&](qint64 bytesRead) {
        if (!dialog)
            return true;
        const int value = int(qMin<qint64>(bytesRead, size) * 1000 / size);
        // A modal progress dialog handles the events, 取消 included, when its value changes.
        if (value != shown) {
            shown = value;
            dialog->setValue(value);
        }
        return !dialog->wasCanceled();
    };
    return readMatrixImport(file, current, result, error, progress);
}

}  // namespace rightsetup

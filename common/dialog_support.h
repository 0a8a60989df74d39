#pragma once
// Small helpers shared by the dialogs of the administration windows.

#include "common/export.h"

#include <QString>

class QPushButton;
class QWidget;

namespace platform {
class DataWindow;
}

namespace common {

// A command button in "宋体" at `points`, placed in layout units.
WMS_COMMON_EXPORT QPushButton* commandButton(QWidget* parent, const QString& name, const QString& text, int x, int y, int width,
                           int height, int points = 9);

// A command button for a window laid out by Qt's layouts: its objectName set,
// never the dialog's default button by focus alone.
WMS_COMMON_EXPORT QPushButton* layoutButton(QWidget* parent, const QString& name, const QString& text);

// Puts the focus into a form on row 1, column `column` (1-based).
WMS_COMMON_EXPORT void focusField(platform::DataWindow* dw, int column);

}  // namespace common

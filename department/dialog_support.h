#pragma once
// Small helpers shared by the dialogs of the department administration.

#include <QString>

class QPushButton;
class QWidget;

namespace platform {
class DataWindow;
}

namespace department {

class w_right_department_manage;

// The open department manager, or null.
w_right_department_manage* openManager();

// A command button in "宋体" at `points`, placed in layout units.
QPushButton* commandButton(QWidget* parent, const QString& name, const QString& text, int x, int y, int width,
                           int height, int points = 9);

// Puts the focus into a form on row 1, column `column` (1-based).
void focusField(platform::DataWindow* dw, int column);

}  // namespace department

#pragma once
// Small helpers shared by the dialogs of the user and group administration.

#include <QString>

class QPushButton;
class QWidget;

namespace platform {
class DataWindow;
}

namespace usergroup {

class w_right_setup;

// The open user and group manager, or null.
w_right_setup* openManager();

// A command button with the dialogs' font, placed in layout units.
QPushButton* commandButton(QWidget* parent, const QString& name, const QString& text, int x, int y, int width,
                           int height, int points = 9);

// Puts the focus into a form on row 1, column `column` (1-based).
void focusField(platform::DataWindow* dw, int column);

}  // namespace usergroup

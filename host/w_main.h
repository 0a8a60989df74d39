#pragma once
// The host's main frame. Windows of the module are opened as its children;
// popup menus are placed at PointerX(), PointerY(): the mouse pointer in the
// frame's client coordinates, in layout units.

#include "host/export.h"

#include <QMainWindow>
#include <QPoint>

namespace host {

class WMS_HOST_EXPORT w_main : public QMainWindow {
    Q_OBJECT
public:
    explicit w_main(QWidget* parent = nullptr);
    ~w_main() override;

    int PointerX() const;
    int PointerY() const;
    // The screen position of a point given in the frame's layout units.
    QPoint unitsToGlobal(int x, int y) const;
};

// The open main frame, or null (a test without one).
WMS_HOST_EXPORT w_main* mainFrame();

// Where a popup opened at (PointerX(), PointerY()) of the main frame appears;
// without a main frame, at the mouse pointer.
WMS_HOST_EXPORT QPoint popupPosition();

}  // namespace host

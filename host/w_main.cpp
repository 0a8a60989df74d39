#include "host/w_main.h"

#include "host/units.h"

#include <QCursor>
#include <QPointer>

namespace host {

namespace {
QPointer<w_main> theFrame;
}

w_main::w_main(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("w_main"));
    theFrame = this;
}

w_main::~w_main() = default;

int w_main::PointerX() const
{
    return pixelsToUnitsX(mapFromGlobal(QCursor::pos()).x());
}

int w_main::PointerY() const
{
    return pixelsToUnitsY(mapFromGlobal(QCursor::pos()).y());
}

QPoint w_main::unitsToGlobal(int x, int y) const
{
    return mapToGlobal(QPoint(unitsToPixelsX(x), unitsToPixelsY(y)));
}

w_main* mainFrame()
{
    return theFrame.data();
}

QPoint popupPosition()
{
    if (w_main* frame = mainFrame())
        return frame->unitsToGlobal(frame->PointerX(), frame->PointerY());
    return QCursor::pos();
}

}  // namespace host

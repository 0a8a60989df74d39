#include "host/units.h"

#include <QWidget>

namespace host {

QRect unitsRect(int x, int y, int width, int height)
{
    return {unitsToPixelsX(x), unitsToPixelsY(y), unitsToPixelsX(width), unitsToPixelsY(height)};
}

QSize unitsSize(int width, int height)
{
    return {unitsToPixelsX(width), unitsToPixelsY(height)};
}

void placeUnits(QWidget* widget, int x, int y, int width, int height)
{
    const QSize hint = widget->sizeHint();
    const int w = width > 0 ? unitsToPixelsX(width) : hint.width();
    const int h = height > 0 ? unitsToPixelsY(height) : hint.height();
    widget->setGeometry(unitsToPixelsX(x), unitsToPixelsY(y), w, h);
}

}  // namespace host

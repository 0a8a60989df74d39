#pragma once
// Layout units of the windows: positions and sizes are written in the units of
// the original window layouts, where one unit is a quarter of a pixel both
// across and down (a 343 x 84 button is 86 x 21 pixels). Every window converts
// through these functions only.

#include "host/export.h"

#include <QRect>
#include <QSize>

class QWidget;

namespace host {

constexpr int kUnitsPerPixelX = 4;
constexpr int kUnitsPerPixelY = 4;

constexpr int unitsToPixelsX(int units) { return (units + kUnitsPerPixelX / 2) / kUnitsPerPixelX; }
constexpr int unitsToPixelsY(int units) { return (units + kUnitsPerPixelY / 2) / kUnitsPerPixelY; }
constexpr int pixelsToUnitsX(int pixels) { return pixels * kUnitsPerPixelX; }
constexpr int pixelsToUnitsY(int pixels) { return pixels * kUnitsPerPixelY; }

WMS_HOST_EXPORT QRect unitsRect(int x, int y, int width, int height);
WMS_HOST_EXPORT QSize unitsSize(int width, int height);
// Places `widget` at (x, y) with the given size, all in layout units; a width
// or height of 0 keeps the widget's size hint in that direction.
WMS_HOST_EXPORT void placeUnits(QWidget* widget, int x, int y, int width = 0, int height = 0);

}  // namespace host

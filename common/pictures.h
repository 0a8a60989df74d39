#pragma once
// The pictures the windows name: files under "..\pic\" ("..\pic\exit.bmp")
// and stock images of the windowing layer ("Group!"). They are the module's
// own drawings, packed as resources under :/pic/ (stock images under
// :/pic/stock/, as PNG).

#include "common/export.h"

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace common {

// The resource path of a picture name; empty for an unknown name.
WMS_COMMON_EXPORT QString picturePath(const QString& name);
WMS_COMMON_EXPORT QPixmap picture(const QString& name);
// A tree picture: `selected` is shown in place of `normal` while the item is selected.
WMS_COMMON_EXPORT QIcon treeIcon(const QString& normal, const QString& selected);

}  // namespace common

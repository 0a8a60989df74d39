#pragma once
// The stock pictures of the module list: "CreateIndex!" (a module, picture 1)
// and "Library!" (any other item, picture 2). They are the module's own
// drawings, painted on first use; a picture packed with the common resources
// under the same name takes precedence.

#include "rightsetup/export.h"

#include <QPixmap>
#include <QString>

namespace rightsetup {

// 32 x 32 pixels on a transparent background; null for an unknown name.
WMS_RIGHTSETUP_EXPORT QPixmap stockPicture(const QString& name);

}  // namespace rightsetup

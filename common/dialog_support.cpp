#include "common/dialog_support.h"

#include "common/fonts.h"
#include "host/units.h"
#include "platform/datawindow.h"

#include <QPushButton>

namespace common {

QPushButton* commandButton(QWidget* parent, const QString& name, const QString& text, int x, int y, int width,
                           int height, int points)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setFont(songti(points));
    button->setAutoDefault(false);
    host::placeUnits(button, x, y, width, height);
    return button;
}

void focusField(platform::DataWindow* dw, int column)
{
    dw->setRow(1);
    dw->setColumn(column);
    dw->setFocus();
    if (QWidget* editor = dw->editorFor(dw->getColumnName()))
        editor->setFocus();
}

QPushButton* layoutButton(QWidget* parent, const QString& name, const QString& text)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

}  // namespace common

#include "host/w_father.h"

#include "host/units.h"

#include <QApplication>
#include <QKeyEvent>
#include <QResizeEvent>
#include <QShortcut>

namespace host {

w_father::w_father(QWidget* parent) : Window(parent)
{
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    f1->setContext(Qt::WindowShortcut);
    connect(f1, &QShortcut::activated, this, [this] { keyEvent(Qt::Key_F1, Qt::NoModifier); });
    auto* whatsThis = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F1), this);
    whatsThis->setContext(Qt::WindowShortcut);
    connect(whatsThis, &QShortcut::activated, this, [this] {
        const QPoint at = mapFromGlobal(QCursor::pos());
        helpEvent(pixelsToUnitsX(at.x()), pixelsToUnitsY(at.y()));
    });
}

void w_father::openEvent(const QString& parameter)
{
    Window::openEvent(parameter);
    if (windowIcon().isNull())
        setWindowIcon(QApplication::windowIcon());
}

void w_father::resizeWindow(int, int) {}

void w_father::keyEvent(int, Qt::KeyboardModifiers) {}

void w_father::helpEvent(int, int) {}

void w_father::resizeEvent(QResizeEvent* event)
{
    Window::resizeEvent(event);
    resizeWindow(pixelsToUnitsX(event->size().width()), pixelsToUnitsY(event->size().height()));
}

void w_father::keyPressEvent(QKeyEvent* event)
{
    keyEvent(event->key(), event->modifiers());
    Window::keyPressEvent(event);
}

}  // namespace host

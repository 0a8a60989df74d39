#include "host/window.h"

#include "host/units.h"

#include <QCloseEvent>
#include <QPushButton>

namespace host {

namespace {
// The windows alive, oldest first. The user-interface thread alone makes and
// destroys windows.
QList<Window*>& alive()
{
    static QList<Window*> windows;
    return windows;
}
}  // namespace

Window::Window(QWidget* parent) : QDialog(parent, Qt::Window)
{
    alive().append(this);
    setAttribute(Qt::WA_DeleteOnClose);
    // Windows are laid out in fixed positions; no size grip.
    setSizeGripEnabled(false);
}

Window::~Window()
{
    alive().removeOne(this);
}

QList<Window*> Window::all()
{
    return alive();
}

QString Window::tag() const
{
    return property("tag").toString();
}

void Window::setTag(const QString& tag)
{
    setProperty("tag", tag);
}

void Window::openEvent(const QString& parameter)
{
    stringParm_ = parameter;
}

void Window::closeWithReturn(const QString& result)
{
    result_ = result;
    close();
}

void Window::forceClose()
{
    if (closed_)
        return;
    closed_ = true;
    close();
}

void Window::setCancelButton(QPushButton* button)
{
    cancelButton_ = button;
}

void Window::setDefaultButton(QPushButton* button)
{
    button->setDefault(true);
    button->setAutoDefault(true);
}

int Window::widthUnits() const
{
    return pixelsToUnitsX(width());
}

int Window::heightUnits() const
{
    return pixelsToUnitsY(height());
}

void Window::closeEvent(QCloseEvent* event)
{
    if (!closed_ && !closeQuery()) {
        event->ignore();
        return;
    }
    // The windows that belong to this one outlive it: they pass to its own
    // owner (none: they stand alone), where they are (a record dialog may
    // still be saved).
    if (!closed_) {
        for (Window* owned : findChildren<Window*>(Qt::FindDirectChildrenOnly)) {
            if (!owned->isWindow() || !owned->isVisible() || owned->isClosed())
                continue;
            const QRect place = owned->geometry();
            owned->setParent(parentWidget(), owned->windowFlags());
            owned->setGeometry(place);
            owned->show();
        }
    }
    closed_ = true;
    event->accept();
    // Leaves a modal event loop, if any. QDialog::closeEvent is not called:
    // it would turn the close into reject(), that is into Esc.
    QDialog::done(result_.isNull() ? QDialog::Rejected : QDialog::Accepted);
}

void Window::reject()
{
    // Esc: only a window with a cancel button reacts, by clicking it.
    if (cancelButton_ && cancelButton_->isEnabled() && cancelButton_->isVisible())
        cancelButton_->click();
}

void Window::done(int result)
{
    // Every way out goes through close(), so closeQuery() is always asked.
    if (!closed_) {
        close();
        return;
    }
    QDialog::done(result);
}

}  // namespace host

#include "host/window_registry.h"

#include "host/w_main.h"

#include <QApplication>
#include <QHash>
#include <QPointer>
#include <QScreen>
#include <algorithm>

namespace host {

namespace {

QHash<QString, WindowRegistry::Factory>& factories()
{
    static QHash<QString, WindowRegistry::Factory> map;
    return map;
}

QHash<QString, QPointer<Window>>& instances()
{
    static QHash<QString, QPointer<Window>> map;
    return map;
}

// Cascaded windows of one owner are this far apart (pixels).
constexpr int kCascadeStep = 24;

// The window a new window belongs to: the module window that is active when
// it is opened (the one that opened it), else the main frame.
QWidget* opener()
{
    auto* active = qobject_cast<Window*>(QApplication::activeWindow());
    if (active && !active->isClosed() && active->isVisible())
        return active;
    return mainFrame();
}

Window* create(const QString& className)
{
    const auto factory = factories().value(className);
    if (!factory)
        return nullptr;
    Window* window = factory();
    window->setObjectName(className);
    if (QWidget* owner = opener(); owner && !window->parentWidget())
        window->setParent(owner, window->windowFlags() | Qt::Window);
    return window;
}

// The window's place over its owner: one cascade step further down and right
// for every other open window of the same owner.
void place(Window* window)
{
    QWidget* owner = window->parentWidget() ? window->parentWidget()->window() : nullptr;
    int others = 0;
    for (const QPointer<Window>& open : instances()) {
        if (open && open != window && !open->isClosed() && open->isVisible() && open->parentWidget() &&
            open->parentWidget()->window() == owner)
            ++others;
    }
    placeOver(window, owner, others);
}

// Gives the focus back to the window a closed one belonged to.
void activateOwner(const QPointer<QWidget>& owner)
{
    if (owner && owner->isVisible()) {
        owner->raise();
        owner->activateWindow();
    }
}

// How many windows `window` belongs to, one inside the other.
int ownerDepth(const Window* window)
{
    int depth = 0;
    for (const QWidget* owner = window->parentWidget(); owner; owner = owner->parentWidget())
        depth += qobject_cast<const Window*>(owner) ? 1 : 0;
    return depth;
}

// The windows not closed yet, those owned by others before their owners.
QList<QPointer<Window>> ownedFirst()
{
    QList<Window*> open;
    for (Window* window : Window::all()) {
        if (!window->isClosed())
            open.append(window);
    }
    std::stable_sort(open.begin(), open.end(),
                     [](const Window* a, const Window* b) { return ownerDepth(a) > ownerDepth(b); });
    return {open.begin(), open.end()};
}

}  // namespace

void placeOver(QWidget* window, const QWidget* owner, int cascade)
{
    const QScreen* screen = owner ? owner->screen() : QApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const bool over = owner && owner->isVisible();
    const QPoint centre = over ? owner->frameGeometry().center() : area.center();
    // The new window's frame is not known before it is shown: taken as
    // thick as the owner's.
    const QSize frame =
        window->size() + (over ? owner->frameGeometry().size() - owner->geometry().size() : QSize(0, 0));
    QPoint topLeft = centre - QRect(QPoint(0, 0), frame).center() + QPoint(cascade, cascade) * kCascadeStep;
    topLeft.setX(std::max(area.left(), std::min(topLeft.x(), area.right() + 1 - frame.width())));
    topLeft.setY(std::max(area.top(), std::min(topLeft.y(), area.bottom() + 1 - frame.height())));
    window->move(topLeft);
}

void WindowRegistry::registerClass(const QString& className, Factory factory)
{
    factories().insert(className, std::move(factory));
}

bool WindowRegistry::isRegistered(const QString& className)
{
    return factories().contains(className);
}

WindowRegistry::Factory WindowRegistry::factory(const QString& className)
{
    return factories().value(className);
}

Window* WindowRegistry::instance(const QString& className)
{
    Window* window = instances().value(className).data();
    if (window && window->isClosed())
        return nullptr;
    return window;
}

Window* WindowRegistry::open(const QString& className, const QString& parameter)
{
    if (Window* open = instance(className)) {
        open->showNormal();
        open->raise();
        open->activateWindow();
        return open;
    }
    Window* window = create(className);
    if (!window)
        return nullptr;
    instances().insert(className, window);
    window->openEvent(parameter);
    if (window->isClosed()) {
        window->deleteLater();
        return nullptr;
    }
    place(window);
    const QPointer<QWidget> owner = window->parentWidget();
    // Queued: the owner may be going away itself (its children go with it).
    QObject::connect(window, &QObject::destroyed, [owner] {
        QMetaObject::invokeMethod(qApp, [owner] { activateOwner(owner); }, Qt::QueuedConnection);
    });
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

QString WindowRegistry::openWithReturn(const QString& className, const QString& parameter)
{
    if (Window* open = instance(className)) {
        open->raise();
        open->activateWindow();
        return {};
    }
    QPointer<Window> window = create(className);
    if (!window)
        return {};
    instances().insert(className, window);
    window->openEvent(parameter);
    if (window->isClosed()) {
        const QString result = window->stringResult();
        window->deleteLater();
        return result;
    }
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    place(window);
    const QPointer<QWidget> owner = window->parentWidget();
    window->exec();
    QString result;
    if (window) {
        result = window->stringResult();
        delete window.data();
    }
    activateOwner(owner);
    return result;
}

bool WindowRegistry::closeEveryWindow()
{
    const QList<QPointer<Window>> open = ownedFirst();
    for (const QPointer<Window>& window : open) {
        if (window && !window->isClosed() && !window->close())
            return false;
    }
    return true;
}

void WindowRegistry::closeAll()
{
    const QList<QPointer<Window>> open = ownedFirst();
    for (const QPointer<Window>& window : open) {
        if (window && !window->isClosed())
            window->forceClose();
    }
    instances().clear();
}

}  // namespace host

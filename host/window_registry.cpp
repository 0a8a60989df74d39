#include "host/window_registry.h"

#include "host/w_main.h"

#include <QHash>
#include <QPointer>

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

Window* create(const QString& className)
{
    const auto factory = factories().value(className);
    if (!factory)
        return nullptr;
    Window* window = factory();
    window->setObjectName(className);
    if (w_main* frame = mainFrame(); frame && !window->parentWidget())
        window->setParent(frame, window->windowFlags() | Qt::Window);
    return window;
}

}  // namespace

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
    window->exec();
    QString result;
    if (window) {
        result = window->stringResult();
        delete window.data();
    }
    return result;
}

void WindowRegistry::closeAll()
{
    const auto open = instances();
    for (const QPointer<Window>& window : open) {
        if (window && !window->isClosed())
            window->forceClose();
    }
    instances().clear();
}

}  // namespace host

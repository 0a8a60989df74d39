#pragma once
// One instance per window class. Windows are registered by class name
// ("w_right_setup", ...) with a factory; opening a window that is already
// open brings it to the front instead. A reference to an open window is
// valid until the window closes (instance() returns null afterwards).

#include "host/export.h"

#include "host/window.h"

#include <QString>
#include <functional>

namespace host {

// Centres a top-level window over `owner` (the screen without one), `cascade`
// steps further down and right, and keeps it on the owner's screen.
WMS_HOST_EXPORT void placeOver(QWidget* window, const QWidget* owner, int cascade = 0);

class WMS_HOST_EXPORT WindowRegistry {
public:
    using Factory = std::function<Window*()>;

    static void registerClass(const QString& className, Factory factory);
    static bool isRegistered(const QString& className);
    // The factory a class is registered with (empty when it is not), so that
    // a host can wrap it: registerClass(name, wrapper around factory(name)).
    static Factory factory(const QString& className);

    // Opens a non-modal window with a string parameter, or brings the open
    // instance to the front. Returns the window, or null when the class is
    // unknown or the window closed itself while opening.
    static Window* open(const QString& className, const QString& parameter = {});

    // Opens a modal (response) window, waits until it closes and returns the
    // string it closed with (empty when it was closed without a result).
    static QString openWithReturn(const QString& className, const QString& parameter = {});

    // The open instance of a class, or null.
    static Window* instance(const QString& className);
    template <class W>
    static W* instanceOf(const QString& className)
    {
        return qobject_cast<W*>(instance(className));
    }

    // Closes every window, however it was opened (see Window::all()), each
    // asked as when it is closed by hand: the windows a window owns before it,
    // so that none passes to another owner on the way. False as soon as one
    // stays open (those closed before it stay closed). The host calls it
    // before another operator logs in and when its main frame closes.
    static bool closeEveryWindow();

    // Closes every window without asking (the host's exit, and the end of a
    // test).
    static void closeAll();
};

}  // namespace host

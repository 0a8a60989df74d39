#pragma once
// The demo host with its windows: open the database, log in, show the main frame.

#include <QStringList>

class QWidget;

namespace host {
class Window;
}

namespace app {

// --open CLASS once the main frame shows: the window, if the operator may
// open it (openWindow), placed at the bottom right of `frame`.
host::Window* openFromCommandLine(QWidget& frame, const QString& windowClass);

// Runs the host on the running QApplication; returns the exit code
// (2: the database cannot be opened or the arguments are wrong).
int runGui(const QStringList& arguments);

}  // namespace app

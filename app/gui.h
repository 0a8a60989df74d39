#pragma once
// The demo host with its windows: open the database, log in, show the main frame.

#include <QStringList>

namespace app {

// Runs the host on the running QApplication; returns the exit code
// (2: the database cannot be opened or the arguments are wrong).
int runGui(const QStringList& arguments);

}  // namespace app

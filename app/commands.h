#pragma once
// The commands that run without a window: check, level, and the access review
// commands rights, who and matrix (CSV).

#include "app/options.h"

#include <QTextStream>

namespace app {

// Exit codes of the console commands.
inline constexpr int kExitYes = 0;
inline constexpr int kExitNo = 1;
inline constexpr int kExitError = 2;

// Runs `check` or `level`: opens the database read-only (never creating one
// but the sample when --db is not given), answers on `out`, reports errors on
// `err`, returns the exit code.
int runCommand(const Options& options, QTextStream& out, QTextStream& err);

// The whole console entry: parses `arguments` (without the program name).
int runConsole(const QStringList& arguments, QTextStream& out, QTextStream& err);

}  // namespace app

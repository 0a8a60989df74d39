#pragma once
// The command line of wms-rights:
//   wms-rights [--db URL] [--operator ID [--password PW]] [--open CLASS] [--show-menu NAME]
//   wms-rights check --db URL --operator ID --item CODE --level L
//   wms-rights level --db URL --operator ID --item CODE
//   wms-rights rights|who|matrix|journal …, wms-rights upgrade --db URL
// Options come in any order, before or after the command word; each may be
// given once.

#include <QString>
#include <QStringList>
#include <optional>

namespace app {

enum class Command { Gui, Check, Level, Rights, Who, Matrix, Journal, Upgrade, Help };

struct Options {
    Command command = Command::Gui;
    std::optional<QString> db;  // none: the sample database; never empty
    std::optional<QString> operatorId;
    std::optional<QString> password;
    std::optional<QString> item;
    std::optional<QString> level;
    std::optional<QString> since;  // journal: ISO 8601 time
    // For demonstrations and screenshots: a window class to open and a
    // top-level menu (objectName) to drop down once the main frame shows.
    std::optional<QString> openWindow;
    std::optional<QString> showMenu;
};

// Parses the arguments (without the program name). On a usage error returns
// nothing and leaves the reason in `error`.
std::optional<Options> parseOptions(const QStringList& arguments, QString& error);

// True when the arguments name a command that runs without a window.
bool isConsoleCommand(const QStringList& arguments);

// The environment variable that may carry the operator's password instead of
// --password (which other users of the machine can see in the process list).
inline constexpr char kPasswordVariable[] = "WMS_PASSWORD";

// The password to log in with: --password when given, otherwise WMS_PASSWORD
// when it is set; none (the login dialog) otherwise.
std::optional<QString> loginPassword(const Options& options);

// Overwrites the value of WMS_PASSWORD where the environment holds it (also
// the block the process started with, which /proc/PID/environ shows) and
// removes the variable. Called as soon as the password has been read.
void forgetPasswordVariable();

QString usage();

}  // namespace app

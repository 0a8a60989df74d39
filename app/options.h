#pragma once
// The command line of wms-rights:
//   wms-rights [--db URL] [--operator ID [--password PW]]
//   wms-rights check --db URL --operator ID --item CODE --level L
//   wms-rights level --db URL --operator ID --item CODE

#include <QString>
#include <QStringList>
#include <optional>

namespace app {

enum class Command { Gui, Check, Level, Help };

struct Options {
    Command command = Command::Gui;
    QString db;  // empty: the sample database
    std::optional<QString> operatorId;
    std::optional<QString> password;
    std::optional<QString> item;
    std::optional<QString> level;
};

// Parses the arguments (without the program name). On a usage error returns
// nothing and leaves the reason in `error`.
std::optional<Options> parseOptions(const QStringList& arguments, QString& error);

// True when the arguments name a command that runs without a window.
bool isConsoleCommand(const QStringList& arguments);

QString usage();

}  // namespace app

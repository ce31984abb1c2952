#pragma once

// The program's command line: where to sign on and where to look for updates.
// It is read before any window system is needed, so that --help, --version
// and a bad value are answered on a terminal without a display.

#include "session/serveraddress.h"

#include <QString>
#include <QStringList>
#include <QUrl>
#include <optional>

struct CommandLine
{
    enum class Action { Run, PrintAndExit };

    Action action = Action::Run;
    // For PrintAndExit: the help or the version, for standard output.
    QString output;
    ServerAddress server;
    // Whether --server was given; without it a remembered server is used.
    bool serverGiven = false;
    QUrl updateUrl;
    // --debug-wire: the session's wire log on standard error.
    bool debugWire = false;
};

// Reads the options. Qt's own window-system options (-platform, -style, ...)
// are left for QApplication. A value that cannot be used gives nothing and a
// sentence in error.
std::optional<CommandLine> parseCommandLine(const QStringList &arguments, QString &error);

// Whether a window system can be reached: an X or Wayland display, or a Qt
// platform chosen on the command line or in the environment.
bool windowSystemGiven(const QStringList &arguments);

#pragma once

// The program's command line: where to sign on and where to look for updates.

#include "main/serveraddress.h"

#include <QString>
#include <QStringList>
#include <QUrl>
#include <optional>

struct CommandLine
{
    ServerAddress server;
    QUrl updateUrl;
};

// Reads the options; --help and --version print and exit the process as
// QCommandLineParser does. A value that cannot be used gives nothing and a
// sentence in error.
std::optional<CommandLine> parseCommandLine(const QStringList &arguments, QString &error);

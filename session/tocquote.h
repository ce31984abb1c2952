#pragma once

// The quoting rules of TOC command lines, for both directions: the client
// escapes free text into quoted arguments, the local server reads them back.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <optional>

namespace TocQuote {

// A backslash in front of each of \ $ " ( ) [ ] { }; everything else unchanged.
QByteArray EscapeArg(QByteArrayView text);

// The argument escaped and put between double quotes.
QByteArray quoted(QByteArrayView text);
// Between double quotes with only a quote or backslash escaped: what a
// server that reads the argument like a CSV field, taking no escapes off,
// still reads as sent (Open OSCAR Server's toc2_remove_buddy), and what any
// TOC2 server reads the same way.
QByteArray quotedSparingly(QByteArrayView text);

// Splits a command line into its words: bare words end at a space, quoted
// words run to the closing quote and lose their escaping backslashes.
// Nothing when a quote is left open or a backslash ends the line.
std::optional<QList<QByteArray>> splitCommandLine(QByteArrayView line);

} // namespace TocQuote

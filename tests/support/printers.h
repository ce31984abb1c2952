#pragma once

// Readable gtest failure output for Qt's text types.

#include "session/wirelog.h"

#include <QByteArray>
#include <QString>
#include <ostream>

inline void PrintTo(const QByteArray &bytes, std::ostream *os)
{
    *os << '"' << WireLog::printable(bytes).toStdString() << '"';
}

inline void PrintTo(const QString &text, std::ostream *os) { *os << '"' << text.toStdString() << '"'; }

#pragma once

// Readable gtest failure output for Qt's text types.

#include <QByteArray>
#include <QString>
#include <ostream>

inline void PrintTo(const QByteArray &bytes, std::ostream *os)
{
    *os << '"';
    for (char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 32 && u < 127 && c != '\\')
            *os << c;
        else
            *os << "\\x" << "0123456789abcdef"[u >> 4] << "0123456789abcdef"[u & 15];
    }
    *os << '"';
}

inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

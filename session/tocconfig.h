#pragma once

// The stored configuration that CONFIG2 carries at sign-on, as lists.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

struct TocConfig
{
    QList<QByteArray> BuddyList;   // "[group]" entries, each followed by its buddies
    QList<QByteArray> BlockList;
    QList<QByteArray> PrivateList;
    QList<QByteArray> MiscData;    // every line of no known kind, whole
    QByteArray strPreferences;     // the last "pref:" line wins
    qint16 PrivacyMode = 0;
    bool complete = false;         // a "done:" line was reached
};

namespace TocConfigText {

inline constexpr QByteArrayView EndMarker = "done:\n";

// True once the text holds the end marker "done:" with its line feed; until
// then the configuration continues in later frames.
bool hasEnd(QByteArrayView text);

// Reads the lines in order up to the "done:" line; what follows it is ignored.
TocConfig parse(QByteArrayView text);

} // namespace TocConfigText

#pragma once

// The stored configuration that CONFIG2 carries at sign-on, as lists.

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>

struct TocConfig
{
    QList<QByteArray> BuddyList; // "[group]" entries, each followed by its buddies
    QList<QByteArray> BlockList;
    QList<QByteArray> PrivateList;
    QList<QByteArray> MiscData; // every line of no known kind, whole
    QByteArray strPreferences; // the last "pref:" line wins
    qint16 PrivacyMode = 0;
    bool complete = false; // a "done:" line was reached
    // By normalized buddy name: the name to show for the buddy, stored with it
    // as "b:name:alias" (by other clients, or toc2_new_buddies with an alias).
    QHash<QByteArray, QByteArray> Aliases;
};

namespace TocConfigText {

inline constexpr QByteArrayView EndMarker = "done:\n";

// True once the text holds the end marker "done:" with its line feed; until
// then the configuration continues in later frames.
bool hasEnd(QByteArrayView text);

// Reads the lines in order up to the "done:" line; what follows it is ignored.
TocConfig parse(QByteArrayView text);

// The buddy a BuddyList entry names: the entry up to its first colon. What
// follows is the alias and note stored with the buddy ("b:name:alias:::::note").
QByteArray buddyName(QByteArrayView entry);

} // namespace TocConfigText

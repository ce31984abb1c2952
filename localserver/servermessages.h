#pragma once

// One builder per TOC2 server message, each returning the exact message text
// (data frames from the server carry no NUL). Free text always goes last, so
// its colons survive the client's fixed-piece cutting.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <utility>

namespace ServerMessage {

// A CONFIG2 frame never carries more configuration text than this; longer
// configurations go out over several frames cut at line ends.
inline constexpr int MaxConfigChunk = 1024;

// What the server knows about a user when it reports presence.
struct Presence
{
    QByteArray name;
    bool online = false;
    int warningLevel = 0;
    qint64 signOnTime = 0;
    int idleMinutes = 0;
    bool away = false;
};

QByteArray signOn();
QByteArray nick(QByteArrayView displayName);
using BuddyGroup = std::pair<QByteArray, QList<QByteArray>>;
// The stored configuration: the groups with their buddies, the permit and
// deny lists and the privacy mode, ending with the "done:" line.
QList<QByteArray> config(const QList<BuddyGroup> &groups, const QList<QByteArray> &permitted,
                         const QList<QByteArray> &denied, int privacyMode);
QByteArray updateBuddy(const Presence &presence);
// The user-class letters: " O " for an ordinary user, " OU" when away.
QByteArray userClass(bool away);
QByteArray imIn(QByteArrayView sender, bool autoResponse, bool senderAway, QByteArrayView message);
QByteArray chatJoin(qint32 chatId, QByteArrayView roomName);
QByteArray chatUpdateBuddy(qint32 chatId, bool inside, const QList<QByteArray> &names);
QByteArray chatIn(qint32 chatId, QByteArrayView sender, QByteArrayView message);
QByteArray chatLeft(qint32 chatId);
QByteArray error(int code, QByteArrayView argument = {});
QByteArray eviled(int level, QByteArrayView from);
QByteArray passwordStatus(int status);
QByteArray nickStatus(int status);
// Where the client finds something, such as a profile, on the server.
QByteArray gotoUrl(QByteArrayView window, QByteArrayView url);
QByteArray clientEvent(QByteArrayView sender, int typingStatus);
QByteArray chatInvite(QByteArrayView roomName, qint32 chatId, QByteArrayView from, QByteArrayView message);

} // namespace ServerMessage

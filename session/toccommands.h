#pragma once

// One builder per TOC2 client command, each returning the exact command line
// (without the NUL that the data frame adds). Every quoted argument is escaped,
// so nothing a user types can end an argument early or add one.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <optional>

namespace TocCommand {

// TOC servers drop a client whose command line is longer than this.
inline constexpr int MaxCommandLength = 2048;
inline bool fits(QByteArrayView line) { return line.size() <= MaxCommandLength; }

// The client's FLAP sign-on frame payload for a normalized screen name.
QByteArray signOnPayload(QByteArrayView screenName);
QByteArray login(QByteArrayView authServer, qint32 port, QByteArrayView screenName, QByteArrayView roastedPassword);
QByteArray initDone();

QByteArray joinChat(QByteArrayView roomName, qint16 exchange);
QByteArray leaveChat(qint32 chatId);
QByteArray sendChat(qint32 chatId, QByteArrayView message);
QByteArray getInfo(QByteArrayView userName);
QByteArray sendIm(QByteArrayView userName, QByteArrayView message, bool autoResponse);
QByteArray changePassword(QByteArrayView oldPassword, QByteArrayView newPassword);
QByteArray formatNickname(QByteArrayView formatted);
QByteArray setAway(QByteArrayView awayMessage);
QByteArray setInfo(QByteArrayView profile);
QByteArray getStatus(QByteArrayView userName);
// Nothing when the minutes in seconds overflow 32 bits.
std::optional<QByteArray> setIdle(qint32 minutes);
QByteArray chatAccept(qint32 chatId);
QByteArray chatInvite(qint32 chatId, QByteArrayView inviteMessage, QByteArrayView users);
// One invitation to every name given.
QByteArray chatInvite(qint32 chatId, QByteArrayView inviteMessage, const QList<QByteArray> &users);
QByteArray evil(QByteArrayView userName, bool anonymous);
QByteArray newBuddies(QByteArrayView group, QByteArrayView buddy);
QByteArray removeBuddy(QByteArrayView group, QByteArrayView buddy);
// Many buddies of one group, in as few lines as the length limit allows.
QList<QByteArray> newBuddies(QByteArrayView group, const QList<QByteArray> &buddies);
QList<QByteArray> removeBuddies(QByteArrayView group, const QList<QByteArray> &buddies);
QByteArray newGroup(QByteArrayView group);
QByteArray deleteGroup(QByteArrayView group);
QByteArray addDeny(QByteArrayView userName);
QByteArray removeDeny(QByteArrayView userName);
QByteArray addPermit(QByteArrayView userName);
QByteArray removePermit(QByteArrayView userName);
QByteArray setPdMode(qint16 mode);
QByteArray setCaps(QByteArrayView capability);
// Typing state for a correspondent: 0 nothing, 1 text typed, 2 typing.
QByteArray clientEvent(QByteArrayView userName, qint16 typingStatus);

} // namespace TocCommand

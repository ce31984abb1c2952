// The commands of QuorTOCSock that a window sends as one step but that take
// more than one command line, or a list of names.

#include "quortocsock.h"

#include "toccommands.h"

#include <algorithm>

QuorTOCSock::SendCheck QuorTOCSock::trySendAll(const QList<QByteArray> &lines)
{
    if (!std::all_of(lines.cbegin(), lines.cend(), [](const QByteArray &line) { return TocCommand::fits(line); }))
        return SendCheck::TooLong;
    if (!isConnected())
        return SendCheck::NotSignedOn;
    for (const QByteArray &line : lines)
        sendCommand(line);
    return SendCheck::Sendable;
}

QuorTOCSock::SendCheck QuorTOCSock::tryInviteUsers(qint32 lngChatID, const QByteArray &strInviteMessage,
                                                   const QList<QByteArray> &users)
{
    return trySend(TocCommand::chatInvite(lngChatID, strInviteMessage, users));
}

QuorTOCSock::SendCheck QuorTOCSock::trySetIdleTime(qint32 lngMinutes)
{
    const std::optional<QByteArray> line = TocCommand::setIdle(lngMinutes);
    return line ? trySend(*line) : SendCheck::TooLong;
}

QuorTOCSock::SendCheck QuorTOCSock::tryAddGroup(const QByteArray &strGroup)
{
    return trySend(TocCommand::newGroup(strGroup));
}

QuorTOCSock::SendCheck QuorTOCSock::tryMoveBuddy(const QByteArray &strBuddy, const QByteArray &strFrom,
                                                 const QByteArray &strTo)
{
    // Added first: a buddy is never off the list in between.
    return trySendAll({TocCommand::newBuddies(strTo, strBuddy), TocCommand::removeBuddy(strFrom, strBuddy)});
}

QuorTOCSock::SendCheck QuorTOCSock::tryRenameGroup(const QByteArray &strGroup, const QByteArray &strNewName,
                                                   const QList<QByteArray> &buddies)
{
    QList<QByteArray> lines{TocCommand::newGroup(strNewName)};
    lines += TocCommand::newBuddies(strNewName, buddies);
    lines += TocCommand::removeBuddies(strGroup, buddies);
    lines += TocCommand::deleteGroup(strGroup);
    return trySendAll(lines);
}

QuorTOCSock::SendCheck QuorTOCSock::tryRemoveGroup(const QByteArray &strGroup, const QList<QByteArray> &buddies)
{
    QList<QByteArray> lines = TocCommand::removeBuddies(strGroup, buddies);
    lines += TocCommand::deleteGroup(strGroup);
    return trySendAll(lines);
}

#pragma once

// CommandHandler: what the server does for each client command line. Signs
// users on and off, routes instant messages, runs chat rooms, presence,
// privacy and warnings over the directory and the rooms, and speaks for the
// resident bot. A bad command gets an ERROR reply and ends nothing.

#include "chatrooms.h"
#include "userdirectory.h"

#include <QByteArray>
#include <QHash>
#include <QList>

class ClientConnection;

class CommandHandler
{
public:
    // The only chat exchange this server runs, the one clients join rooms on.
    static constexpr int ChatExchange = 4;

    CommandHandler();

    void handleCommand(ClientConnection *connection, const QByteArray &line);
    // The connection has ended: its user, if any, signs off.
    void connectionClosed(ClientConnection *connection);

    const UserDirectory &directory() const { return m_directory; }
    const ChatRooms &rooms() const { return m_rooms; }

private:
    using Words = QList<QByteArray>;
    using Handler = void (CommandHandler::*)(const QByteArray &key, const Words &words);
    struct Command
    {
        int minWords;
        Handler handler;
    };

    void login(ClientConnection *connection, const Words &words);
    void refuseLogin(ClientConnection *connection, const QByteArray &error);
    void signOff(const QByteArray &key);

    void initDone(const QByteArray &key, const Words &words);
    void sendIm(const QByteArray &key, const Words &words);
    void setAway(const QByteArray &key, const Words &words);
    void setInfo(const QByteArray &key, const Words &words);
    void getInfo(const QByteArray &key, const Words &words);
    void getStatus(const QByteArray &key, const Words &words);
    void formatNickname(const QByteArray &key, const Words &words);
    void newBuddies(const QByteArray &key, const Words &words);
    void removeBuddy(const QByteArray &key, const Words &words);
    void newGroup(const QByteArray &key, const Words &words);
    void delGroup(const QByteArray &key, const Words &words);
    void setIdle(const QByteArray &key, const Words &words);
    void evil(const QByteArray &key, const Words &words);
    void addDeny(const QByteArray &key, const Words &words);
    void removeDeny(const QByteArray &key, const Words &words);
    void addPermit(const QByteArray &key, const Words &words);
    void removePermit(const QByteArray &key, const Words &words);
    void setPdMode(const QByteArray &key, const Words &words);
    void changePassword(const QByteArray &key, const Words &words);
    void chatJoin(const QByteArray &key, const Words &words);
    void chatInvite(const QByteArray &key, const Words &words);
    void chatAccept(const QByteArray &key, const Words &words);
    void enterRoom(const QByteArray &key, const QByteArray &roomName);
    void clientEvent(const QByteArray &key, const Words &words);
    void chatSend(const QByteArray &key, const Words &words);
    void chatLeave(const QByteArray &key, const Words &words);

    void leaveRoom(qint32 id, const QByteArray &key);
    void botAnswer(const QByteArray &sender, const QByteArray &message);
    void deliver(const QByteArray &key, const QByteArray &message);
    void deliverToRoom(qint32 id, const QByteArray &message, const QByteArray &except = {});
    // Tells every other visible user about key's presence.
    void broadcastPresence(const QByteArray &key);

    UserDirectory m_directory;
    ChatRooms m_rooms;
    QHash<QByteArray, Command> m_commands;
    QByteArray m_botKey;
    // (warner, warnee): warnings allowed by messages received, as on the real
    // network, where only somebody who wrote to you can be warned.
    static constexpr int MaxWarnAllowance = 10;
    QHash<std::pair<QByteArray, QByteArray>, int> m_warnAllowance;
};

#include "commandhandler.h"

#include "session/tocprotocol.h"

#include "clientconnection.h"
#include "qivbot.h"
#include "session/screenname.h"
#include "servermessages.h"
#include "session/tocquote.h"

#include <QDateTime>
#include <limits>

namespace {
// TOC error codes this server answers with.
using namespace TocProtocol;
const QByteArray InvalidNameSubCode = "7";
const QByteArray BlockedSubCode = "17";

QByteArray key(const QByteArray &name) { return ScreenName::NormalizeName(name); }
} // namespace

CommandHandler::CommandHandler()
    : m_botKey(key(QivBot::Name))
{
    m_directory.addResident(QivBot::Name);
    m_rooms.addPermanentRoom(QivBot::HomeRoom, m_botKey);

    m_commands = {
        {"toc_init_done", {1, &CommandHandler::initDone}},
        {"toc_send_im", {3, &CommandHandler::sendIm}},
        {"toc_set_away", {1, &CommandHandler::setAway}},
        {"toc_set_info", {2, &CommandHandler::setInfo}},
        {"toc_get_info", {2, &CommandHandler::getInfo}},
        {"toc_get_status", {2, &CommandHandler::getStatus}},
        {"toc_evil", {3, &CommandHandler::evil}},
        {"toc2_add_deny", {2, &CommandHandler::addDeny}},
        {"toc2_remove_deny", {2, &CommandHandler::removeDeny}},
        {"toc2_add_permit", {2, &CommandHandler::addPermit}},
        {"toc2_remove_permit", {2, &CommandHandler::removePermit}},
        {"toc2_set_pdmode", {2, &CommandHandler::setPdMode}},
        {"toc_change_passwd", {3, &CommandHandler::changePassword}},
        {"toc_chat_join", {3, &CommandHandler::chatJoin}},
        {"toc_chat_send", {3, &CommandHandler::chatSend}},
        {"toc_chat_leave", {2, &CommandHandler::chatLeave}},
        {"toc_format_nickname", {2, &CommandHandler::formatNickname}},
        {"toc2_new_buddies", {2, &CommandHandler::newBuddies}},
        {"toc2_remove_buddy", {3, &CommandHandler::removeBuddy}},
        {"toc2_new_group", {2, &CommandHandler::newGroup}},
        {"toc2_del_group", {2, &CommandHandler::delGroup}},
        {"toc_set_idle", {2, &CommandHandler::setIdle}},
        {"toc2_client_event", {3, &CommandHandler::clientEvent}},
        {"toc_chat_invite", {4, &CommandHandler::chatInvite}},
        {"toc_chat_accept", {2, &CommandHandler::chatAccept}},
    };
}

void CommandHandler::handleCommand(ClientConnection *connection, const QByteArray &line)
{
    const std::optional<Words> words = TocQuote::splitCommandLine(line);
    const QByteArray &userKey = connection->userKey();
    if (userKey.isEmpty()) {
        // Until sign-on only the login line makes sense; anything else is not a
        // TOC client talking.
        if (words && !words->isEmpty() && words->first() == "toc2_login")
            login(connection, *words);
        else
            connection->close();
        return;
    }
    if (!words || words->isEmpty() || line.contains('\0')) {
        connection->sendMessage(ServerMessage::error(InvalidInput));
        return;
    }
    const auto found = m_commands.constFind(words->first());
    if (found == m_commands.cend() || words->size() < found->minWords) {
        connection->sendMessage(ServerMessage::error(InvalidInput));
        return;
    }
    (this->*found->handler)(userKey, *words);
}

void CommandHandler::login(ClientConnection *connection, const Words &words)
{
    // toc2_login host port name roasted-password ...
    if (words.size() < 5) {
        connection->close();
        return;
    }
    const QByteArray &typedName = words[3];
    const QByteArray userKey = key(typedName);
    if (userKey != key(connection->signOnName())) {
        refuseLogin(connection, ServerMessage::error(BadPassword));
        return;
    }
    switch (m_directory.checkLogin(typedName, words[4])) {
    case UserDirectory::LoginResult::InvalidName:
        refuseLogin(connection, ServerMessage::error(SignOnRefused, InvalidNameSubCode));
        return;
    case UserDirectory::LoginResult::Full:
        refuseLogin(connection, ServerMessage::error(SignOnRefused, BlockedSubCode));
        return;
    case UserDirectory::LoginResult::WrongPassword:
        refuseLogin(connection, ServerMessage::error(BadPassword));
        return;
    case UserDirectory::LoginResult::Accepted:
        break;
    }
    // Signing on again from elsewhere ends the older session, as on AIM.
    if (ClientConnection *older = m_directory.connectionOf(userKey))
        older->close();

    connection->setUserKey(userKey);
    m_directory.setOnline(userKey, connection, QDateTime::currentSecsSinceEpoch());
    connection->sendMessage(ServerMessage::signOn());
    connection->sendMessage(ServerMessage::nick(m_directory.displayName(userKey)));
    // Buddies filed in a group named like the shared one are listed in it.
    QList<ServerMessage::BuddyGroup> groups{{UserDirectory::SharedGroup, m_directory.buddiesOf(userKey)}};
    for (const ServerMessage::BuddyGroup &filed : m_directory.filedGroupsOf(userKey)) {
        if (filed.first == UserDirectory::SharedGroup)
            groups.first().second += filed.second;
        else
            groups += filed;
    }
    const QList<QByteArray> config
        = ServerMessage::config(groups, m_directory.permittedNames(userKey), m_directory.deniedNames(userKey),
                                m_directory.privacyMode(userKey));
    for (const QByteArray &frame : config)
        connection->sendMessage(frame);
}

void CommandHandler::refuseLogin(ClientConnection *connection, const QByteArray &error)
{
    connection->sendMessage(error);
    connection->close();
}

void CommandHandler::connectionClosed(ClientConnection *connection)
{
    const QByteArray userKey = connection->userKey();
    // A session replaced by a newer sign-on has already been signed off.
    if (userKey.isEmpty() || m_directory.connectionOf(userKey) != connection)
        return;
    signOff(userKey);
}

void CommandHandler::signOff(const QByteArray &userKey)
{
    m_warnAllowance.removeIf(
        [&](const auto &entry) { return entry.key().first == userKey || entry.key().second == userKey; });
    for (qint32 id : m_rooms.roomsOf(userKey))
        leaveRoom(id, userKey);
    const bool wasVisible = m_directory.isVisible(userKey);
    m_directory.setOffline(userKey);
    if (wasVisible)
        broadcastPresence(userKey);
}

void CommandHandler::initDone(const QByteArray &userKey, const Words &)
{
    // Others see a user only once the client has finished signing on, and
    // the user learns who is online only after the buddy list exists.
    if (m_directory.isVisible(userKey))
        return;
    m_directory.setVisible(userKey);
    broadcastPresence(userKey);
    for (const QByteArray &other : m_directory.visibleUsers()) {
        if (m_directory.hasBuddy(userKey, other))
            deliver(userKey, ServerMessage::updateBuddy(m_directory.presence(other)));
    }
}

void CommandHandler::sendIm(const QByteArray &userKey, const Words &words)
{
    const QByteArray target = key(words[1]);
    const bool autoResponse = words.size() > 3 && words[3] == "auto";
    if (!m_directory.isVisible(target)) {
        deliver(userKey, ServerMessage::error(NotAvailable, target));
        return;
    }
    if (target == m_botKey) {
        // Answering an automatic reply could start two robots talking forever.
        if (!autoResponse)
            botAnswer(userKey, words[2]);
        return;
    }
    if (m_directory.blocks(target, userKey))
        return;
    deliver(target,
            ServerMessage::imIn(m_directory.displayName(userKey), autoResponse, m_directory.isAway(userKey), words[2]));
    int &allowance = m_warnAllowance[{target, userKey}];
    allowance = qMin(allowance + 1, MaxWarnAllowance);
}

void CommandHandler::clientEvent(const QByteArray &userKey, const Words &words)
{
    bool isNumber = false;
    const int status = words[2].toInt(&isNumber);
    if (!isNumber || status < 0 || status > 2) {
        deliver(userKey, ServerMessage::error(InvalidInput));
        return;
    }
    // Typing news goes where a message would; nobody is told it did not.
    const QByteArray target = key(words[1]);
    if (m_directory.isVisible(target) && !m_directory.isResident(target) && !m_directory.blocks(target, userKey))
        deliver(target, ServerMessage::clientEvent(m_directory.displayName(userKey), status));
}

void CommandHandler::botAnswer(const QByteArray &sender, const QByteArray &message)
{
    if (m_directory.blocks(sender, m_botKey))
        return;
    const QByteArray reply = QivBot::replyTo(m_directory.displayName(sender), message);
    deliver(sender, ServerMessage::imIn(QivBot::Name, false, false, reply));
}

void CommandHandler::setAway(const QByteArray &userKey, const Words &words)
{
    const bool away = words.size() > 1 && !words[1].isEmpty();
    if (m_directory.setAway(userKey, away) && m_directory.isVisible(userKey))
        broadcastPresence(userKey);
}

void CommandHandler::setInfo(const QByteArray &userKey, const Words &words)
{
    m_directory.setProfile(userKey, words[1]);
}

void CommandHandler::getInfo(const QByteArray &userKey, const Words &words)
{
    // Profiles are web pages on the server; the answer is where to find one,
    // whether or not its owner is online (the page itself says).
    const QByteArray target = key(words[1]);
    if (!UserDirectory::isValidKey(target)) {
        deliver(userKey, ServerMessage::error(InvalidInput));
        return;
    }
    deliver(userKey, ServerMessage::gotoUrl("profile", "info?from=" + userKey + "&user=" + target));
}

void CommandHandler::getStatus(const QByteArray &userKey, const Words &words)
{
    // Presence as a buddy would see it; nobody offline, or keeping the
    // asker out, is there to be seen.
    const QByteArray target = key(words[1]);
    if (!m_directory.isVisible(target) || m_directory.blocks(target, userKey)) {
        deliver(userKey, ServerMessage::error(NotAvailable, target));
        return;
    }
    deliver(userKey, ServerMessage::updateBuddy(m_directory.presence(target)));
}

void CommandHandler::formatNickname(const QByteArray &userKey, const Words &words)
{
    if (!m_directory.setDisplayName(userKey, words[1])) {
        deliver(userKey, ServerMessage::error(InvalidInput));
        return;
    }
    deliver(userKey, ServerMessage::nickStatus(0));
    deliver(userKey, ServerMessage::nick(words[1]));
}

void CommandHandler::newBuddies(const QByteArray &userKey, const Words &words)
{
    // One argument of configuration lines: "g:" starts a group, "b:" files a
    // buddy, "b:name:alias" with the name to show for it (a note after
    // ":::::" is not kept here).
    QByteArray group;
    for (const QByteArray &line : words[1].split('\n')) {
        if (line.startsWith("g:")) {
            group = line.mid(2);
        } else if (line.startsWith("b:") && !group.isEmpty()) {
            const QList<QByteArray> fields = line.mid(2).split(':');
            const QByteArray buddy = key(fields.first());
            if (m_directory.addBuddy(userKey, group, buddy, fields.value(1)) && m_directory.isVisible(buddy))
                deliver(userKey, ServerMessage::updateBuddy(m_directory.presence(buddy)));
        }
    }
}

void CommandHandler::removeBuddy(const QByteArray &userKey, const Words &words)
{
    // toc2_remove_buddy buddy... group
    const QByteArray &group = words.last();
    for (const QByteArray &name : words.sliced(1, words.size() - 2))
        m_directory.removeBuddy(userKey, group, key(name));
}

void CommandHandler::newGroup(const QByteArray &userKey, const Words &words)
{
    if (!m_directory.addGroup(userKey, words[1]))
        deliver(userKey, ServerMessage::error(InvalidInput));
}

void CommandHandler::delGroup(const QByteArray &userKey, const Words &words)
{
    if (!m_directory.removeGroup(userKey, words[1]))
        deliver(userKey, ServerMessage::error(InvalidInput));
}

void CommandHandler::setIdle(const QByteArray &userKey, const Words &words)
{
    // Seconds idle so far; the server counts on by itself.
    bool isNumber = false;
    const qint64 seconds = words[1].toLongLong(&isNumber);
    if (!isNumber || seconds < 0 || seconds > std::numeric_limits<quint32>::max()) {
        deliver(userKey, ServerMessage::error(InvalidInput));
        return;
    }
    m_directory.setIdle(userKey, seconds);
    if (m_directory.isVisible(userKey))
        broadcastPresence(userKey);
}

void CommandHandler::evil(const QByteArray &userKey, const Words &words)
{
    const QByteArray target = key(words[1]);
    const bool anonymous = words[2] == "anon";
    // Each message received from someone allows one warning of them.
    auto allowance = m_warnAllowance.find({userKey, target});
    if (target == userKey || m_directory.isResident(target) || !m_directory.isVisible(target)
        || allowance == m_warnAllowance.end()) {
        deliver(userKey, ServerMessage::error(WarningNotAvailable, target));
        return;
    }
    if (--*allowance == 0)
        m_warnAllowance.erase(allowance);
    const int level = m_directory.warn(target, anonymous);
    deliver(target, ServerMessage::eviled(level, anonymous ? QByteArray() : m_directory.displayName(userKey)));
    broadcastPresence(target);
}

void CommandHandler::addDeny(const QByteArray &userKey, const Words &words)
{
    for (const QByteArray &name : words.sliced(1))
        m_directory.addDeny(userKey, key(name));
}

void CommandHandler::removeDeny(const QByteArray &userKey, const Words &words)
{
    for (const QByteArray &name : words.sliced(1))
        m_directory.removeDeny(userKey, key(name));
}

void CommandHandler::addPermit(const QByteArray &userKey, const Words &words)
{
    for (const QByteArray &name : words.sliced(1))
        m_directory.addPermit(userKey, key(name));
}

void CommandHandler::removePermit(const QByteArray &userKey, const Words &words)
{
    for (const QByteArray &name : words.sliced(1))
        m_directory.removePermit(userKey, key(name));
}

void CommandHandler::setPdMode(const QByteArray &userKey, const Words &words)
{
    bool ok = false;
    const int mode = words[1].toInt(&ok);
    if (!ok || mode < UserDirectory::PermitAll || mode > UserDirectory::PermitBuddies) {
        deliver(userKey, ServerMessage::error(InvalidInput));
        return;
    }
    m_directory.setPrivacyMode(userKey, mode);
}

void CommandHandler::changePassword(const QByteArray &userKey, const Words &words)
{
    // The client sends both passwords in plain text; only roasted ones are kept.
    if (!m_directory.changePassword(userKey, ScreenName::RoastPassword(words[1]),
                                    ScreenName::RoastPassword(words[2]))) {
        deliver(userKey, ServerMessage::error(BadPassword));
        return;
    }
    deliver(userKey, ServerMessage::passwordStatus(0));
}

void CommandHandler::deliver(const QByteArray &userKey, const QByteArray &message)
{
    if (ClientConnection *connection = m_directory.connectionOf(userKey))
        connection->sendMessage(message);
}

void CommandHandler::broadcastPresence(const QByteArray &userKey)
{
    const QByteArray message = ServerMessage::updateBuddy(m_directory.presence(userKey));
    for (const QByteArray &other : m_directory.visibleUsers()) {
        if (m_directory.hasBuddy(other, userKey))
            deliver(other, message);
    }
}

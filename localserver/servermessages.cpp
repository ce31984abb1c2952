#include "servermessages.h"

namespace ServerMessage {

namespace {
QByteArray dec(qint64 n) { return QByteArray::number(n); }
QByteArray flag(bool value) { return value ? "T" : "F"; }
} // namespace

QByteArray signOn() { return "SIGN_ON:TOC2.0"; }

QByteArray nick(QByteArrayView displayName) { return "NICK:" + displayName.toByteArray(); }

QList<QByteArray> config(const QList<BuddyGroup> &groups, const QList<QByteArray> &permitted,
                         const QList<QByteArray> &denied, int privacyMode)
{
    QList<QByteArray> lines;
    for (const auto &[group, buddies] : groups) {
        lines.append("g:" + group + '\n');
        for (const QByteArray &buddy : buddies)
            lines.append("b:" + buddy + '\n');
    }
    for (const QByteArray &name : permitted)
        lines.append("p:" + name + '\n');
    for (const QByteArray &name : denied)
        lines.append("d:" + name + '\n');
    lines.append("m:" + dec(privacyMode) + '\n');
    lines.append("done:\n");

    // The client joins CONFIG2 frames until one holds "done:" and a line feed,
    // so a cut must fall between lines, never inside the final one.
    QList<QByteArray> frames;
    QByteArray chunk;
    for (const QByteArray &line : lines) {
        if (!chunk.isEmpty() && chunk.size() + line.size() > MaxConfigChunk) {
            frames.append("CONFIG2:" + chunk);
            chunk.clear();
        }
        chunk += line;
    }
    frames.append("CONFIG2:" + chunk);
    return frames;
}

QByteArray userClass(bool away) { return away ? " OU" : " O "; }

QByteArray updateBuddy(const Presence &presence)
{
    return "UPDATE_BUDDY2:" + presence.name + ':' + flag(presence.online) + ':' + dec(presence.warningLevel) + ':'
        + dec(presence.signOnTime) + ':' + dec(presence.idleMinutes) + ':' + userClass(presence.away) + ':';
}

QByteArray imIn(QByteArrayView sender, bool autoResponse, bool senderAway, QByteArrayView message)
{
    return "IM_IN_ENC2:" + sender.toByteArray() + ':' + flag(autoResponse) + ":F:T:" + userClass(senderAway)
        + ":F:L:en:" + message.toByteArray();
}

QByteArray chatJoin(qint32 chatId, QByteArrayView roomName)
{
    return "CHAT_JOIN:" + dec(chatId) + ':' + roomName.toByteArray();
}

QByteArray chatUpdateBuddy(qint32 chatId, bool inside, const QList<QByteArray> &names)
{
    QByteArray message = "CHAT_UPDATE_BUDDY:" + dec(chatId) + ':' + flag(inside);
    for (const QByteArray &name : names)
        message += ':' + name;
    return message;
}

QByteArray chatIn(qint32 chatId, QByteArrayView sender, QByteArrayView message)
{
    return "CHAT_IN_ENC:" + dec(chatId) + ':' + sender.toByteArray() + ":F:A:en:" + message.toByteArray();
}

QByteArray chatLeft(qint32 chatId) { return "CHAT_LEFT:" + dec(chatId); }

QByteArray error(int code, QByteArrayView argument)
{
    QByteArray message = "ERROR:" + dec(code);
    if (!argument.isEmpty())
        message += ':' + argument.toByteArray();
    return message;
}

QByteArray eviled(int level, QByteArrayView from) { return "EVILED:" + dec(level) + ':' + from.toByteArray(); }

QByteArray passwordStatus(int status) { return "ADMIN_PASSWD_STATUS:" + dec(status); }

QByteArray nickStatus(int status) { return "ADMIN_NICK_STATUS:" + dec(status); }

QByteArray gotoUrl(QByteArrayView window, QByteArrayView url)
{
    return "GOTO_URL:" + window.toByteArray() + ':' + url.toByteArray();
}

QByteArray clientEvent(QByteArrayView sender, int typingStatus)
{
    return "CLIENT_EVENT2:" + sender.toByteArray() + ':' + dec(typingStatus);
}

QByteArray chatInvite(QByteArrayView roomName, qint32 chatId, QByteArrayView from, QByteArrayView message)
{
    return "CHAT_INVITE:" + roomName.toByteArray() + ':' + dec(chatId) + ':' + from.toByteArray() + ':'
        + message.toByteArray();
}

} // namespace ServerMessage

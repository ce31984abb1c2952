#include "toccommands.h"

#include "tocprotocol.h"

#include "flap.h"
#include "htmltext.h"
#include "screenname.h"
#include "tocfields.h"
#include "tocquote.h"

#include <limits>

using TocQuote::EscapeArg;
using TocQuote::quoted;
using TocQuote::quotedSparingly;

namespace TocCommand {

namespace {
QByteArray dec(qint64 n) { return QByteArray::number(n); }
QByteArray quotedName(QByteArrayView name) { return quoted(ScreenName::NormalizeName(name)); }
// Messages, away messages and profiles are HTML; Open OSCAR Server would end
// the argument at a double quote followed by white space.
QByteArray quotedHtml(QByteArrayView html) { return quoted(HtmlText::guardQuotes(html)); }

// head, then as many items as fit before the length limit, then tail; again
// for the items left. An item too long for a line of its own gets one anyway,
// which the sender then refuses as too long.
QList<QByteArray> packed(const QByteArray &head, const QList<QByteArray> &items, const QByteArray &tail)
{
    QList<QByteArray> lines;
    QByteArray line = head;
    for (const QByteArray &item : items) {
        if (line.size() > head.size() && line.size() + item.size() + tail.size() > MaxCommandLength) {
            lines.append(line + tail);
            line = head;
        }
        line += item;
    }
    if (line.size() > head.size())
        lines.append(line + tail);
    return lines;
}
} // namespace

QByteArray signOnPayload(QByteArrayView screenName)
{
    QByteArray payload = TocProtocol::FlapVersion.toByteArray() + TocProtocol::ScreenNameTag.toByteArray();
    payload.append(Flap::EncodeWord(quint16(screenName.size())));
    payload.append(screenName);
    return payload;
}

QByteArray login(QByteArrayView authServer, qint32 port, QByteArrayView screenName, QByteArrayView roastedPassword)
{
    QByteArray line("toc2_login ");
    line += authServer;
    line += ' ' + dec(port) + ' ';
    line += screenName;
    line += ' ';
    line += roastedPassword;
    line += " English  \"QuorTOCSock 2.0\" 160 US \"\" \"\" 3 0 30303 -kentucky -utf8 58203917";
    return line;
}

QByteArray initDone() { return "toc_init_done"; }

QByteArray joinChat(QByteArrayView roomName, qint16 exchange)
{
    return "toc_chat_join " + quoted(dec(exchange)) + ' ' + quoted(TocFields::trimSpaces(roomName));
}

QByteArray leaveChat(qint32 chatId) { return "toc_chat_leave " + quoted(dec(chatId)); }

QByteArray sendChat(qint32 chatId, QByteArrayView message)
{
    return "toc_chat_send " + quoted(dec(chatId)) + ' ' + quotedHtml(message);
}

QByteArray getInfo(QByteArrayView userName) { return "toc_get_info " + quotedName(userName); }

QByteArray sendIm(QByteArrayView userName, QByteArrayView message, bool autoResponse)
{
    QByteArray line = "toc_send_im " + quotedName(userName) + ' ' + quotedHtml(message);
    if (autoResponse)
        line += " auto";
    return line;
}

QByteArray changePassword(QByteArrayView oldPassword, QByteArrayView newPassword)
{
    return "toc_change_passwd " + quoted(oldPassword) + ' ' + quoted(newPassword);
}

QByteArray formatNickname(QByteArrayView formatted) { return "toc_format_nickname " + quoted(formatted); }
QByteArray setAway(QByteArrayView awayMessage) { return "toc_set_away " + quotedHtml(awayMessage); }
QByteArray setInfo(QByteArrayView profile) { return "toc_set_info " + quotedHtml(profile); }
QByteArray getStatus(QByteArrayView userName) { return "toc_get_status " + quotedName(userName); }

std::optional<QByteArray> setIdle(qint32 minutes)
{
    const qint64 seconds = qint64(minutes) * 60;
    if (seconds > std::numeric_limits<qint32>::max() || seconds < std::numeric_limits<qint32>::min())
        return std::nullopt;
    return "toc_set_idle " + quoted(dec(seconds));
}

QByteArray chatAccept(qint32 chatId) { return "toc_chat_accept " + quoted(dec(chatId)); }

QByteArray chatInvite(qint32 chatId, QByteArrayView inviteMessage, QByteArrayView users)
{
    return "toc_chat_invite " + quoted(dec(chatId)) + ' ' + quotedHtml(inviteMessage) + ' ' + quotedName(users);
}

QByteArray chatInvite(qint32 chatId, QByteArrayView inviteMessage, const QList<QByteArray> &users)
{
    QByteArray line = "toc_chat_invite " + quoted(dec(chatId)) + ' ' + quoted(inviteMessage);
    for (const QByteArray &user : users)
        line += ' ' + quotedName(user);
    return line;
}

QByteArray evil(QByteArrayView userName, bool anonymous)
{
    return "toc_evil " + quotedName(userName) + ' ' + quoted(anonymous ? "anon" : "norm");
}

QByteArray newBuddies(QByteArrayView group, QByteArrayView buddy)
{
    // Group and buddy share one quoted argument, one "kind:value" per line.
    return "toc2_new_buddies \"g:" + EscapeArg(group) + "\nb:" + EscapeArg(buddy) + "\n\"";
}

QByteArray removeBuddy(QByteArrayView group, QByteArrayView buddy)
{
    return "toc2_remove_buddy " + quoted(buddy) + ' ' + quotedSparingly(group);
}

QList<QByteArray> newBuddies(QByteArrayView group, const QList<QByteArray> &buddies)
{
    QList<QByteArray> entries;
    for (const QByteArray &buddy : buddies)
        entries.append("b:" + EscapeArg(buddy) + '\n');
    return packed("toc2_new_buddies \"g:" + EscapeArg(group) + '\n', entries, "\"");
}

QList<QByteArray> removeBuddies(QByteArrayView group, const QList<QByteArray> &buddies)
{
    QList<QByteArray> names;
    for (const QByteArray &buddy : buddies)
        names.append(quoted(buddy) + ' ');
    return packed("toc2_remove_buddy ", names, quotedSparingly(group));
}

QByteArray newGroup(QByteArrayView group) { return "toc2_new_group " + quoted(group); }
QByteArray deleteGroup(QByteArrayView group) { return "toc2_del_group " + quoted(group); }
QByteArray addDeny(QByteArrayView userName) { return "toc2_add_deny " + quotedName(userName); }
QByteArray removeDeny(QByteArrayView userName) { return "toc2_remove_deny " + quotedName(userName); }
QByteArray addPermit(QByteArrayView userName) { return "toc2_add_permit " + quotedName(userName); }
QByteArray removePermit(QByteArrayView userName) { return "toc2_remove_permit " + quotedName(userName); }
QByteArray setPdMode(qint16 mode) { return "toc2_set_pdmode " + dec(mode); }
QByteArray setCaps(QByteArrayView capability) { return "toc_set_caps " + quoted(capability); }

QByteArray clientEvent(QByteArrayView userName, qint16 typingStatus)
{
    return "toc2_client_event " + quotedName(userName) + ' ' + dec(typingStatus);
}

} // namespace TocCommand

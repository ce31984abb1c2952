#include "chatslots.h"

#include "appcontext.h"
#include "attention.h"
#include "conversation/frmaimchat.h"
#include "dialogs.h"
#include "productinfo.h"
#include "session/quortocsock.h"
#include "session/screenname.h"
#include "session/wiretext.h"

namespace {

// An empty or unreadable stored ID matches no chat.
bool sameChat(const QString &storedId, qint32 lngChatID)
{
    bool isNumber = false;
    const qint32 id = storedId.toInt(&isNumber);
    return isNumber && id == lngChatID;
}

} // namespace

ChatSlots::ChatSlots(AppContext &context, const QString &strMyName, QWidget *owner)
    : QObject(owner)
    , m_context(context)
    , m_strMyName(strMyName)
    , m_owner(owner)
{
    QuorTOCSock &btoc = m_context.btoc;
    connect(&btoc, &QuorTOCSock::JoinedChat, this, &ChatSlots::onJoinedChat, Qt::DirectConnection);
    connect(&btoc, &QuorTOCSock::ChatMessage, this, &ChatSlots::onChatMessage, Qt::DirectConnection);
    connect(&btoc, &QuorTOCSock::ChatUserUpdate, this, &ChatSlots::onChatUserUpdate, Qt::DirectConnection);
    connect(&btoc, &QuorTOCSock::LeftChat, this, &ChatSlots::onLeftChat, Qt::DirectConnection);
    connect(&btoc, &QuorTOCSock::ChatInvite, this, &ChatSlots::onChatInvite, Qt::DirectConnection);
    // A room that cannot be joined again does not hold up the others.
    connect(
        &btoc, &QuorTOCSock::Error, this,
        [this](qint16 code) {
            if (code == TocProtocol::ChatJoinFailed)
                joinNext();
        },
        Qt::DirectConnection);
}

ChatSlots::~ChatSlots()
{
    // Windows still held are hidden or open slots; deleting them skips their
    // leave question, which only a close asks.
    for (QPointer<frmAimChat> &w : m_windows)
        delete w.data();
}

frmAimChat *ChatSlots::existingWindow(int slot) const { return m_windows.at(slot - 1).data(); }

frmAimChat *ChatSlots::window(int slot)
{
    QPointer<frmAimChat> &held = m_windows.at(slot - 1);
    if (!held) {
        auto *w = new frmAimChat(m_context, m_owner);
        w->setObjectName(QStringLiteral("frmAimChat%1").arg(slot));
        // A closed window is only deleted later; from the close on, the slot
        // must look empty so that the next reference starts afresh.
        connect(w, &frmAimChat::closed, this, [this, slot, w] {
            if (m_windows.at(slot - 1) == w)
                m_windows.at(slot - 1) = nullptr;
        });
        held = w;
    }
    return held.data();
}

QString &ChatSlots::storedId(int slot) { return slot == 1 ? strChatID1 : slot == 2 ? strChatID2 : strChatID3; }

frmAimChat *ChatSlots::routeRoomTraffic(qint32 lngChatID)
{
    if (sameChat(strChatID1, lngChatID))
        return window(1);
    if (sameChat(strChatID2, lngChatID))
        return window(2);
    return window(3);
}

void ChatSlots::joinRoom()
{
    const QString room
        = m_context.dialogs.askText(m_owner, QStringLiteral("Chat name:"), QStringLiteral("Buddy Chat"), QString());
    const QString exchange
        = m_context.dialogs.askText(m_owner, QStringLiteral("Exchange(Leave this if you don't know what it is.):"),
                                    QStringLiteral("BuddyChat"), QStringLiteral("4"));
    if (room.isEmpty() || exchange.isEmpty())
        return;

    const int slot = freeSlot();
    if (slot == 0) {
        m_context.dialogs.notice(m_owner, QStringLiteral("You are already in three chats!"), ProductInfo::ProgramTitle);
        return;
    }

    // The join line carries the exchange as a 16-bit number; anything else
    // cannot be sent, and the slot stays free.
    bool isNumber = false;
    const qint16 intExchange = exchange.trimmed().toShort(&isNumber);
    if (!isNumber) {
        m_context.dialogs.notice(m_owner, QStringLiteral("The exchange must be a number."), QStringLiteral("Error"));
        return;
    }

    tmpExc = exchange;
    startJoin(slot, room, intExchange);
}

void ChatSlots::startJoin(int slot, const QString &room, qint16 exchange)
{
    strChatSlot = QString::number(slot);
    tmpChat = room;
    m_exchanges.at(slot - 1) = exchange;
    window(slot)->clearTranscript();
    m_context.btoc.JoinChat(WireText::toWire(tmpChat), exchange);
}

QList<ChatSlots::Room> ChatSlots::roomsInUse() const
{
    QList<Room> rooms;
    for (int s = 1; s <= SlotCount; ++s) {
        if (frmAimChat *w = existingWindow(s); w && w->isInRoom())
            rooms.append({WireText::toWire(w->roomName()), m_exchanges.at(s - 1)});
    }
    return rooms;
}

void ChatSlots::rejoin(const QList<Room> &rooms)
{
    m_rejoin = rooms;
    joinNext();
}

void ChatSlots::joinNext()
{
    if (m_rejoin.isEmpty())
        return;
    const Room room = m_rejoin.takeFirst();
    if (const int slot = freeSlot())
        startJoin(slot, WireText::fromWire(room.name), room.exchange);
}

int ChatSlots::freeSlot()
{
    for (int s = 1; s <= SlotCount; ++s) {
        if (!window(s)->holdsRoom())
            return s;
    }
    return 0;
}

void ChatSlots::onChatInvite(const QByteArray &strChatName, qint32 lngChatID, const QByteArray &strFromUser,
                             const QByteArray &strInviteMessage)
{
    const QString from = WireText::fromWireHtml(strFromUser);
    const QString room = WireText::fromWire(strChatName);
    const QString full = QStringLiteral("%1 invites you to %2, but you are already in three chats!").arg(from, room);
    if (freeSlot() == 0) {
        m_context.dialogs.notice(m_owner, full, ProductInfo::ProgramTitle);
        return;
    }
    const QString invitation
        = QStringLiteral("%1 invites you to %2: %3").arg(from, room, WireText::fromWireHtml(strInviteMessage));
    if (!m_context.dialogs.askYesNo(m_owner, invitation, QStringLiteral("Chat Invitation")))
        return;
    // A join may have taken the last free slot while the question was up.
    const int slot = freeSlot();
    if (slot == 0) {
        m_context.dialogs.notice(m_owner, full, ProductInfo::ProgramTitle);
        return;
    }
    // From here on the room arrives exactly as one joined through the picture.
    strChatSlot = QString::number(slot);
    tmpChat = room;
    // The usual exchange, should the room need joining again by its name.
    m_exchanges.at(slot - 1) = TocProtocol::UsersExchange;
    window(slot)->clearTranscript();
    m_context.btoc.AcceptChatInvite(lngChatID);
}

void ChatSlots::onJoinedChat(const QByteArray &strChatName, qint32 lngChatID)
{
    const int slot = strChatSlot == QLatin1String("1") ? 1 : strChatSlot == QLatin1String("2") ? 2 : 3;
    window(slot)->enterRoom(strChatName, lngChatID);
    storedId(slot) = QString::number(lngChatID);
    joinNext();
}

void ChatSlots::onChatMessage(qint32 lngChatID, const QByteArray &strUserName, const QByteArray &strMessage)
{
    frmAimChat *w = routeRoomTraffic(lngChatID);
    w->refreshHeadCount();

    // Selecting a member in the list mutes that member.
    const QByteArray sender = ScreenName::NormalizeName(strUserName);
    if (w->mutes(sender))
        return;

    // The server echoes the user's own room messages back.
    const bool own = sender == ScreenName::NormalizeName(WireText::toWire(m_strMyName));
    const QString shownName = WireText::fromWireHtml(strUserName);
    const QString text = WireText::fromWireHtml(strMessage);
    w->appendMessage(own ? Transcript::Speaker::Self : Transcript::Speaker::Other, shownName, text);
    if (!own)
        m_context.attention.messageArrived(w, shownName, text);
}

void ChatSlots::onChatUserUpdate(const QByteArray &strUserName, bool blnInside, qint32 lngChatID)
{
    for (int s = 1; s <= SlotCount; ++s)
        window(s)->refreshHeadCount();

    frmAimChat *w = routeRoomTraffic(lngChatID);
    const QString name = WireText::fromWire(strUserName);
    if (blnInside)
        w->memberArrived(name, ScreenName::NormalizeName(strUserName));
    else
        w->memberLeft(name, ScreenName::NormalizeName(strUserName));
}

void ChatSlots::onLeftChat(qint32 lngChatID)
{
    int slot = 0;
    for (int s = 1; s <= SlotCount && slot == 0; ++s) {
        if (sameChat(storedId(s), lngChatID))
            slot = s;
    }
    QPointer<frmAimChat> w = slot ? existingWindow(slot) : nullptr;
    // Not in the room means the user already left by closing the window.
    if (!w || !w->isInRoom())
        return;

    // The notice belongs to the main window: a sign-off while it is up closes
    // (and deletes) the room's window, which must not take the box with it.
    m_context.dialogs.notice(m_owner,
                             QStringLiteral("You have been lagged out, kicked out, scrolled out, or banned from chat: ")
                                 + w->roomName(),
                             ProductInfo::ProgramTitle);
    // Whatever ended the session meanwhile has already closed the window.
    if (!w || !w->isInRoom())
        return;
    // The server has already taken the user out.
    w->dropRoom();
}

void ChatSlots::closeAllForSignOff()
{
    for (int s = 1; s <= SlotCount; ++s) {
        if (frmAimChat *w = existingWindow(s))
            w->closeForSignOff();
    }
}

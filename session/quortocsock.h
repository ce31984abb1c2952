#pragma once

// QuorTOCSock: the TOC2 session control. Owns the one connection to the TOC
// server, its FLAP framing, the sign-on handshake and the chat table; turns
// every server message into a signal and every command into one frame. It
// never touches a widget. Connect its signals with direct connections: each
// is emitted synchronously from the receive path, in the order of the frames.

#include "connectionwatch.h"
#include "flap.h"
#include "sendpacer.h"
#include "tocchattable.h"
#include "tocprotocol.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <optional>

class TocSocket;

class QuorTOCSock : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(QuorTOCSock)
public:
    static constexpr qint32 DefaultPort = TocProtocol::DefaultPort;
    // The typing states of toc2_client_event and CLIENT_EVENT2.
    enum TypingState : qint16 { NothingTyped = 0, TextTyped = 1, Typing = 2 };
    // Far beyond any real stored configuration; protects against a server
    // that never sends the end marker.
    static constexpr qsizetype MaxConfigSize = 1024 * 1024;
    static const QByteArray DefaultAuthServer;

    // Uses a real TCP connection.
    explicit QuorTOCSock(QObject *parent = nullptr);
    // Uses the given connection, which it adopts as a child.
    explicit QuorTOCSock(TocSocket *socket, QObject *parent = nullptr);
    ~QuorTOCSock() override;

    // ID of the chat room most recently joined.
    qint32 LastChatID = 0;

    void Login(const QByteArray &UserName, const QByteArray &Password, const QByteArray &TOCServer, qint32 Port,
               const QByteArray &AuthServer = QByteArray());
    void LogOff();
    void SendPacket(qint16 intChannel, const QByteArray &strData);

    void JoinChat(const QByteArray &strRoomName, qint16 intExchange);
    void LeaveChat(const QByteArray &strChatName, qint32 lngChatID = 0);
    void SendChat(const QByteArray &strChatName, const QByteArray &strMessage, qint32 lngChatID = 0);
    void GetProfile(const QByteArray &strUserName);
    void SendIM(const QByteArray &strUserName, const QByteArray &strMessage, bool AutoResponse);
    void ChangePassword(const QByteArray &strOldPassword, const QByteArray &strNewPassword);
    void FormatUserName(const QByteArray &strFormatted);
    void SetAwayMessage(const QByteArray &strAwayMessage);
    void SetProfile(const QByteArray &strProfile);
    void GetStatus(const QByteArray &strUserName);
    void SetIdleTime(qint32 lngMinutes);
    void AcceptChatInvite(qint32 lngChatID);
    void InviteUsers(const QByteArray &strChatName, const QByteArray &strInviteMessage, const QByteArray &strUsers,
                     qint32 lngChatID = 0);
    void WarnUser(const QByteArray &strUserName, bool blnAnonymous);
    void AddBuddy(const QByteArray &strGroup, const QByteArray &strBuddy);
    void RemoveBuddy(const QByteArray &strGroup, const QByteArray &strBuddy);
    void AddGroup(const QByteArray &strGroup);
    void RemoveGroup(const QByteArray &strGroup);
    void BlockUser(const QByteArray &strUserName);
    void UnblockUser(const QByteArray &strUserName);
    void AddPrivateUser(const QByteArray &strUserName);
    void RemovePrivateUser(const QByteArray &strUserName);
    void SetPrivacy(qint16 intMode);
    void SetCapability(const QByteArray &strCapUUID);
    // Tells a correspondent whether the user is typing to them (TypingState).
    void SendTypingStatus(const QByteArray &strUserName, qint16 intTypingStatus);

    // Markup tags removed: each "<" paired with the nearest ">" after it.
    static QByteArray RemoveHtml(const QByteArray &strMessage);
    QByteArray GetChatName(qint32 lngChatID) const;

    // Whether commands reach the server now; commands themselves report nothing.
    bool isConnected() const;
    // The aliases stored with the buddy list of the last sign-on, by
    // normalized buddy name; set before LoggedIn is emitted.
    const QHash<QByteArray, QByteArray> &buddyAliases() const { return m_buddyAliases; }

    // What became of a command a window tried to send.
    enum class SendCheck {
        Sendable, // it went out
        Waiting, // it goes as soon as the server's rate limit allows
        TooLong, // never deliverable, whatever the connection
        NotSignedOn, // deliverable once signed on again
    };
    // Whether the command went or will go by itself.
    static bool goesOut(SendCheck verdict) { return verdict == SendCheck::Sendable || verdict == SendCheck::Waiting; }
    // Names a command until its fate is known (SendSettled).
    using Ticket = SendPacer::Ticket;
    // What finally became of a command: it went, it never went because the
    // session ended first, or the server dropped it for its speed limit; or
    // it went, but the connection was lost before the server said anything
    // after it, so it may never have arrived.
    enum class SendOutcome { Sent, NotSent, Refused, Unconfirmed };
    Q_ENUM(SendOutcome)

    // Each builds its command line once and sends it if it can go out now
    // (or as soon as the rate limit allows); otherwise nothing is sent and
    // the answer says why, so that a window never shows as sent what never
    // left. ticket names the command for SendSettled.
    SendCheck trySendIM(const QByteArray &strUserName, const QByteArray &strMessage, bool AutoResponse,
                        Ticket *ticket = nullptr);
    SendCheck trySendChat(qint32 lngChatID, const QByteArray &strMessage, Ticket *ticket = nullptr);
    SendCheck trySetAwayMessage(const QByteArray &strAwayMessage);
    SendCheck trySetProfile(const QByteArray &strProfile);
    SendCheck tryWarnUser(const QByteArray &strUserName, bool blnAnonymous);
    SendCheck tryBlockUser(const QByteArray &strUserName);
    SendCheck tryUnblockUser(const QByteArray &strUserName);
    SendCheck tryAddPrivateUser(const QByteArray &strUserName);
    SendCheck tryRemovePrivateUser(const QByteArray &strUserName);
    SendCheck tryInviteUsers(qint32 lngChatID, const QByteArray &strInviteMessage, const QList<QByteArray> &users);
    SendCheck trySetIdleTime(qint32 lngMinutes);
    // Changes to the stored buddy list. TOC2 can neither move a buddy nor
    // rename a group: a move files the buddy in the new group, then takes it
    // out of the old one; a rename moves every buddy of the group into a new
    // group and deletes the old. Each goes out whole or not at all.
    SendCheck tryAddGroup(const QByteArray &strGroup);
    SendCheck tryMoveBuddy(const QByteArray &strBuddy, const QByteArray &strFrom, const QByteArray &strTo);
    SendCheck tryRenameGroup(const QByteArray &strGroup, const QByteArray &strNewName,
                             const QList<QByteArray> &buddies);
    // The buddies go first, so that no server is left holding them without a group.
    SendCheck tryRemoveGroup(const QByteArray &strGroup, const QList<QByteArray> &buddies);
    const TocChatTable &chatTable() const { return ChatTable; }
    // Keeping within those of the server's rate limits that apply to this
    // account: all of them unless the server exempts it.
    void setRateLimits(SendPacer::Limits limits) { m_pacer.setLimits(limits); }
    SendPacer &pacer() { return m_pacer; }
    // The argument of the ERROR being raised (the screen name of a 901),
    // for the Error event's handlers.
    const QByteArray &errorArgument() const { return m_errorArgument; }
    qsizetype bufferedBytes() const { return strRecvBuffer.bufferedBytes(); }
    // How long the server may be quiet before it is asked for an answer, and
    // how long it then has to give one before the connection counts as lost.
    void setSilenceTimes(int quietMs, int answerMs) { m_watch.setTimes(quietMs, answerMs); }
    // The last command that went out before the server was last heard from:
    // it and every one before it travelled while the connection still worked.
    Ticket heardThrough() const { return m_heardThrough; }

signals:
    void JoinedChat(const QByteArray &strChatName, qint32 lngChatID);
    void ChatMessage(qint32 lngChatID, const QByteArray &strUserName, const QByteArray &strMessage);
    void ChatInvite(const QByteArray &strChatName, qint32 lngChatID, const QByteArray &strFromUser,
                    const QByteArray &strInviteMessage);
    void LeftChat(qint32 lngChatID);
    void ChatUserUpdate(const QByteArray &strUserName, bool blnInside, qint32 lngChatID);
    void BuddyUpdate(const QByteArray &strBuddy, bool blnOnline, qint16 intWarningLevel, qint32 lngOnlineTime,
                     qint32 lngIdleTime, const QByteArray &strUserClass);
    void BuddyCapabilities(const QByteArray &strUserName, const QByteArray &strCaps);
    void BuddyBart(const QByteArray &strUserName, const QByteArray &strBart);
    void BuddyAdded(const QByteArray &strGroup, const QByteArray &strBuddy, const QByteArray &strAlias);
    void GroupAdded(const QByteArray &strGroup);
    void PrivateBuddyAdded(const QByteArray &strBuddy);
    void BuddyBlocked(const QByteArray &strBuddy);
    void BuddyRemoved(const QByteArray &strGroup, const QByteArray &strBuddy);
    void GroupRemoved(const QByteArray &strGroup);
    void PrivateBuddyRemoved(const QByteArray &strBuddy);
    void BuddyUnblocked(const QByteArray &strBuddy);
    void LoggedIn(const QByteArray &strUserName, const QList<QByteArray> &BuddyList, const QList<QByteArray> &BlockList,
                  const QList<QByteArray> &PrivateList, const QList<QByteArray> &MiscData,
                  const QByteArray &strPreferences, qint16 PrivacyMode);
    void LoggedOut(const QByteArray &strUserName);
    void ScreennameFormat(const QByteArray &strFormattedSN);
    void InstantMessage(const QByteArray &strUserName, const QByteArray &strMessage, bool blnAutoResponse,
                        const QByteArray &strUserClass);
    void UserProfile(const QByteArray &strURL);
    void Error(qint16 intErrorCode, const QByteArray &strError);
    void Warned(const QByteArray &intWarningLevel, const QByteArray &strFromUser);
    void TypingStatus(const QByteArray &strUserName, qint16 intTypingStatus);
    void WinsockError(const QByteArray &strError);
    void RendevousRequest(const QByteArray &strUserName, const QByteArray &strUUID, const QByteArray &strCookie,
                          const QByteArray &strRendevousIP, const QByteArray &strProposerIP,
                          const QByteArray &strVerifiedIP, qint32 lngPort);
    void IncomingPacket(const QByteArray &strPacket);
    // A command that waited for the rate limit went, or never will, or the
    // server dropped a command that went ("ERROR:903").
    void SendSettled(QuorTOCSock::Ticket ticket, QuorTOCSock::SendOutcome outcome);
    void PasswordChanged();
    void ScreenNameFormatted();
    // Bytes came from the server: the connection is alive and moving.
    void BytesArrived();

private:
    void onConnect();
    void onDataArrival();
    void onSocketError(const QString &description);
    void ProcessPacket(const QByteArray &frame);
    void dispatchData(QByteArrayView payload);
    void handleConfig(QByteArrayView payload);
    void resetConnectionBuffers();
    // Sends a command line as one data frame unless it breaks the TOC limit.
    void sendCommand(const QByteArray &line);
    // Length first: a line that is too long is refused even when connected.
    SendCheck trySend(const QByteArray &line, Ticket *ticket = nullptr);
    // The connection is gone or replaced: nothing held back goes any more.
    void endSession();
    // Every command that went after the server's last word may be lost.
    void settleUnheard();
    // Asks the server for the user's own status: it always answers.
    void askServer();
    // Whether an UPDATE_BUDDY2 is the answer to askServer(), which no window
    // is to see (the user is not a buddy of theirs).
    bool takeAnswer(QByteArrayView name);
    // Every line or none.
    SendCheck trySendAll(const QList<QByteArray> &lines);
    // The buddy as a stored list entry: "name", or "name:alias" when one is kept.
    QByteArray storedEntry(const QByteArray &strBuddy) const;
    // The chat ID given, or the first ChatTable entry named strChatName.
    std::optional<qint32> chatIdFor(const QByteArray &strChatName, qint32 lngChatID) const;

    TocSocket *Sock;
    qint32 lngServerPort = 0;
    QByteArray strScreenName;
    QByteArray strRoastedPassword;
    QByteArray strAuthServer;
    QByteArray strTOCServer;
    TocChatTable ChatTable;
    Flap::FrameSplitter strRecvBuffer;
    qint32 lngSeqNum = 0;
    QByteArray strConfigBuffer;
    QHash<QByteArray, QByteArray> m_buddyAliases;
    // A handler that opens a modal box runs a nested event loop; arrivals
    // during it stay in the socket and are read in order once it returns.
    bool m_receiving = false;
    SendPacer m_pacer;
    QByteArray m_errorArgument;
    ConnectionWatch m_watch;
    // Commands that went since the server last said anything.
    QList<Ticket> m_unheard;
    Ticket m_heardThrough = 0;
    // The question askServer() put to the pacer, and the answers still due.
    Ticket m_question = 0;
    int m_answersDue = 0;
};

#pragma once

// ChatSlots: the main window's side of chat. Holds the three chat-room windows
// as slots 1 to 3, starts joins in a free slot and writes the session's room
// events into the window each belongs to. Its handlers are connected directly
// to the session's chat signals.

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <array>

struct AppContext;
class frmAimChat;
class QWidget;

class ChatSlots : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ChatSlots)
public:
    static constexpr int SlotCount = 3;

    // strMyName is the main window's own field, read at every room message.
    ChatSlots(AppContext &context, const QString &strMyName, QWidget *owner);
    ~ChatSlots() override;

    // The chat picture: asks for a room and an exchange and joins in a free slot.
    void joinRoom();
    // Signing off: every open chat window closes without asking or leaving.
    void closeAllForSignOff();

    // A room by its name and exchange, as a join names it.
    struct Room
    {
        QByteArray name;
        qint16 exchange = 0;
        bool operator==(const Room &) const = default;
    };
    // The rooms the user is in now.
    QList<Room> roomsInUse() const;
    // Joins the rooms one after the other, each in a free slot, as if the
    // user had joined them again.
    void rejoin(const QList<Room> &rooms);

    // The window of slot 1 to 3, created hidden when it does not exist.
    frmAimChat *window(int slot);
    // The window of slot 1 to 3 if it exists, else null.
    frmAimChat *existingWindow(int slot) const;

    void onJoinedChat(const QByteArray &strChatName, qint32 lngChatID);
    void onChatMessage(qint32 lngChatID, const QByteArray &strUserName, const QByteArray &strMessage);
    void onChatUserUpdate(const QByteArray &strUserName, bool blnInside, qint32 lngChatID);
    void onLeftChat(qint32 lngChatID);
    // An invitation: accepted, the room takes a free slot as a joined one does.
    void onChatInvite(const QByteArray &strChatName, qint32 lngChatID, const QByteArray &strFromUser,
                      const QByteArray &strInviteMessage);

    // Slot ("1" to "3") of the latest join started.
    QString strChatSlot;
    // Chat ID, as decimal text, last confirmed in each slot; never emptied.
    QString strChatID1;
    QString strChatID2;
    QString strChatID3;
    // Room name and exchange, as typed, of the latest join started.
    QString tmpChat;
    QString tmpExc;

private:
    // The next room of a rejoin, once the one before has been answered.
    void joinNext();
    void startJoin(int slot, const QString &room, qint16 exchange);
    // Room traffic: slot 1 or 2 when the ID matches theirs, otherwise slot 3.
    frmAimChat *routeRoomTraffic(qint32 lngChatID);
    QString &storedId(int slot);
    // The first slot without a room, or 0 when all three have one.
    int freeSlot();

    AppContext &m_context;
    const QString &m_strMyName;
    QWidget *m_owner;
    std::array<QPointer<frmAimChat>, SlotCount> m_windows;
    // The exchange each slot's room was joined on; an invitation does not say.
    std::array<qint16, SlotCount> m_exchanges{};
    QList<Room> m_rejoin;
};

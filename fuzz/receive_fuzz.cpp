// Fuzz target: server bytes through the session control's receive path and
// dispatcher, with handlers that call back into the control as the windows do.
//
// Input: a flags byte, a chunk plan (count, then sizes), then the stream. In
// framed mode the stream is cut at NUL bytes and each piece is sent as the
// payload of one data frame, so the fuzzer spends its time on messages rather
// than on headers.

#include "clientoutput.h"
#include "fuzzinput.h"
#include "fakesocket.h"
#include "session/quortocsock.h"
#include "session/screenname.h"
#include "serverframes.h"
#include "session/wiretext.h"

#include "session/flap.h"

#include <QList>
#include <cstdint>

namespace {

enum Flags : uint8_t {
    SignedOn = 0x01, // Login ran before the first byte
    Framed = 0x02, // the stream is a list of data-frame payloads
    LogOffOnError = 0x04, // an Error handler signs off mid-stream
    LoginAgain = 0x08, // a LoggedIn handler starts a new sign-on
    Answer = 0x10, // instant messages and invitations are answered
    ChatCommands = 0x20, // chat events send chat commands back
    FailMidway = 0x40, // the socket fails after the second arrival
    Disconnected = 0x80, // the socket never connects
};

void touch(const QByteArray &bytes)
{
    // Handlers convert and normalize what they show; any fault in that must surface here.
    const QString shown = WireText::fromWire(QuorTOCSock::RemoveHtml(bytes));
    FUZZ_CHECK(shown.size() <= bytes.size());
    FUZZ_CHECK(ScreenName::NormalizeName(bytes).size() <= bytes.size());
}

void connectHandlers(QuorTOCSock &toc, uint8_t flags, FakeSocket &socket)
{
    using Q = QuorTOCSock;
    QObject::connect(&toc, &Q::IncomingPacket, &toc, [](const QByteArray &frame) {
        FUZZ_CHECK(frame.size() >= Flap::HeaderSize);
        FUZZ_CHECK(frame.size() == Flap::HeaderSize + Flap::DecodeWord(frame.sliced(4, 2)));
    });
    QObject::connect(&toc, &Q::InstantMessage, &toc,
                     [&toc, flags](const QByteArray &sn, const QByteArray &msg, bool autoReply, const QByteArray &cls) {
                         touch(sn);
                         touch(msg);
                         touch(cls);
                         if ((flags & Answer) && !autoReply)
                             toc.SendIM(ScreenName::NormalizeName(sn), "<B>I am away</B>" + msg.left(64), true);
                     });
    QObject::connect(&toc, &Q::JoinedChat, &toc, [&toc, flags](const QByteArray &name, qint32 id) {
        touch(name);
        touch(toc.GetChatName(id));
        if (flags & ChatCommands)
            toc.SendChat(name, "hello", 0);
    });
    QObject::connect(&toc, &Q::ChatMessage, &toc,
                     [&toc, flags](qint32 id, const QByteArray &user, const QByteArray &msg) {
                         touch(user);
                         touch(msg);
                         const QByteArray room = toc.GetChatName(id);
                         if ((flags & ChatCommands) && msg.startsWith("bye"))
                             toc.LeaveChat(room, 0);
                     });
    QObject::connect(&toc, &Q::ChatInvite, &toc,
                     [&toc, flags](const QByteArray &name, qint32 id, const QByteArray &from, const QByteArray &text) {
                         touch(name);
                         touch(from);
                         touch(text);
                         if (flags & Answer)
                             toc.AcceptChatInvite(id);
                     });
    QObject::connect(&toc, &Q::LeftChat, &toc, [&toc](qint32 id) { touch(toc.GetChatName(id)); });
    QObject::connect(&toc, &Q::ChatUserUpdate, &toc, [&toc, flags](const QByteArray &user, bool inside, qint32 id) {
        touch(user);
        if ((flags & ChatCommands) && inside)
            toc.InviteUsers(toc.GetChatName(id), "join us", user, id);
    });
    QObject::connect(&toc, &Q::BuddyUpdate, &toc,
                     [](const QByteArray &sn, bool, qint16 warning, qint32 since, qint32 idle, const QByteArray &cls) {
                         touch(sn);
                         touch(cls);
                         FUZZ_CHECK(warning >= 0 && since >= 0 && idle >= 0);
                     });
    QObject::connect(&toc, &Q::LoggedIn, &toc,
                     [&toc, flags](const QByteArray &me, const QList<QByteArray> &buddies,
                                   const QList<QByteArray> &blocked, const QList<QByteArray> &permitted,
                                   const QList<QByteArray> &misc, const QByteArray &prefs, qint16 mode) {
                         for (const QList<QByteArray> *list : {&buddies, &blocked, &permitted, &misc})
                             for (const QByteArray &entry : *list)
                                 touch(entry);
                         touch(prefs);
                         FUZZ_CHECK(mode >= 0 && mode <= 9);
                         toc.SetProfile("Qiv user " + me);
                         if (flags & LoginAgain)
                             toc.Login("Fuzz User", "secret", "toc.example", 5190);
                     });
    QObject::connect(&toc, &Q::Error, &toc, [&toc, flags](qint16, const QByteArray &text) {
        touch(text);
        if (flags & LogOffOnError)
            toc.LogOff();
    });
    QObject::connect(&toc, &Q::Warned, &toc, [](const QByteArray &level, const QByteArray &from) {
        touch(level);
        touch(from);
    });
    QObject::connect(&toc, &Q::TypingStatus, &toc, [](const QByteArray &sn, qint16) { touch(sn); });
    QObject::connect(&toc, &Q::UserProfile, &toc, touch);
    QObject::connect(&toc, &Q::ScreennameFormat, &toc, touch);
    QObject::connect(&toc, &Q::BuddyAdded, &toc, [](const QByteArray &g, const QByteArray &b, const QByteArray &a) {
        touch(g);
        touch(b);
        touch(a);
    });
    QObject::connect(&toc, &Q::BuddyRemoved, &toc, [](const QByteArray &g, const QByteArray &b) {
        touch(g);
        touch(b);
    });
    for (auto signal : {&Q::GroupAdded, &Q::PrivateBuddyAdded, &Q::BuddyBlocked, &Q::GroupRemoved,
                        &Q::PrivateBuddyRemoved, &Q::BuddyUnblocked})
        QObject::connect(&toc, signal, &toc, touch);
    QObject::connect(&toc, &Q::RendevousRequest, &toc,
                     [](const QByteArray &sn, const QByteArray &uuid, const QByteArray &cookie, const QByteArray &rip,
                        const QByteArray &pip, const QByteArray &vip, qint32 port) {
                         for (const QByteArray *field : {&sn, &uuid, &cookie, &rip, &pip, &vip})
                             touch(*field);
                         FUZZ_CHECK(port >= 0);
                     });
    QObject::connect(&toc, &Q::WinsockError, &toc, touch);
    Q_UNUSED(socket);
}

QByteArray framedStream(FuzzInput &input)
{
    QByteArray stream;
    quint16 sequence = 0;
    while (!input.atEnd()) {
        // Server messages carry no terminating NUL.
        const QByteArray payload = input.until('\0');
        stream.append(ServerFrames::serverFrame(payload.left(Flap::MaxPayloadSize), sequence++));
    }
    return stream;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput input(data, size);
    const uint8_t flags = input.byte();
    QList<int> chunkSizes;
    for (int i = 0, n = input.byte() % 4 + 1; i < n; ++i)
        chunkSizes.append(input.byte() + 1);
    const QByteArray stream = (flags & Framed) ? framedStream(input) : input.rest();

    auto *socket = new FakeSocket;
    QuorTOCSock toc(socket);
    connectHandlers(toc, flags, *socket);
    if (flags & SignedOn)
        toc.Login("Fuzz User", "secret", "toc.example", 5190);
    if (!(flags & Disconnected))
        socket->acceptConnection();

    qsizetype pos = 0;
    for (int arrival = 0; pos < stream.size(); ++arrival) {
        const qsizetype chunk = chunkSizes[arrival % chunkSizes.size()];
        socket->deliver(stream.mid(pos, chunk));
        pos += chunk;
        if ((flags & FailMidway) && arrival == 1)
            socket->fail(QStringLiteral("The connection was reset."));
        // Between arrivals the control holds less than one whole frame.
        FUZZ_CHECK(toc.bufferedBytes() < Flap::HeaderSize + Flap::MaxPayloadSize);
    }

    int used = 0;
    for (const TocChatTable::Entry &entry : toc.chatTable())
        used += entry.lngChatID != 0;
    FUZZ_CHECK(used <= TocChatTable::Size);
    checkClientOutput(socket->written);
    return 0;
}

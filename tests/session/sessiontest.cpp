#include "sessiontest.h"

namespace {
QString text(const QByteArray &bytes) { return QString::fromLatin1(bytes); }
QString text(bool value) { return value ? QStringLiteral("T") : QStringLiteral("F"); }
QString text(qint32 value) { return QString::number(value); }
QString text(qint16 value) { return QString::number(value); }
QString text(const QList<QByteArray> &list)
{
    QStringList items;
    for (const QByteArray &item : list)
        items.append(text(item));
    return '{' + items.join(',') + '}';
}

template <typename... Args> QString line(const char *name, const Args &...args)
{
    QStringList parts{text(args)...};
    return sizeof...(args) == 0 ? QString::fromLatin1(name) : QString::fromLatin1(name) + ' ' + parts.join('|');
}
} // namespace

QByteArray frame(quint8 type, QByteArrayView payload, quint16 sequence)
{
    QByteArray bytes;
    bytes.append('*');
    bytes.append(char(type));
    bytes.append(char(sequence >> 8));
    bytes.append(char(sequence & 0xff));
    bytes.append(char(payload.size() >> 8));
    bytes.append(char(payload.size() & 0xff));
    bytes.append(payload);
    return bytes;
}

EventLog::EventLog(QuorTOCSock *toc)
{
    using Q = QuorTOCSock;
    using B = const QByteArray &;
    using L = const QList<QByteArray> &;
    connect(toc, &Q::JoinedChat, this, [this](B n, qint32 id) { add(line("JoinedChat", n, id)); });
    connect(toc, &Q::ChatMessage, this, [this](qint32 id, B u, B m) { add(line("ChatMessage", id, u, m)); });
    connect(toc, &Q::ChatInvite, this, [this](B n, qint32 id, B u, B m) { add(line("ChatInvite", n, id, u, m)); });
    connect(toc, &Q::LeftChat, this, [this](qint32 id) { add(line("LeftChat", id)); });
    connect(toc, &Q::ChatUserUpdate, this, [this](B u, bool in, qint32 id) { add(line("ChatUserUpdate", u, in, id)); });
    connect(toc, &Q::BuddyUpdate, this,
            [this](B b, bool on, qint16 w, qint32 t, qint32 i, B c) { add(line("BuddyUpdate", b, on, w, t, i, c)); });
    connect(toc, &Q::BuddyCapabilities, this, [this](B u, B c) { add(line("BuddyCapabilities", u, c)); });
    connect(toc, &Q::BuddyBart, this, [this](B u, B b) { add(line("BuddyBart", u, b)); });
    connect(toc, &Q::BuddyAdded, this, [this](B g, B b, B a) { add(line("BuddyAdded", g, b, a)); });
    connect(toc, &Q::GroupAdded, this, [this](B g) { add(line("GroupAdded", g)); });
    connect(toc, &Q::PrivateBuddyAdded, this, [this](B b) { add(line("PrivateBuddyAdded", b)); });
    connect(toc, &Q::BuddyBlocked, this, [this](B b) { add(line("BuddyBlocked", b)); });
    connect(toc, &Q::BuddyRemoved, this, [this](B g, B b) { add(line("BuddyRemoved", g, b)); });
    connect(toc, &Q::GroupRemoved, this, [this](B g) { add(line("GroupRemoved", g)); });
    connect(toc, &Q::PrivateBuddyRemoved, this, [this](B b) { add(line("PrivateBuddyRemoved", b)); });
    connect(toc, &Q::BuddyUnblocked, this, [this](B b) { add(line("BuddyUnblocked", b)); });
    connect(toc, &Q::LoggedIn, this, [this](B u, L buddies, L blocked, L permitted, L misc, B prefs, qint16 mode) {
        add(line("LoggedIn", u, buddies, blocked, permitted, misc, prefs, mode));
    });
    connect(toc, &Q::LoggedOut, this, [this](B u) { add(line("LoggedOut", u)); });
    connect(toc, &Q::ScreennameFormat, this, [this](B n) { add(line("ScreennameFormat", n)); });
    connect(toc, &Q::InstantMessage, this, [this](B u, B m, bool a, B c) { add(line("InstantMessage", u, m, a, c)); });
    connect(toc, &Q::UserProfile, this, [this](B u) { add(line("UserProfile", u)); });
    connect(toc, &Q::Error, this, [this](qint16 code, B t) { add(line("Error", code, t)); });
    connect(toc, &Q::Warned, this, [this](B level, B from) { add(line("Warned", level, from)); });
    connect(toc, &Q::TypingStatus, this, [this](B u, qint16 s) { add(line("TypingStatus", u, s)); });
    connect(toc, &Q::WinsockError, this, [this](B e) { add(line("WinsockError", e)); });
    connect(toc, &Q::RendevousRequest, this, [this](B u, B uuid, B c, B r, B p, B v, qint32 port) {
        add(line("RendevousRequest", u, uuid, c, r, p, v, port));
    });
    connect(toc, &Q::IncomingPacket, this, [this](B packet) {
        packets.append(packet);
        add(QStringLiteral("IncomingPacket"));
    });
    connect(toc, &Q::PasswordChanged, this, [this] { add(line("PasswordChanged")); });
    connect(toc, &Q::ScreenNameFormatted, this, [this] { add(line("ScreenNameFormatted")); });
}

QStringList EventLog::events() const
{
    QStringList result = lines;
    result.removeAll(QStringLiteral("IncomingPacket"));
    return result;
}

void EventLog::clear()
{
    lines.clear();
    packets.clear();
}

SessionTest::SessionTest()
    : sock(new FakeSocket)
    , toc(sock)
    , log(&toc)
{
}

void SessionTest::signOn(const QByteArray &userName)
{
    toc.Login(userName, "secret", "toc.example", 5190);
    sock->acceptConnection();
    deliver(frame(1, QByteArray("\0\0\0\1", 4)));
    deliver(data("SIGN_ON:TOC2.0"));
    deliver(data("CONFIG2:done:\n"));
    ASSERT_TRUE(log.events().last().startsWith("LoggedIn")) << log.lines.join('\n').toStdString();
    sock->takeWritten();
    log.clear();
}

// Fuzz target: hostile clients against the local server's connection and
// command handling. Up to three clients talk at once; the input is a script of
// operations on them.
//
// Input: a flags byte (per client: signed on before the script starts, never
// reads what it is sent; whether all clients share one name), then operations:
// one byte picks a client and an action (raw bytes, one framed command line,
// hang up, reconnect, let queued work run), followed by the action's bytes.

#include "clientconnection.h"
#include "commandhandler.h"
#include "session/flap.h"
#include "fuzzinput.h"
#include "fuzztcpsocket.h"
#include "session/tocquote.h"
#include "session/toccommands.h"
#include "session/screenname.h"

#include <QCoreApplication>
#include <QPointer>
#include <array>
#include <cstdint>

namespace {

constexpr int Clients = 3;

enum Flags : uint8_t {
    SignedOnMask = 0x07, // bit n: client n has signed on
    NonReaderMask = 0x38, // bit 3 + n: client n never reads
    SharedName = 0x40, // every client signs on as the same user
};

enum Action { RawBytes, CommandLine, HangUp, Reconnect, RunQueued, ActionCount };

struct Client
{
    QPointer<ClientConnection> connection;
    QPointer<FuzzTcpSocket> socket;
    quint16 sequence = 0;

    void sendLine(const QByteArray &line)
    {
        if (socket)
            socket->feed(Flap::buildFrame(Flap::Data, sequence++, line + '\0'));
    }
};

void runQueued()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

class Network
{
public:
    explicit Network(uint8_t flags)
        : m_flags(flags)
    {
    }
    ~Network()
    {
        for (Client &client : m_clients) {
            if (client.connection)
                QObject::disconnect(client.connection, nullptr, nullptr, nullptr);
        }
        delete m_root;
        runQueued();
    }

    void open(int index)
    {
        Client &client = m_clients[index];
        // A closed connection may still wait for its deletion; the slot is free.
        if (client.connection && client.connection->isOpen())
            return;
        client = Client{};
        client.socket = new FuzzTcpSocket(!(m_flags & (1 << (3 + index))));
        client.connection = new ClientConnection(client.socket, m_root);
        QObject::connect(
            client.connection, &ClientConnection::commandReceived,
            [this](ClientConnection *from, const QByteArray &line) { m_handler.handleCommand(from, line); });
        QObject::connect(client.connection, &ClientConnection::closed,
                         [this](ClientConnection *from) { m_handler.connectionClosed(from); });
        if (m_flags & (1 << index))
            signOn(client, (m_flags & SharedName) ? "Fuzz 0" : "Fuzz " + QByteArray::number(index));
    }

    Client &client(int index) { return m_clients[index]; }

    // Whoever the server shows as online has a live, open connection or lives there.
    void checkConsistent() const
    {
        const UserDirectory &directory = m_handler.directory();
        for (const QByteArray &key : directory.visibleUsers()) {
            if (directory.isResident(key))
                continue;
            ClientConnection *connection = directory.connectionOf(key);
            FUZZ_CHECK(connection != nullptr);
            bool live = false;
            for (const Client &client : m_clients)
                live = live || (client.connection == connection && connection->isOpen());
            FUZZ_CHECK(live);
            FUZZ_CHECK(connection->userKey() == key);
        }
        for (const Client &client : m_clients) {
            if (client.connection && !client.connection->isOpen()) {
                const QByteArray key = client.connection->userKey();
                if (!key.isEmpty() && directory.connectionOf(key) == client.connection)
                    fuzzFail("a closed connection is still signed on");
            }
        }
    }

private:
    void signOn(Client &client, const QByteArray &name)
    {
        const QByteArray key = ScreenName::NormalizeName(name);
        client.socket->feed("FLAPON\n\n");
        client.socket->feed(Flap::buildFrame(Flap::SignOn, client.sequence++, TocCommand::signOnPayload(key)));
        client.sendLine(TocCommand::login("login.example", 5190, key, ScreenName::RoastPassword("secret")));
        client.sendLine(TocCommand::initDone());
    }

    uint8_t m_flags;
    QObject *m_root = new QObject;
    CommandHandler m_handler;
    std::array<Client, Clients> m_clients;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput input(data, size);
    const uint8_t flags = input.byte();
    Network network(flags);
    for (int i = 0; i < Clients; ++i)
        network.open(i);

    while (!input.atEnd()) {
        const uint8_t op = input.byte();
        const int index = op % Clients;
        Client &client = network.client(index);
        switch ((op / Clients) % ActionCount) {
        case RawBytes: {
            const QByteArray bytes = input.take(input.byte() + 1u);
            if (client.socket)
                client.socket->feed(bytes);
            break;
        }
        case CommandLine:
            client.sendLine(input.until('\n'));
            break;
        case HangUp:
            if (client.socket)
                client.socket->hangUp();
            break;
        case Reconnect:
            network.open(index);
            break;
        case RunQueued:
            runQueued();
            break;
        }
        network.checkConsistent();
    }
    runQueued();
    network.checkConsistent();
    return 0;
}

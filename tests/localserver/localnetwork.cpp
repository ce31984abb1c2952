#include "localnetwork.h"

#include <QTest>

void LocalNetwork::SetUp()
{
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0)) << server.errorString().toStdString();
}

bool LocalNetwork::waitFor(const std::function<bool()> &condition) { return QTest::qWaitFor(condition, WaitMs); }

void LocalNetwork::login(TestClient &client, const QByteArray &name, const QByteArray &password)
{
    client.sock.Login(name, password, "127.0.0.1", server.serverPort());
}

std::unique_ptr<TestClient> LocalNetwork::signOn(const QByteArray &name, const QByteArray &password)
{
    auto client = std::make_unique<TestClient>();
    login(*client, name, password);
    EXPECT_TRUE(waitFor([&] { return client->loggedIn.size() == 1; })) << name.toStdString();
    EXPECT_TRUE(waitFor([&] { return client->presenceOf("QivBot").has_value(); })) << name.toStdString();
    return client;
}

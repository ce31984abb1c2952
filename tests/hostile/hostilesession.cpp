#include "hostilesession.h"

#include "conversation/frmaimchat.h"
#include "conversation/frmaimim.h"
#include "listednames.h"
#include "main/chatslots.h"
#include "session/quortocsock.h"
#include "uniformlistview.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTest>
#include <QTextEdit>
#include <gtest/gtest.h>

HostileSession::HostileSession()
{
    window = std::make_unique<frmAimlogin>(dialogs, windows, ServerAddress{QStringLiteral("127.0.0.1"), server.port()});
    window->show();
    // Connected after the session's own reader, so it runs once each arrival
    // has been cut into frames and handled.
    auto *connection = window->btoc->findChild<QTcpSocket *>();
    EXPECT_NE(connection, nullptr);
    if (connection) {
        QObject::connect(connection, &QTcpSocket::readyRead, window.get(), [this] {
            mostBufferedBetweenArrivals = std::max(mostBufferedBetweenArrivals, bufferedBytes());
        });
    }
}

HostileSession::~HostileSession()
{
    // Conversations have no parent; the main window takes the chat windows.
    qDeleteAll(conversations());
}

bool HostileSession::signOn()
{
    QSignalSpy signedOn(window.get(), &frmAimlogin::signedOn);
    window->txtSn->setText(QStringLiteral("Test User"));
    window->txtPw->setText(QStringLiteral("secret"));
    QTest::mouseClick(window->cmdLogin, Qt::LeftButton);
    return signedOn.wait(LoopbackTocServer::DefaultTimeoutMs) && server.waitForCommand("toc_init_done");
}

void HostileSession::sendRaw(QByteArrayView bytes)
{
    // The fixture's one client connection is the only socket under its server.
    auto *client = server.findChild<QTcpSocket *>();
    ASSERT_NE(client, nullptr);
    client->write(bytes.data(), bytes.size());
    client->flush();
}

bool HostileSession::sentinelGetsThrough()
{
    const QByteArray name = "sentinel" + QByteArray::number(++m_sentinels);
    server.sendData("UPDATE_BUDDY2:" + name + ":T:0:0:0: O");
    return QTest::qWaitFor([&] { return buddies().contains(QString::fromLatin1(name)); },
                           LoopbackTocServer::DefaultTimeoutMs);
}

QStringList HostileSession::buddies() const { return listedNames(*window->lstBuddyson); }

QList<frmAimIM *> HostileSession::conversations() const
{
    QList<frmAimIM *> found;
    for (QWidget *w : windows.windows()) {
        if (auto *im = qobject_cast<frmAimIM *>(w))
            found << im;
    }
    return found;
}

frmAimChat *HostileSession::shownChat(int slot) const
{
    frmAimChat *w = window->chatSlots().existingWindow(slot);
    return w && w->isVisible() ? w : nullptr;
}

QStringList HostileSession::notices() const
{
    QStringList texts;
    for (const ScriptedDialogs::Shown &box : dialogs.shown) {
        if (box.kind == ScriptedDialogs::Shown::Notice)
            texts << box.title + QLatin1Char('|') + box.text;
    }
    return texts;
}

qsizetype HostileSession::bufferedBytes() const { return window->btoc->bufferedBytes(); }

#include "signedonwindow.h"

#include "conversation/frmaimim.h"
#include "serverframes.h"
#include "session/signonflow.h"
#include "wirelines.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

SignedOnWindow::SignedOnWindow(std::optional<ServerAddress> server, const KeptPlaces &places)
{
    openMainWindow(places, std::move(server));
}

SignedOnWindow::~SignedOnWindow()
{
    // Windows that close themselves are deleted later; let that happen now,
    // while what they use exists. Conversations have no parent.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (QWidget *w : windows.windows()) {
        if (qobject_cast<frmAimIM *>(w))
            delete w;
    }
    window.reset();
}

void SignedOnWindow::openMainWindow(const KeptPlaces &places, std::optional<ServerAddress> server)
{
    // Windows closed just before are deleted first, while what they use exists.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    window.reset();
    socket = new FakeSocket;
    window = std::make_unique<frmAimlogin>(dialogs, windows, std::move(server), socket, places);
    window->setEndProgram([this] { ++endCalls; });
    // A scripted server has no session to let go of: sign on again at once.
    window->signOnFlow().setReSignOnGap(0);
    window->show();
}

void SignedOnWindow::signOn(const QByteArray &name, const QByteArray &config)
{
    window->txtSn->setText(QString::fromUtf8(name));
    window->txtPw->setText(QStringLiteral("secret"));
    window->cmdLogin->click();
    socket->acceptConnection();
    socket->takeWritten(); // the FLAPON preamble, after whatever came before
    socket->deliver(ServerFrames::serverSignOnFrame());
    serverSays("SIGN_ON:TOC2.0");
    serverSays("NICK:" + name);
    serverSays(config);
    ASSERT_TRUE(window->Frame1->isVisible()) << "the buddy list should be up after sign-on";
    signOnLines = sentLines();
}

void SignedOnWindow::serverSays(const QByteArray &line) { socket->deliver(ServerFrames::serverFrame(line)); }

QList<QByteArray> SignedOnWindow::sentLines() { return commandLines(socket->takeWritten()); }

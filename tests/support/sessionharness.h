#pragma once

// What a window test needs around a window: a connected session on a fake
// socket, scripted dialogs, a window registry and the style prefix box, plus
// the server's side of the wire (frames in, command lines out).

#include "appcontext.h"
#include "attention.h"
#include "blocklist.h"
#include "conversation/history.h"
#include "store/remembered.h"
#include "fakesocket.h"
#include "options.h"
#include "permitlist.h"
#include "printers.h"
#include "session/quortocsock.h"
#include "scripteddialogs.h"
#include "serverframes.h"
#include "screenshots.h"
#include "windowregistry.h"
#include "wirelines.h"

#include <QLineEdit>
#include <QList>
#include <QWidget>

struct SessionHarness
{
    FakeSocket *socket = new FakeSocket;
    QuorTOCSock btoc{socket};
    ScriptedDialogs dialogs;
    WindowRegistry windows;
    QLineEdit txtFont;
    BlockList blocked{btoc};
    PermitList permitted{btoc};
    Attention attention;
    Remembered remembered; // keeps nothing on disk
    HistoryStore historyStore{remembered, QString()};
    History history{historyStore};
    Options options{remembered};
    AppContext context{btoc, dialogs, windows, txtFont, blocked, permitted, attention, remembered, history, options};

    SessionHarness()
    {
        socket->acceptConnection();
        socket->takeWritten(); // the FLAPON preamble
    }

    // One data frame from the server.
    void serverSays(const QByteArray &line) { socket->deliver(ServerFrames::serverFrame(line)); }

    // The command lines written since the last call, without their NUL.
    QList<QByteArray> sentLines() { return commandLines(socket->takeWritten()); }
};

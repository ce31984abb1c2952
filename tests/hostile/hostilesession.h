#pragma once

// The real main window signed on over a real TCP connection to a scripted
// loopback server that a test can make lie, stall or hang up. Every box the
// window shows is recorded by the scripted dialogs.

#include "loopbacktocserver.h"
#include "main/frmaimlogin.h"
#include "printers.h"
#include "session/flap.h"
#include "scripteddialogs.h"
#include "windowregistry.h"

#include <QStringList>
#include <memory>

class frmAimIM;
class frmAimChat;
class QTextEdit;

class HostileSession
{
public:
    HostileSession();
    ~HostileSession();

    // Types a name and password, clicks "Sign On" and waits for the buddy list.
    bool signOn();

    // Bytes exactly as given, framed or not.
    void sendRaw(QByteArrayView bytes);
    // A well-formed buddy update that must show up in the buddy list; once it
    // has, everything the server sent before it has been read and handled.
    bool sentinelGetsThrough();

    QStringList buddies() const;
    QList<frmAimIM *> conversations() const;
    // The chat window of a slot if it exists and is shown.
    frmAimChat *shownChat(int slot) const;
    // The notices shown so far, as "title|text".
    QStringList notices() const;
    qsizetype bufferedBytes() const;
    // The most the session's receive buffer held after any arrival was read.
    qsizetype mostBufferedBetweenArrivals = 0;

    LoopbackTocServer server;
    ScriptedDialogs dialogs;
    WindowRegistry windows;
    std::unique_ptr<frmAimlogin> window;

private:
    int m_sentinels = 0;
};

// The largest number of bytes one frame can take: its header and a full payload.
inline constexpr qsizetype LargestFrame = Flap::HeaderSize + Flap::MaxPayloadSize;

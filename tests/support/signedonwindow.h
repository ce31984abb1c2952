#pragma once

// The real main window on a fake connection, with scripted boxes and the
// open-window list, signed on through the whole server exchange when asked;
// the server's side of the wire is a line in, command lines out.

#include "fakesocket.h"
#include "main/frmaimlogin.h"
#include "scripteddialogs.h"
#include "windowregistry.h"

#include <QByteArray>
#include <QList>
#include <memory>
#include <optional>

class SignedOnWindow
{
public:
    explicit SignedOnWindow(std::optional<ServerAddress> server = DefaultServer,
                            const KeptPlaces &places = KeptPlaces());
    virtual ~SignedOnWindow();

    static inline const ServerAddress DefaultServer{QStringLiteral("toc.test"), 5190};

    // A new main window in place of the current one, as after a restart;
    // server nullopt leaves the choice to what was remembered.
    void openMainWindow(const KeptPlaces &places = KeptPlaces(), std::optional<ServerAddress> server = DefaultServer);

    // Signs on as name through the whole server exchange; the buddy list shows.
    void signOn(const QByteArray &name = "Some Body",
                const QByteArray &config = "CONFIG2:m 1\ng Buddies\nb Friend\ndone:\n");
    // One data frame from the server.
    void serverSays(const QByteArray &line);
    // Command lines the client wrote since the last call, without their NUL.
    QList<QByteArray> sentLines();

    ScriptedDialogs dialogs;
    WindowRegistry windows;
    FakeSocket *socket = nullptr;
    std::unique_ptr<frmAimlogin> window;
    int endCalls = 0;
    // The command lines the last signOn() wrote.
    QList<QByteArray> signOnLines;
};

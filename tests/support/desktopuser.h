#pragma once

// One person at a real Qiv on this machine: the main window with scripted
// boxes and the open-window list, signed on over TCP to a server's port on
// 127.0.0.1, and driven the way a person drives it (typing, Enter, the
// pictures of the buddy list).

#include "main/frmaimlogin.h"
#include "scripteddialogs.h"
#include "windowregistry.h"

#include <QList>
#include <QString>

class frmAimChat;
class frmAimIM;

class DesktopUser
{
public:
    explicit DesktopUser(quint16 port);
    ~DesktopUser();

    // Types name and password and presses Sign On; true once the buddy list
    // shows (within timeoutMs).
    bool signOn(const QString &name, const QString &password, int timeoutMs = 10000);
    bool isSignedOn();
    // Opens a conversation through the instant-message picture.
    frmAimIM *openConversation(const QString &name);
    // The open conversation with name (any spelling), or null.
    frmAimIM *conversationWith(const QString &name);
    // Joins room through the chat picture; its window once the server has
    // let the user in, else null.
    frmAimChat *joinRoom(const QString &room, int exchange = 4, int timeoutMs = 10000);
    // The windows of the rooms the user is in now.
    QList<frmAimChat *> rooms();

    // Types text into the window's box and presses Enter.
    static void say(frmAimIM *window, const QString &text);
    static void say(frmAimChat *room, const QString &text);

    ScriptedDialogs dialogs;
    WindowRegistry windows;
    frmAimlogin main;
};

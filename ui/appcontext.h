#pragma once

// What every window that talks to the network needs, handed in by the main
// window that owns it all: the session, the dialogs, the open-window list,
// the message style prefix (the main window's hidden txtFont box), whom the
// user has blocked, how a window asks for the user's attention, what the user
// asked to keep between runs, and the conversation history.

class Attention;
class BlockList;
class Dialogs;
class History;
class Remembered;
class QLineEdit;
class QuorTOCSock;
class WindowRegistry;

struct AppContext
{
    QuorTOCSock &btoc;
    Dialogs &dialogs;
    WindowRegistry &windows;
    QLineEdit &txtFont;
    BlockList &blocked;
    Attention &attention;
    Remembered &remembered;
    History &history;
};

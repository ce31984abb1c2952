#pragma once

// What every window that talks to the network needs, handed in by the main
// window that owns it all: the session, the dialogs, the open-window list,
// the message style prefix (the main window's hidden txtFont box), whom the
// user has blocked and whom they let in, how a window asks for the user's attention, what the user
// asked to keep between runs, the conversation history, the Buddy List
// preferences in force, what can be done with a person a list shows, who is
// known to be offline and what waits for them to sign on (these three set
// once the main window has made its buddy list), and how an address a person
// clicks is opened.

#include "urlopener.h"

class Attention;
class BlockList;
class Dialogs;
class History;
class LaterDelivery;
class Options;
class PermitList;
class PersonActions;
class Presence;
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
    PermitList &permitted;
    Attention &attention;
    Remembered &remembered;
    History &history;
    Options &options;
    PersonActions *people = nullptr;
    Presence *presence = nullptr;
    LaterDelivery *later = nullptr;
    UrlOpener openUrl = desktopUrlOpener();
};

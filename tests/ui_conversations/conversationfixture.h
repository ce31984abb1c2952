#pragma once

// A connected session with everything the conversation pieces need: scripted
// connection and boxes, the open-window list, the style prefix box, and the
// away indicator inside a hidden panel, as on the main window.

#include "appcontext.h"
#include "attention.h"
#include "main/blocklist.h"
#include "conversation/history.h"
#include "remembered.h"
#include "conversation/frmaimim.h"
#include "fakesocket.h"
#include "main/awaymessages.h"
#include "main/conversationrouter.h"
#include "printers.h"
#include "quortocsock.h"
#include "scripteddialogs.h"
#include "windowregistry.h"

#include <QColor>
#include <QLabel>
#include <QLineEdit>
#include <gtest/gtest.h>

class QTextEdit;

// One run of transcript text; line breaks are not runs.
struct TextRun
{
    QString text;
    bool bold = false;
    QColor colour;
    bool operator==(const TextRun &) const = default;
};
void PrintTo(const TextRun &run, std::ostream *os);
QList<TextRun> runsOf(const QTextEdit *view);
// Whether anything in the transcript became an image or a link.
bool hasRichContent(const QTextEdit *view);

inline const QColor Red(0xFF, 0x00, 0x00), Blue(0x00, 0x00, 0xFF), Black(0x00, 0x00, 0x00);

class ConversationTest : public ::testing::Test
{
protected:
    ConversationTest();
    ~ConversationTest() override { qDeleteAll(conversations()); }

    void receiveIm(const QByteArray &from, const QByteArray &text);
    // Command lines written since the last call, without their NUL.
    QList<QByteArray> sentLines();
    QList<frmAimIM *> conversations() const;

    FakeSocket *socket = new FakeSocket;
    QuorTOCSock btoc{socket};
    ScriptedDialogs dialogs;
    WindowRegistry windows;
    QLineEdit txtFont{QStringLiteral("<font>")};
    QWidget buddyPanel; // never shown: the indicator's own flag must decide
    QLabel &lbAway;
    QString strMyName = QStringLiteral("Me Myself");
    BlockList blocked;
    Attention attention;
    Remembered remembered; // keeps nothing on disk
    History history{remembered, QString()};
    AppContext context{btoc, dialogs, windows, txtFont, blocked, attention, remembered, history};
    AwayMessages away{context, lbAway};
    ConversationRouter router{context, away, strMyName};
};

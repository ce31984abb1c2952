#pragma once

// One signed-on session with everything the conversation pieces need: a
// scripted connection, scripted boxes, the open-window list, the style prefix
// box and an away indicator inside a hidden panel, as on the main window.

#include "appcontext.h"
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
#include <QList>
#include <gtest/gtest.h>

class QTextEdit;

// One run of transcript text with the looks that matter.
struct TextRun
{
    QString text;
    bool bold = false;
    bool italic = false;
    QColor colour;
    bool operator==(const TextRun &) const = default;
};
void PrintTo(const TextRun &run, std::ostream *os);

inline const QColor Red(0xFF, 0x00, 0x00);
inline const QColor Blue(0x00, 0x00, 0xFF);
inline const QColor Black(0x00, 0x00, 0x00);

// The non-empty runs of a transcript in order; line breaks are not runs.
QList<TextRun> runsOf(const QTextEdit *view);
// Whether anything in the transcript became an image, a link or a table.
bool hasRichContent(const QTextEdit *view);

class ConversationTest : public ::testing::Test
{
protected:
    ConversationTest();
    ~ConversationTest() override;

    // The server delivers an instant message from `from`.
    void receiveIm(const QByteArray &from, const QByteArray &text);
    // The command lines written since the last call, without their NUL.
    QList<QByteArray> sentLines();
    QList<frmAimIM *> conversations() const;
    void dropConnection() { socket->close(); }

    FakeSocket *socket = new FakeSocket;
    QuorTOCSock btoc{socket};
    ScriptedDialogs dialogs;
    WindowRegistry windows;
    QLineEdit txtFont{QStringLiteral("<font>")};
    QWidget buddyPanel; // never shown: the indicator's own flag must decide
    QLabel &lbAway;
    QString strMyName = QStringLiteral("Me Myself");
    AppContext context{btoc, dialogs, windows, txtFont};
    AwayMessages away{context, lbAway};
    ConversationRouter router{context, away, strMyName};
};

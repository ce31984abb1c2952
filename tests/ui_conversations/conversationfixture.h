#pragma once

// A connected session with everything the conversation pieces need: the
// shared session harness, and the away indicator inside a hidden panel, as on
// the main window.

#include "conversation/frmaimim.h"
#include "main/awaymessages.h"
#include "main/conversationrouter.h"
#include "printers.h"
#include "sessionharness.h"
#include "transcriptcontent.h"

#include <QColor>
#include <QLabel>
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

inline const QColor Red(0xFF, 0x00, 0x00), Blue(0x00, 0x00, 0xFF), Black(0x00, 0x00, 0x00);

class ConversationTest : public ::testing::Test, protected SessionHarness
{
protected:
    ConversationTest();
    ~ConversationTest() override { qDeleteAll(conversations()); }

    void receiveIm(const QByteArray &from, const QByteArray &text);
    QList<frmAimIM *> conversations() const;

    QWidget buddyPanel; // never shown: the indicator's own flag must decide
    QLabel &lbAway;
    QString strMyName = QStringLiteral("Me Myself");
    AwayMessages away{context, lbAway};
    ConversationRouter router{context, away, strMyName};
};

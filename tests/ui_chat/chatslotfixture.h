#pragma once

// A main window's chat side on a scripted session, with helpers that play the
// user's join and the server's answer.

#include "conversation/frmaimchat.h"
#include "main/chatslots.h"
#include "sessionharness.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QTextEdit>
#include <gtest/gtest.h>

class ChatSlotsTest : public ::testing::Test
{
protected:
    SessionHarness session;
    QString strMyName = QStringLiteral("memyself");
    ChatSlots chat{session.context, strMyName, nullptr};

    void SetUp() override { session.txtFont.setText(QStringLiteral("<b>")); }
    // Closed windows are deleted here, while the session they use still exists.
    void TearDown() override { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    // The user answers the two input boxes of the chat picture.
    void startJoin(const QString &room, const QString &exchange)
    {
        session.dialogs.textAnswers << room << exchange;
        chat.joinRoom();
    }

    // A join started and confirmed by the server; the join line is consumed.
    frmAimChat *joinConfirmed(const QString &room, qint32 id)
    {
        startJoin(room, QStringLiteral("4"));
        session.sentLines();
        session.serverSays("CHAT_JOIN:" + QByteArray::number(id) + ':' + room.toUtf8());
        return chat.existingWindow(chat.strChatSlot.toInt());
    }
};

#pragma once

// A TOC2 server process for each test, the same list of tests run against
// each (qiv-localserver and Open OSCAR Server), and people at real Qiv
// windows signed on to it, each on the connection a test gives them.

#include "desktopuser.h"
#include "printers.h"
#include "interoppeer.h"
#include "main/chatslots.h"

#include <gtest/gtest.h>
#include <memory>

class ServerFixture : public ::testing::TestWithParam<std::string>
{
protected:
    static inline const QString Password = QStringLiteral("secret1");

    void SetUp() override;
    // Whether SetUp left the test to run.
    bool ready() const { return !IsSkipped() && !HasFatalFailure(); }
    // Skips the test, or fails it where peers are required (CI), for why.
    void unavailable(const QString &why);

    // An account; where the server allows it, spared the server's rate
    // limits, so that Qiv's own pacing can be off.
    void account(const QString &name, bool unlimited = false);
    // Somebody signed on at a Qiv through port (the server's own when 0).
    // With a first wait, "Stay signed on" is ticked before signing on: a
    // dropped connection is tried again after it, then twice as long.
    std::unique_ptr<DesktopUser> signedOn(const QString &name, quint16 port = 0, int firstRetryWaitMs = 0,
                                          int timeoutMs = 10000);
    // Whether user is signed on again within timeoutMs and in rooms again.
    static bool backIn(DesktopUser &user, const QList<ChatSlots::Room> &rooms, int timeoutMs);
    // The texts of the boxes that told the user something.
    static QStringList noticesShown(const DesktopUser &user);
    // The lines of a transcript, without the empty one it starts with.
    static QStringList linesOf(const QTextEdit *view);

    std::unique_ptr<InteropPeer> peer;
};

// The server list every fixture's tests run against.
#define QIV_FOR_EACH_SERVER(fixture)                                                                                   \
    INSTANTIATE_TEST_SUITE_P(Servers, fixture, ::testing::Values("local", "oscar"),                                    \
                             [](const ::testing::TestParamInfo<std::string> &info) { return info.param; })

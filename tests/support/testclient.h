#pragma once

// A real client (QuorTOCSock over TCP) with a spy on every event that tests
// of a whole network look at.

#include "printers.h"
#include "session/quortocsock.h"

#include <QSignalSpy>
#include <optional>
#include <utility>

inline constexpr int WaitMs = 5000;

struct TestClient
{
    QuorTOCSock sock;
    QSignalSpy loggedIn{&sock, &QuorTOCSock::LoggedIn};
    QSignalSpy nick{&sock, &QuorTOCSock::ScreennameFormat};
    QSignalSpy nickFormatted{&sock, &QuorTOCSock::ScreenNameFormatted};
    QSignalSpy buddies{&sock, &QuorTOCSock::BuddyUpdate};
    QSignalSpy ims{&sock, &QuorTOCSock::InstantMessage};
    QSignalSpy errors{&sock, &QuorTOCSock::Error};
    QSignalSpy joined{&sock, &QuorTOCSock::JoinedChat};
    QSignalSpy chatUsers{&sock, &QuorTOCSock::ChatUserUpdate};
    QSignalSpy chatMessages{&sock, &QuorTOCSock::ChatMessage};
    QSignalSpy leftChat{&sock, &QuorTOCSock::LeftChat};
    QSignalSpy warned{&sock, &QuorTOCSock::Warned};
    QSignalSpy passwordChanged{&sock, &QuorTOCSock::PasswordChanged};
    QSignalSpy profiles{&sock, &QuorTOCSock::UserProfile};
    QSignalSpy typing{&sock, &QuorTOCSock::TypingStatus};
    QSignalSpy invites{&sock, &QuorTOCSock::ChatInvite};
    QSignalSpy dropped{&sock, &QuorTOCSock::WinsockError};

    // The last presence seen for name (compared normalized, as servers
    // report display names) as (online, user class), if any.
    std::optional<std::pair<bool, QByteArray>> presenceOf(const QByteArray &name) const;
    // An IM to QivBot and its answer: everything the server wrote to this
    // client before the answer has arrived once this returns true.
    bool roundTrip();
};

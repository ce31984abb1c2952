#pragma once

// The numbers of the TOC2 protocol that both ends of the wire use: the
// client's session and the local server share them from here.

#include <QByteArrayView>
#include <QtGlobal>

namespace TocProtocol {

// The TOC port of the original network, and of Qiv's local one.
inline constexpr quint16 DefaultPort = 5190;

// FLAP version 1: the start of both sides' sign-on frames.
inline constexpr QByteArrayView FlapVersion("\0\0\0\1", 4);
// The tag of the screen-name field that follows it in the client's frame.
inline constexpr QByteArrayView ScreenNameTag("\0\1", 2);

// The exchange of the chat rooms that users open.
inline constexpr qint16 UsersExchange = 4;

// ERROR codes whose meaning either end acts on.
enum ErrorCode : qint16 {
    NotAvailable = 901,
    WarningNotAvailable = 902,
    RateLimitHit = 903,
    SignedOffElsewhere = 904,
    InvalidInput = 911,
    InternalError = 913,
    ChatJoinFailed = 951,
    BadPassword = 980,
    RateLimited = 983,
    SignOnRefused = 989,
};

// The privacy modes of toc2_set_pdmode and the stored configuration's m: line.
enum PrivacyMode : qint16 { PermitAll = 1, DenyAll = 2, PermitSome = 3, DenySome = 4, PermitBuddies = 5 };

} // namespace TocProtocol

#pragma once

// QivBot: the resident buddy that is always online, answers every instant
// message and greets people arriving in its room, so one person alone can
// try everything. Pure text in, text out; the command handler delivers it.

#include <QByteArray>
#include <QByteArrayView>

namespace QivBot {

inline const QByteArray Name = QByteArrayLiteral("QivBot");
inline const QByteArray HomeRoom = QByteArrayLiteral("lobby");

// The answer to an instant message from sender (display name).
QByteArray replyTo(QByteArrayView sender, QByteArrayView message);
// Said in the home room when somebody arrives.
QByteArray greeting(QByteArrayView arrival);

} // namespace QivBot

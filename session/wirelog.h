#pragma once

// The wire log: every frame the session sends and receives, and a warning for
// every server message it cannot read, under the logging category
// "qiv.session.wire". Off unless turned on (QT_LOGGING_RULES, or qiv's
// --debug-wire), so that a user's report can carry a trace when asked for.
// The password never appears in it.

#include <QByteArrayView>
#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcWire)

namespace WireLog {

// The rule that turns the whole category on.
inline constexpr char EnableRule[] = "qiv.session.wire=true";

// A frame as logged: its type, sequence number and payload, with the
// password field of a sign-on line masked.
QByteArray describeFrame(QByteArrayView frame);
// Bytes as printable ASCII, everything else as \xNN.
QByteArray printable(QByteArrayView bytes);

} // namespace WireLog

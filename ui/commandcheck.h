#pragma once

// Whether a command line can reach the server right now. The session control
// drops a line silently when it is offline or when the line breaks the TOC
// length limit; windows ask first so that they can tell the user the truth
// instead of showing a message as sent.

#include <QByteArrayView>

class QuorTOCSock;

namespace CommandCheck {

enum class Verdict {
    Sendable,
    TooLong,     // never deliverable, whatever the connection
    NotSignedOn, // deliverable once signed on again
};

// Length first: a line that is too long would be refused even when connected.
Verdict check(const QuorTOCSock &btoc, QByteArrayView line);

} // namespace CommandCheck

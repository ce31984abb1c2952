#include "commandcheck.h"

#include "quortocsock.h"
#include "toccommands.h"

namespace CommandCheck {

Verdict check(const QuorTOCSock &btoc, QByteArrayView line)
{
    if (!TocCommand::fits(line))
        return Verdict::TooLong;
    if (!btoc.isConnected())
        return Verdict::NotSignedOn;
    return Verdict::Sendable;
}

} // namespace CommandCheck

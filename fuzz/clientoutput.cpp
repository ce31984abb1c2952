#include "clientoutput.h"

#include "session/flap.h"
#include "fuzzinput.h"
#include "session/toccommands.h"

void checkClientOutput(QByteArrayView written)
{
    static constexpr QByteArrayView preamble("FLAPON\n\n");
    // One control's numbering runs on across reconnections.
    int expectedSequence = 0;
    while (!written.isEmpty()) {
        if (written.startsWith(preamble)) {
            written = written.sliced(preamble.size());
            continue;
        }
        FUZZ_CHECK(written.size() >= Flap::HeaderSize);
        FUZZ_CHECK(written[0] == Flap::StartMarker);
        const quint8 type = quint8(written[1]);
        FUZZ_CHECK(Flap::DecodeWord(written.sliced(2, 2)) == expectedSequence);
        expectedSequence = (expectedSequence + 1) % 65536;
        const int length = Flap::DecodeWord(written.sliced(4, 2));
        FUZZ_CHECK(written.size() >= Flap::HeaderSize + length);
        const QByteArrayView payload = written.sliced(Flap::HeaderSize, length);
        switch (type) {
        case Flap::SignOn:
            FUZZ_CHECK(payload.startsWith(QByteArrayView("\0\0\0\1\0\1", 6)));
            break;
        case Flap::Data:
            FUZZ_CHECK(length >= 1 && payload.back() == '\0');
            FUZZ_CHECK(length - 1 <= TocCommand::MaxCommandLength);
            break;
        case Flap::KeepAlive:
            FUZZ_CHECK(length == 0);
            break;
        default:
            fuzzFail("frame of a type the client never sends");
        }
        written = written.sliced(Flap::HeaderSize + length);
    }
}

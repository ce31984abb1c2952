// Fuzz target: the stored configuration, alone and as CONFIG2 over several frames.
//
// Input: a frame count byte, then the configuration text. The text is parsed
// whole, then cut into that many CONFIG2 frames and fed to a signed-on
// control; what LoggedIn reports must equal a parse of the text collected up
// to the frame that carries the end marker.

#include "clientoutput.h"
#include "session/flap.h"
#include "fuzzinput.h"
#include "fakesocket.h"
#include "session/quortocsock.h"
#include "serverframes.h"
#include "session/tocconfig.h"

#include <cstdint>

namespace {

void checkParse(QByteArrayView text)
{
    const TocConfig config = TocConfigText::parse(text);
    const qsizetype lines = text.count('\n') + 1;
    FUZZ_CHECK(config.BuddyList.size() + config.BlockList.size() + config.PrivateList.size() + config.MiscData.size()
               <= lines);
    FUZZ_CHECK(config.PrivacyMode >= 0 && config.PrivacyMode <= 9);
    for (const QList<QByteArray> *list : {&config.BuddyList, &config.BlockList, &config.PrivateList, &config.MiscData})
        for (const QByteArray &entry : *list)
            FUZZ_CHECK(!entry.contains('\n'));
    FUZZ_CHECK(!config.strPreferences.contains('\n'));
    // The end marker with its line feed at the start of a line always completes.
    if (text.startsWith("done:\n"))
        FUZZ_CHECK(config.complete);
}

struct Reported
{
    int count = 0;
    TocConfig config;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput input(data, size);
    const int frames = input.byte() % 6 + 1;
    const QByteArray text = input.rest().left(Flap::MaxPayloadSize - 16);
    checkParse(text);
    FUZZ_CHECK(TocConfigText::hasEnd(text) == text.contains("done:\n"));

    auto *socket = new FakeSocket;
    QuorTOCSock toc(socket);
    Reported reported;
    QObject::connect(&toc, &QuorTOCSock::LoggedIn, &toc,
                     [&reported](const QByteArray &, const QList<QByteArray> &buddies, const QList<QByteArray> &blocked,
                                 const QList<QByteArray> &permitted, const QList<QByteArray> &misc,
                                 const QByteArray &prefs, qint16 mode) {
                         if (reported.count++ == 0)
                             reported.config = TocConfig{buddies, blocked, permitted, misc, prefs, mode, true, {}};
                     });
    toc.Login("Fuzz User", "secret", "toc.example", 5190);
    socket->acceptConnection();

    // Equal cuts, each sent as its own CONFIG2 frame. A frame holding the end
    // marker, or completing one begun by the text before it, closes the text
    // collected so far; that text is reported only when its parse really
    // reaches a "done:" line (the marker may sit mid-line).
    const qsizetype piece = text.size() / frames + 1;
    QByteArray collected;
    QList<TocConfig> expected;
    int closing = 0;
    quint16 sequence = 0;
    for (qsizetype pos = 0; pos < text.size() || sequence == 0; pos += piece) {
        const QByteArray part = text.mid(pos, piece);
        const qsizetype reach = TocConfigText::EndMarker.size() - 1;
        const QByteArray join = collected.right(reach) + part.left(reach);
        collected.append(part);
        if (TocConfigText::hasEnd(part) || TocConfigText::hasEnd(join)) {
            ++closing;
            if (TocConfig config = TocConfigText::parse(collected); config.complete)
                expected.append(config);
            collected.clear();
        }
        socket->deliver(ServerFrames::serverFrame("CONFIG2:" + part, sequence++));
    }

    FUZZ_CHECK(reported.count == expected.size());
    if (reported.count > 0) {
        const TocConfig &first = expected.first();
        FUZZ_CHECK(reported.config.BuddyList == first.BuddyList);
        FUZZ_CHECK(reported.config.BlockList == first.BlockList);
        FUZZ_CHECK(reported.config.PrivateList == first.PrivateList);
        FUZZ_CHECK(reported.config.MiscData == first.MiscData);
        FUZZ_CHECK(reported.config.strPreferences == first.strPreferences);
        FUZZ_CHECK(reported.config.PrivacyMode == first.PrivacyMode);
    }
    // Every closing frame ends sign-on with toc_init_done, complete or not.
    FUZZ_CHECK(socket->written.count(QByteArrayView("toc_init_done\0", 14)) == closing);
    checkClientOutput(socket->written);
    return 0;
}

#include "testclient.h"

#include "session/screenname.h"

#include <QTest>

std::optional<std::pair<bool, QByteArray>> TestClient::presenceOf(const QByteArray &name) const
{
    const QByteArray key = ScreenName::NormalizeName(name);
    for (qsizetype i = buddies.size() - 1; i >= 0; --i) {
        if (ScreenName::NormalizeName(buddies[i][0].toByteArray()) == key)
            return std::make_pair(buddies[i][1].toBool(), buddies[i][5].toByteArray());
    }
    return std::nullopt;
}

bool TestClient::roundTrip()
{
    const qsizetype before = ims.size();
    sock.SendIM("QivBot", "ping", false);
    return QTest::qWaitFor(
        [&] {
            for (qsizetype i = before; i < ims.size(); ++i) {
                if (ims[i][0].toByteArray() == "QivBot")
                    return true;
            }
            return false;
        },
        WaitMs);
}

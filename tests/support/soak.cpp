#include "soak.h"

#include "conversation/frmaimchat.h"
#include "conversation/frmaimim.h"
#include "conversation/transcript.h"
#include "desktopuser.h"
#include "processfigures.h"
#include "session/quortocsock.h"

#include <QListWidget>
#include <QTest>
#include <QTextEdit>

namespace {
// Lines sent each way before waiting for them all to arrive.
constexpr int Burst = 25;
constexpr int ArrivalWaitMs = 60000;
} // namespace

Soak::Soak(DesktopUser &a, DesktopUser &b)
{
    m_sides[0].user = &a;
    m_sides[1].user = &b;
}

Soak::~Soak()
{
    for (const QMetaObject::Connection &connection : std::as_const(m_counting))
        QObject::disconnect(connection);
}

QString Soak::setUp(const QString &room)
{
    for (Side &side : m_sides)
        side.name = side.user->main.strMyName;
    for (int i = 0; i < 2; ++i) {
        Side &side = m_sides[i];
        side.conversation = side.user->openConversation(m_sides[1 - i].name);
        side.room = side.user->joinRoom(room);
        if (!side.conversation || !side.room)
            return side.name + QStringLiteral(" could not open the conversation or join the room");
        QuorTOCSock *btoc = side.user->main.btoc;
        m_counting << QObject::connect(btoc, &QuorTOCSock::InstantMessage, [&side] { ++side.imsIn; })
                   << QObject::connect(btoc, &QuorTOCSock::ChatMessage, [&side] { ++side.chatIn; });
    }
    // Both are in the room once each sees the other there.
    const bool together = QTest::qWaitFor(
        [this] { return m_sides[0].room->lstHere->count() >= 2 && m_sides[1].room->lstHere->count() >= 2; },
        ArrivalWaitMs);
    if (!together)
        return QStringLiteral("the two never saw each other in the room");
    for (Side &side : m_sides) {
        Transcript::setText(side.conversation->txtIM, QString());
        side.room->clearTranscript();
    }
    m_lastCpuUs = ProcessFigures::cpuUs();
    return {};
}

QString Soak::message(const Side &from, const char *kind, int number)
{
    // Characters that TOC2 quotes or escapes, markup that must stay text, and
    // text beyond ASCII; a length that varies from line to line.
    return QStringLiteral("soak %1 %2 #%3 \\ $ ( ) [ ] { } <b>not bold</b> & caf\u00e9 \u20ac \U0001F600 %4")
        .arg(from.name, QLatin1String(kind))
        .arg(number)
        .arg(QString((number % 7) * 20, QLatin1Char('x')));
}

QString Soak::run(int ims, int chatLines, int sampleEvery, const std::function<void(const Sample &)> &sampled)
{
    int imsSent = 0;
    int chatSent = 0;
    while (imsSent + 2 <= ims) {
        const int nextSample = (imsSent / sampleEvery + 1) * sampleEvery;
        const int each = std::max(1, std::min({Burst, (ims - imsSent) / 2, (nextSample - imsSent) / 2}));
        for (int k = 0; k < each; ++k) {
            for (Side &side : m_sides) {
                const QString text = message(side, "im", imsSent / 2 + k);
                DesktopUser::say(side.conversation, text);
                side.imsSent << text;
            }
        }
        imsSent += 2 * each;
        const int chatDue = int(qint64(imsSent) * chatLines / ims) - chatSent;
        for (int j = 0; j < chatDue; ++j) {
            Side &side = m_sides[(chatSent + j) % 2];
            const QString text = message(side, "chat", chatSent + j);
            DesktopUser::say(side.room, text);
            side.chatSent << text;
        }
        chatSent += chatDue;
        if (const QString failure = awaitArrivals(imsSent / 2, chatSent); !failure.isEmpty())
            return failure;

        if (imsSent % sampleEvery == 0 || imsSent + 2 > ims) {
            const qint64 spentUs = ProcessFigures::cpuUs() - m_lastCpuUs;
            if (const QString failure = check(); !failure.isEmpty())
                return failure;
            for (Side &side : m_sides) {
                Transcript::setText(side.conversation->txtIM, QString());
                side.room->clearTranscript();
                side.imsSent.clear();
                side.chatSent.clear();
            }
            sample(imsSent, chatSent, spentUs);
            if (sampled)
                sampled(m_samples.last());
            m_lastCpuUs = ProcessFigures::cpuUs();
        }
    }
    return {};
}

QString Soak::awaitArrivals(int imsEachWay, int chatLines)
{
    const auto arrived = [&] {
        return std::all_of(std::begin(m_sides), std::end(m_sides),
                           [&](const Side &side) { return side.imsIn >= imsEachWay && side.chatIn >= chatLines; });
    };
    if (QTest::qWaitFor(arrived, ArrivalWaitMs))
        return {};
    QString counts;
    for (const Side &side : m_sides)
        counts += QStringLiteral(" %1 had %2 of %3 IMs and %4 of %5 chat lines;")
                      .arg(side.name)
                      .arg(side.imsIn)
                      .arg(imsEachWay)
                      .arg(side.chatIn)
                      .arg(chatLines);
    return QStringLiteral("not everything arrived:") + counts;
}

QString Soak::check() const
{
    QString failures;
    for (int i = 0; i < 2; ++i) {
        const Side &side = m_sides[i];
        const Side &other = m_sides[1 - i];
        const QString conversation = side.name + QStringLiteral("'s conversation");
        const QString room = side.name + QStringLiteral("'s room");
        failures += checkLines(side.conversation->txtIM, other.name, other.imsSent, conversation);
        failures += checkLines(side.conversation->txtIM, side.name, side.imsSent, conversation);
        failures += checkLines(side.room->txtChat, other.name, other.chatSent, room);
        failures += checkLines(side.room->txtChat, side.name, side.chatSent, room);
    }
    return failures;
}

QString Soak::checkLines(const QTextEdit *view, const QString &speaker, const QStringList &expected,
                         const QString &where)
{
    const QString prefix = speaker + QStringLiteral(": ");
    QStringList shown;
    for (QString line : view->toPlainText().split(QLatin1Char('\n'))) {
        line.remove(QLatin1Char('\r'));
        if (line.startsWith(prefix + QStringLiteral("soak ")))
            shown << line.mid(prefix.size());
    }
    if (shown == expected)
        return {};
    qsizetype i = 0;
    while (i < shown.size() && i < expected.size() && shown[i] == expected[i])
        ++i;
    return QStringLiteral("%1 shows %2 of %3 lines by %4; line %5 is \"%6\" where \"%7\" was sent. ")
        .arg(where)
        .arg(shown.size())
        .arg(expected.size())
        .arg(speaker)
        .arg(i)
        .arg(shown.value(i), expected.value(i));
}

void Soak::sample(int ims, int chatLines, qint64 cpuSinceUs)
{
    Sample s;
    s.ims = ims;
    s.chatLines = chatLines;
    s.residentKb = ProcessFigures::residentKb();
    s.heapKb = ProcessFigures::heapInUseKb();
    s.openFiles = ProcessFigures::openFiles();
    const int messages = ims + chatLines - m_lastMessages;
    s.cpuUsPerMessage = messages > 0 ? double(cpuSinceUs) / messages : 0;
    m_lastMessages = ims + chatLines;
    m_samples.append(s);
}

#include "conversationfixture.h"

#include "flap.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextFragment>

void PrintTo(const TextRun &run, std::ostream *os)
{
    *os << '{';
    PrintTo(run.text, os);
    *os << (run.bold ? " bold" : "") << (run.italic ? " italic" : "") << ' '
        << run.colour.name().toStdString() << '}';
}

namespace {
template<typename Visit>
void eachFragment(const QTextEdit *view, Visit visit)
{
    for (QTextBlock block = view->document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().isValid())
                visit(it.fragment());
        }
    }
}
} // namespace

QList<TextRun> runsOf(const QTextEdit *view)
{
    QList<TextRun> runs;
    eachFragment(view, [&](const QTextFragment &fragment) {
        const QTextCharFormat format = fragment.charFormat();
        runs.append({fragment.text(), format.fontWeight() >= QFont::Bold, format.fontItalic(),
                     format.foreground().color()});
    });
    return runs;
}

bool hasRichContent(const QTextEdit *view)
{
    bool rich = view->document()->rootFrame()->childFrames().size() > 0;
    eachFragment(view, [&](const QTextFragment &fragment) {
        const QTextCharFormat format = fragment.charFormat();
        rich = rich || format.isImageFormat() || format.isAnchor();
    });
    return rich;
}

ConversationTest::ConversationTest()
    : lbAway(*new QLabel(QStringLiteral("     Away Message is On."), &buddyPanel))
{
    lbAway.hide();
    QObject::connect(&btoc, &QuorTOCSock::InstantMessage, &router, &ConversationRouter::InstantMessage);
    socket->acceptConnection();
    socket->takeWritten();
}

ConversationTest::~ConversationTest()
{
    qDeleteAll(conversations());
}

void ConversationTest::receiveIm(const QByteArray &from, const QByteArray &text)
{
    socket->deliver(Flap::buildFrame(Flap::Data, 1, "IM_IN_ENC2:" + from + ":F:F:T: O:F:L:en:" + text));
}

QList<QByteArray> ConversationTest::sentLines()
{
    Flap::FrameSplitter splitter;
    splitter.append(socket->takeWritten());
    QList<QByteArray> lines;
    while (const auto frame = splitter.next()) {
        QByteArray payload = Flap::framePayload(*frame).toByteArray();
        if (payload.endsWith('\0'))
            payload.chop(1);
        lines.append(payload);
    }
    return lines;
}

QList<frmAimIM *> ConversationTest::conversations() const
{
    QList<frmAimIM *> found;
    for (QWidget *window : windows.windows()) {
        if (auto *conversation = qobject_cast<frmAimIM *>(window))
            found.append(conversation);
    }
    return found;
}

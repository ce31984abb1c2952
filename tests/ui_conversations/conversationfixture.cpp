#include "conversationfixture.h"

#include <QTextBlock>
#include <QTextEdit>

void PrintTo(const TextRun &run, std::ostream *os)
{
    PrintTo(run.text, os);
    *os << (run.bold ? " bold " : " ") << run.colour.name().toStdString();
}

namespace {
QList<QTextFragment> fragmentsOf(const QTextEdit *view)
{
    QList<QTextFragment> fragments;
    for (QTextBlock block = view->document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it)
            fragments.append(it.fragment());
    }
    return fragments;
}
} // namespace

QList<TextRun> runsOf(const QTextEdit *view)
{
    QList<TextRun> runs;
    for (const QTextFragment &f : fragmentsOf(view))
        runs.append({f.text(), f.charFormat().fontWeight() >= QFont::Bold, f.charFormat().foreground().color()});
    return runs;
}

ConversationTest::ConversationTest()
    : lbAway(*new QLabel(QStringLiteral("     Away Message is On."), &buddyPanel))
{
    txtFont.setText(QStringLiteral("<font>"));
    lbAway.hide();
}

void ConversationTest::receiveIm(const QByteArray &from, const QByteArray &text)
{
    serverSays("IM_IN_ENC2:" + from + ":F:F:T: O:F:L:en:" + text);
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

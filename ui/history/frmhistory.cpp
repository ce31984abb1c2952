#include "frmhistory.h"

#include "conversation/transcript.h"
#include "dialogs.h"
#include "escapekey.h"
#include "session/screenname.h"
#include "session/wiretext.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTextDocument>
#include <QTextEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
const QColor MatchBackground(0xFF, 0xF0, 0xA0);

// Where a match was kept, carried by its row.
enum Role { LineIdRole = Qt::UserRole, PlaceRole, KeyRole, ShownNameRole };

QString withWhom(HistoryStore::Place place, const QString &name)
{
    return place == HistoryStore::Place::ChatRoom ? frmHistory::tr("%1 (chat room)").arg(name) : name;
}

QString separatorOf(const HistoryStore::Line &line)
{
    return line.autoReply ? Transcript::AutoReplySeparator : Transcript::NameSeparator;
}

Transcript::Speaker speakerOf(const HistoryStore::Line &line)
{
    return line.speaker == HistoryStore::Speaker::Self ? Transcript::Speaker::Self : Transcript::Speaker::Other;
}
} // namespace

frmHistory::frmHistory(HistoryStore &store, Dialogs &dialogs, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , Label1(new QLabel(tr("&Find:"), this))
    , txtFind(new QLineEdit(this))
    , cmdFind(new QPushButton(tr("Find"), this))
    , Label2(new QLabel(tr("&Matches:"), this))
    , lstMatches(new QTreeWidget(this))
    , lbConversation(new QLabel(this))
    , txtConversation(new QTextEdit(this))
    , cmdForget(new QPushButton(tr("F&orget this conversation"), this))
    , lbStatus(new QLabel(this))
    , m_store(store)
    , m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("frmHistory"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Qiv - History"));

    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setBuddy(txtFind);
    txtFind->setObjectName(QStringLiteral("txtFind"));
    txtFind->setAccessibleDescription(tr("Words to look for in every conversation and chat room kept"));
    cmdFind->setObjectName(QStringLiteral("cmdFind"));
    cmdFind->setAccessibleDescription(tr("Lists the lines that hold every word typed"));
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setBuddy(lstMatches);

    lstMatches->setObjectName(QStringLiteral("lstMatches"));
    // A list takes no name from its label.
    lstMatches->setAccessibleName(tr("Matches"));
    lstMatches->header()->setAccessibleName(tr("Columns of the matches"));
    lstMatches->setAccessibleDescription(
        tr("The newest lines first; the conversation around the chosen one shows below"));
    lstMatches->setHeaderLabels({tr("Time"), tr("With"), tr("Line")});
    lstMatches->setRootIsDecorated(false);
    lstMatches->setUniformRowHeights(true);
    lstMatches->setAllColumnsShowFocus(true);
    lstMatches->header()->setStretchLastSection(true);

    lbConversation->setObjectName(QStringLiteral("lbConversation"));
    lbConversation->setTextFormat(Qt::PlainText);
    lbConversation->setAccessibleDescription(tr("Whose conversation is shown"));
    txtConversation->setObjectName(QStringLiteral("txtConversation"));
    txtConversation->setReadOnly(true);
    txtConversation->setAcceptRichText(false);
    // The caret moves with the keyboard, so every line can be read out; Tab leaves.
    txtConversation->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    txtConversation->setTabChangesFocus(true);
    txtConversation->setAccessibleName(tr("Conversation"));

    cmdForget->setObjectName(QStringLiteral("cmdForget"));
    cmdForget->setAccessibleDescription(tr("Deletes everything kept of the conversation shown, after asking"));
    cmdForget->setEnabled(false);
    lbStatus->setObjectName(QStringLiteral("lbStatus"));
    lbStatus->setTextFormat(Qt::PlainText);
    lbStatus->setWordWrap(true);
    // Named by what it says, so a screen reader hears each answer.
    lbStatus->setAccessibleDescription(tr("History status"));

    connect(txtFind, &QLineEdit::returnPressed, this, &frmHistory::Find);
    connect(cmdFind, &QPushButton::clicked, this, &frmHistory::Find);
    // Moving through the matches shows each one's conversation; Enter goes to it.
    connect(lstMatches, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item) { showMatch(item); });
    connect(lstMatches, &QTreeWidget::itemActivated, this, [this] { txtConversation->setFocus(); });
    connect(cmdForget, &QPushButton::clicked, this, &frmHistory::Forget);
    EscapeKey::leavesBy(this, [this] { close(); });

    buildLayout();
    resize(560, 480);
    txtFind->setFocus();
    report(m_store.isAvailable() ? QString()
                                 : tr("No history is kept yet: \"Keep a history\" on the Privacy page of the "
                                      "preferences keeps one."));
}

void frmHistory::buildLayout()
{
    auto *find = new QHBoxLayout;
    find->addWidget(Label1);
    find->addWidget(txtFind, 1);
    find->addWidget(cmdFind);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(lbStatus, 1);
    bottom->addWidget(cmdForget);

    auto *column = new QVBoxLayout(this);
    column->addLayout(find);
    column->addWidget(Label2);
    column->addWidget(lstMatches, 2);
    column->addWidget(lbConversation);
    column->addWidget(txtConversation, 3);
    column->addLayout(bottom);

    setTabOrder(txtFind, cmdFind);
    setTabOrder(cmdFind, lstMatches);
    setTabOrder(lstMatches, txtConversation);
    setTabOrder(txtConversation, cmdForget);
}

void frmHistory::Find()
{
    const QList<HistoryStore::Match> matches = m_store.search(txtFind->text());
    // Filled without showing each row's conversation on the way.
    lstMatches->blockSignals(true);
    lstMatches->clear();
    for (const HistoryStore::Match &match : matches) {
        QString line = match.line.name + separatorOf(match.line) + match.line.body;
        line.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
        auto *item = new QTreeWidgetItem(
            lstMatches,
            {QLocale().toString(match.line.time, QLocale::ShortFormat), withWhom(match.place, match.shownName), line});
        item->setData(TimeColumn, LineIdRole, match.line.id);
        item->setData(TimeColumn, PlaceRole, int(match.place));
        item->setData(TimeColumn, KeyRole, match.key);
        item->setData(TimeColumn, ShownNameRole, match.shownName);
    }
    lstMatches->blockSignals(false);
    lstMatches->resizeColumnToContents(TimeColumn);
    lstMatches->resizeColumnToContents(WithColumn);

    const qsizetype found = matches.size();
    if (txtFind->text().trimmed().isEmpty())
        report(tr("Type the words to look for."));
    else if (found == 0)
        report(tr("No kept line holds \"%1\".").arg(txtFind->text().trimmed()));
    else if (found == HistoryStore::SearchLimit)
        report(tr("The newest %1 matching lines are listed; more words narrow the search.").arg(found));
    else
        report(found == 1 ? tr("1 line matches.") : tr("%1 lines match.").arg(found));
}

void frmHistory::showMatch(QTreeWidgetItem *item)
{
    if (!item)
        return;
    const qint64 id = item->data(TimeColumn, LineIdRole).toLongLong();
    const Shown whom{Place(item->data(TimeColumn, PlaceRole).toInt()), item->data(TimeColumn, KeyRole).toByteArray(),
                     item->data(TimeColumn, ShownNameRole).toString()};
    showLines(whom, m_store.around(id, LinesAround, LinesAround), id);
}

void frmHistory::showConversation(Place place, const QByteArray &name)
{
    const Shown whom{place, ScreenName::NormalizeName(name), WireText::fromWire(name)};
    const QList<HistoryStore::Line> lines = m_store.lastLines(place, name, LastLines);
    showLines(whom, lines, 0);
    report(lines.isEmpty() ? tr("Nothing is kept of this conversation.") : QString());
}

void frmHistory::showLines(const Shown &whom, const QList<HistoryStore::Line> &lines, qint64 matchId)
{
    m_shown = whom;
    lbConversation->setText(whom.place == Place::ChatRoom ? tr("Chat room %1").arg(whom.name)
                                                          : tr("Conversation with %1").arg(whom.name));
    cmdForget->setEnabled(true);
    txtConversation->clear();
    txtConversation->setExtraSelections({});
    QTextDocument *document = txtConversation->document();
    int matchStart = -1;
    int matchEnd = -1;
    for (const HistoryStore::Line &line : lines) {
        // Each entry begins with its own line break, which is not part of it.
        const int start = document->characterCount();
        Transcript::appendKeptEntry(txtConversation, line.time, speakerOf(line), line.name, line.body,
                                    separatorOf(line));
        if (line.id == matchId && matchId != 0) {
            matchStart = start;
            matchEnd = document->characterCount() - 1;
        }
    }
    if (matchStart < 0)
        return;
    // The match stays marked wherever the caret goes; the caret starts on it.
    QTextEdit::ExtraSelection marked;
    marked.cursor = QTextCursor(document);
    marked.cursor.setPosition(matchStart);
    marked.cursor.setPosition(matchEnd, QTextCursor::KeepAnchor);
    marked.format.setBackground(MatchBackground);
    txtConversation->setExtraSelections({marked});
    QTextCursor caret(document);
    caret.setPosition(matchStart);
    txtConversation->setTextCursor(caret);
    txtConversation->ensureCursorVisible();
}

void frmHistory::Forget()
{
    if (m_shown.key.isEmpty())
        return;
    const Shown whom = m_shown;
    const QString question = whom.place == Place::ChatRoom
        ? tr("Forget everything Qiv kept of chat room %1? This cannot be undone.").arg(whom.name)
        : tr("Forget everything Qiv kept of your conversation with %1? This cannot be undone.").arg(whom.name);
    if (!m_dialogs.askYesNo(this, question, tr("Forget %1").arg(whom.name)))
        return;
    if (!m_store.forget(whom.place, whom.key)) {
        report(tr("%1 could not be forgotten.").arg(withWhom(whom.place, whom.name)));
        return;
    }
    lstMatches->blockSignals(true);
    for (int row = lstMatches->topLevelItemCount() - 1; row >= 0; --row) {
        const QTreeWidgetItem *item = lstMatches->topLevelItem(row);
        if (item->data(TimeColumn, PlaceRole).toInt() == int(whom.place)
            && item->data(TimeColumn, KeyRole).toByteArray() == whom.key)
            delete lstMatches->takeTopLevelItem(row);
    }
    lstMatches->blockSignals(false);
    m_shown = Shown();
    lbConversation->clear();
    txtConversation->clear();
    txtConversation->setExtraSelections({});
    cmdForget->setEnabled(false);
    report(whom.place == Place::ChatRoom ? tr("Chat room %1 is forgotten.").arg(whom.name)
                                         : tr("Your conversation with %1 is forgotten.").arg(whom.name));
}

void frmHistory::report(const QString &text)
{
    const QString problem = m_store.problem();
    lbStatus->setText(problem.isEmpty() ? text : problem);
}

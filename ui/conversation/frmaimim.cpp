#include "frmaimim.h"

#include "appcontext.h"
#include "artwork.h"
#include "blocklist.h"
#include "dialogs.h"
#include "escapekey.h"
#include "history.h"
#include "iconbutton.h"
#include "laterdelivery.h"
#include "presence.h"
#include "options.h"
#include "productinfo.h"
#include "session/quortocsock.h"
#include "session/screenname.h"
#include "session/wiretext.h"
#include "store/remembered.h"
#include "transcript.h"
#include "transcriptlinks.h"
#include "typingreporter.h"
#include "windowregistry.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// Tab reaches it and Space presses it; a click leaves focus in the entry box.
QToolButton *pictureButton(QWidget *parent, const char *name, const QIcon &icon, const QString &label,
                           const QString &description)
{
    return iconButton(parent, QLatin1String(name), icon, 24, label, description, Qt::TabFocus);
}
} // namespace

frmAimIM::frmAimIM(AppContext &context, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , Label1(new QLabel(tr("Instant Message with:"), this))
    , currentname(new QLabel(this))
    , txtIM(new QTextEdit(this))
    , txtMessage(new QLineEdit(this))
    , chkClear(new QCheckBox(tr("Clear box after send"), this))
    , cmdSend(pictureButton(this, "cmdSend", Artwork::icon(Artwork::Picture::Send), tr("Send"),
                            tr("Sends the message you typed")))
    , cmdBlock(pictureButton(this, "cmdBlock", Artwork::icon(Artwork::Picture::Block), tr("Block"),
                             tr("Stops this person from reaching you, after asking")))
    , cmdWarn(pictureButton(this, "cmdWarn", Artwork::icon(Artwork::Picture::Warn), tr("Warn"),
                            tr("Raises this person's warning level, after asking")))
    , usersn(new QLineEdit(QStringLiteral("Text1"), this))
    , lbTyping(new QLabel(this))
    , cmdUnblock(new QPushButton(tr("&Unblock"), this))
    , cmdHistory(new QPushButton(tr("&History..."), this))
    , cmdSendLater(new QPushButton(tr("Send When &Online"), this))
    , m_context(context)
    , m_typing(
          new TypingReporter([this](qint16 state) { m_context.btoc.SendTypingStatus(m_correspondent, state); }, this))
{
    setObjectName(QStringLiteral("frmAimIM"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(ProductInfo::caption(tr("Instant Messages")));

    Label1->setObjectName(QStringLiteral("Label1"));
    currentname->setObjectName(QStringLiteral("currentname"));
    currentname->setTextFormat(Qt::PlainText);
    QFont nameFont = currentname->font();
    nameFont.setBold(true);
    currentname->setFont(nameFont);
    txtIM->setObjectName(QStringLiteral("txtIM"));
    txtIM->setReadOnly(true);
    txtIM->setAcceptRichText(false);
    txtIM->setAccessibleName(tr("Conversation"));
    TranscriptLinks::attach(txtIM, m_context.openUrl);
    // Named by the correspondent it shows; the role words are its description.
    currentname->setAccessibleDescription(tr("Talking with"));
    txtMessage->setObjectName(QStringLiteral("txtMessage"));
    txtMessage->setAccessibleName(tr("Message"));
    chkClear->setObjectName(QStringLiteral("chkClear"));
    usersn->setObjectName(QStringLiteral("usersn"));
    usersn->hide();
    lbTyping->setObjectName(QStringLiteral("lbTyping"));
    lbTyping->setTextFormat(Qt::PlainText);
    lbTyping->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Named by what it says, like every label whose text changes.
    lbTyping->setAccessibleDescription(tr("Whether this person is typing"));
    QPalette grey = lbTyping->palette();
    grey.setColor(QPalette::WindowText, QColor(0x60, 0x60, 0x60));
    lbTyping->setPalette(grey);
    cmdUnblock->setObjectName(QStringLiteral("cmdUnblock"));
    cmdUnblock->setAccessibleDescription(tr("Lets this person reach you again"));
    cmdUnblock->hide();
    cmdSendLater->setObjectName(QStringLiteral("cmdSendLater"));
    cmdSendLater->setAccessibleDescription(
        tr("Sends the lines this person did not get as soon as they sign on, while Qiv runs"));
    cmdSendLater->hide();
    cmdHistory->setObjectName(QStringLiteral("cmdHistory"));
    cmdHistory->setAccessibleDescription(tr("Opens the History window on this conversation"));

    buildLayout();
    // Opens at its classic size; the transcript takes any room added.
    resize(419, 214);

    // A new conversation starts with the clear-box choice the user made last,
    // when they asked Qiv to remember it.
    chkClear->setChecked(m_context.remembered.value(Remembered::Key::ImClearAfterSend).toBool());
    connect(chkClear, &QCheckBox::toggled, this,
            [this](bool on) { m_context.remembered.setValue(Remembered::Key::ImClearAfterSend, on); });

    connect(cmdSend, &QToolButton::clicked, this, &frmAimIM::Send);
    connect(cmdBlock, &QToolButton::clicked, this, &frmAimIM::Block);
    connect(cmdWarn, &QToolButton::clicked, this, &frmAimIM::Warn);
    connect(cmdUnblock, &QPushButton::clicked, this, &frmAimIM::Unblock);
    connect(cmdSendLater, &QPushButton::clicked, this, &frmAimIM::SendLater);
    if (m_context.later)
        connect(m_context.later, &LaterDelivery::delivered, this, &frmAimIM::onHeldDelivered);
    connect(cmdHistory, &QPushButton::clicked, this,
            [this] { m_context.history.showWindow(m_context.dialogs, History::Place::Conversation, m_correspondent); });
    connect(txtMessage, &QLineEdit::textEdited, m_typing, &TypingReporter::textEdited);
    Transcript::showTimes(txtIM, m_context.options.showsTimes());
    connect(&m_context.options, &Options::changed, this,
            [this] { Transcript::showTimes(txtIM, m_context.options.showsTimes()); });
    connect(&m_context.blocked, &BlockList::changed, this, &frmAimIM::refreshBlocked);
    connect(&m_context.btoc, &QuorTOCSock::SendSettled, this, &frmAimIM::onSendSettled);
    txtMessage->installEventFilter(this);
    txtMessage->setFocus();
    // A conversation has no question on closing; Escape simply closes it.
    EscapeKey::leavesBy(this, [this] { close(); });

    m_context.windows.add(this);
}

void frmAimIM::buildLayout()
{
    auto *top = new QHBoxLayout;
    top->addWidget(Label1);
    top->addWidget(currentname, 1);
    top->addWidget(lbTyping);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(cmdWarn);
    bottom->addWidget(cmdBlock);
    bottom->addWidget(cmdUnblock);
    bottom->addWidget(cmdSendLater);
    bottom->addWidget(cmdHistory);
    bottom->addStretch(1);
    bottom->addWidget(chkClear);
    bottom->addStretch(1);
    bottom->addWidget(cmdSend);

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(6, 4, 6, 2);
    column->setSpacing(3);
    column->addLayout(top);
    column->addWidget(txtIM, 1);
    column->addWidget(txtMessage);
    column->addLayout(bottom);

    setTabOrder(txtMessage, cmdSend);
    setTabOrder(cmdSend, chkClear);
    setTabOrder(chkClear, cmdWarn);
    setTabOrder(cmdWarn, cmdBlock);
    setTabOrder(cmdBlock, cmdUnblock);
    setTabOrder(cmdUnblock, cmdSendLater);
    setTabOrder(cmdSendLater, cmdHistory);
    setTabOrder(cmdHistory, txtIM);
}

bool frmAimIM::eventFilter(QObject *watched, QEvent *event)
{
    // Return and the keypad's Enter send whatever modifiers are held; the key
    // still goes on to the box, which adds no line break to a single line.
    if (watched == txtMessage && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            Send();
    }
    return QWidget::eventFilter(watched, event);
}

void frmAimIM::Send()
{
    const QString typed = txtMessage->text();
    const QByteArray destination = ScreenName::NormalizeName(m_correspondent);
    // The style prefix is read now, so a style change reaches every open window.
    const QByteArray message = WireText::toWireHtml(m_context.txtFont.text(), typed);

    // The buddy list knows they are offline: the server would drop the line
    // without a word, so it stays here, marked, to be sent when they are back.
    if (m_context.presence && m_context.presence->isKnownOffline(m_correspondent) && m_context.btoc.isConnected()) {
        m_typing->messageSent();
        Transcript::appendEntry(txtIM, Transcript::Speaker::Self, usersn->text(), typed);
        undelivered(message, Transcript::appendMark(txtIM, QString()));
        if (chkClear->isChecked())
            txtMessage->clear();
        return;
    }
    QuorTOCSock::Ticket ticket = 0;
    const QuorTOCSock::SendCheck verdict = m_context.btoc.trySendIM(destination, message, false, &ticket);
    switch (verdict) {
    case QuorTOCSock::SendCheck::TooLong:
        // Nothing looks sent, and the text stays in the box to be shortened.
        Transcript::appendNotice(txtIM,
                                 tr("This message was not sent: it is too long for the server. "
                                    "Shorten it and send it again."));
        return;
    case QuorTOCSock::SendCheck::NotSignedOn:
        // The user sees what they wrote, then why it never left; the text stays
        // in the box so that it can be sent once signed on again.
        Transcript::appendEntry(txtIM, Transcript::Speaker::Self, usersn->text(), typed);
        Transcript::appendNotice(txtIM, tr("This message was not sent because Qiv is not signed on."));
        return;
    case QuorTOCSock::SendCheck::Sendable:
    case QuorTOCSock::SendCheck::Waiting:
        break;
    }

    m_typing->messageSent();
    Transcript::appendEntry(txtIM, Transcript::Speaker::Self, usersn->text(), typed);
    m_lastSentMessage = message;
    followSend(ticket, verdict);
    if (chkClear->isChecked())
        txtMessage->clear();
}

void frmAimIM::followSend(QuorTOCSock::Ticket ticket, QuorTOCSock::SendCheck verdict)
{
    marked(Transcript::appendMark(txtIM, QString()), ticket, verdict);
}

void frmAimIM::marked(QTextCursor mark, QuorTOCSock::Ticket ticket, QuorTOCSock::SendCheck verdict)
{
    switch (verdict) {
    case QuorTOCSock::SendCheck::Waiting:
        Transcript::changeMark(mark, tr(" (waiting: the server limits how fast messages go)"));
        m_waiting.insert(ticket, mark);
        break;
    case QuorTOCSock::SendCheck::Sendable:
        Transcript::changeMark(mark, QString());
        m_lastSent = ticket;
        m_lastSentEnd = mark;
        followUntilHeard(ticket, mark);
        break;
    case QuorTOCSock::SendCheck::TooLong:
    case QuorTOCSock::SendCheck::NotSignedOn:
        Transcript::changeMark(mark, tr(" (not sent)"));
        break;
    }
}

void frmAimIM::undelivered(const QByteArray &message, QTextCursor mark)
{
    Transcript::changeMark(mark, tr(" (%1 is offline; not delivered)").arg(currentname->text()));
    m_undelivered.append({message, mark});
    // Only a buddy's signing on is ever reported.
    cmdSendLater->setVisible(m_context.later && m_context.presence && m_context.presence->isBuddy(m_correspondent));
}

void frmAimIM::lastLineUndelivered()
{
    if (m_lastSent == 0)
        return;
    m_lastSent = 0;
    undelivered(m_lastSentMessage, m_lastSentEnd);
}

void frmAimIM::SendLater()
{
    if (!m_context.later)
        return;
    for (auto &[message, mark] : m_undelivered) {
        Transcript::changeMark(mark, tr(" (goes when %1 signs on)").arg(currentname->text()));
        m_held.insert(m_context.later->hold(m_correspondent, message), mark);
    }
    m_undelivered.clear();
    cmdSendLater->hide();
    txtMessage->setFocus();
}

void frmAimIM::onHeldDelivered(quint64 id, QuorTOCSock::SendCheck verdict, QuorTOCSock::Ticket ticket)
{
    if (const auto held = m_held.find(id); held != m_held.end()) {
        marked(*held, ticket, verdict);
        m_held.erase(held);
    }
}

void frmAimIM::followUntilHeard(QuorTOCSock::Ticket ticket, const QTextCursor &mark)
{
    // Lines the server has said something after are past danger.
    m_unheard.erase(m_unheard.begin(), m_unheard.upperBound(m_context.btoc.heardThrough()));
    m_unheard.insert(ticket, mark);
}

void frmAimIM::onSendSettled(QuorTOCSock::Ticket ticket, QuorTOCSock::SendOutcome outcome)
{
    if (outcome == QuorTOCSock::SendOutcome::Unconfirmed) {
        if (const auto line = m_unheard.find(ticket); line != m_unheard.end()) {
            Transcript::changeMark(*line, tr(" (perhaps not delivered: the connection was lost)"));
            m_unheard.erase(line);
        }
        return;
    }
    QTextCursor mark;
    if (const auto waiting = m_waiting.find(ticket); waiting != m_waiting.end()) {
        mark = *waiting;
        m_waiting.erase(waiting);
    } else if (ticket == m_lastSent) {
        mark = m_lastSentEnd;
    } else {
        return;
    }
    switch (outcome) {
    case QuorTOCSock::SendOutcome::Sent:
        Transcript::changeMark(mark, QString());
        m_lastSent = ticket;
        m_lastSentEnd = mark;
        followUntilHeard(ticket, mark);
        break;
    case QuorTOCSock::SendOutcome::NotSent:
        Transcript::changeMark(mark, tr(" (not sent: the connection ended first)"));
        break;
    case QuorTOCSock::SendOutcome::Refused:
        Transcript::changeMark(mark, tr(" (not delivered: the server dropped it for sending too fast)"));
        break;
    case QuorTOCSock::SendOutcome::Unconfirmed:
        break;
    }
}

bool frmAimIM::refused(QuorTOCSock::SendCheck verdict, const QString &request)
{
    switch (verdict) {
    case QuorTOCSock::SendCheck::TooLong:
        m_context.dialogs.notice(this, tr("%1 was not sent: it is too long for the server.").arg(request),
                                 ProductInfo::ProgramTitle);
        return true;
    case QuorTOCSock::SendCheck::NotSignedOn:
        m_context.dialogs.notice(this, tr("%1 was not sent because Qiv is not signed on.").arg(request),
                                 ProductInfo::ProgramTitle);
        return true;
    case QuorTOCSock::SendCheck::Sendable:
    case QuorTOCSock::SendCheck::Waiting:
        break;
    }
    return false;
}

void frmAimIM::openFor(const QByteArray &wireName, const QString &myName, Opening opening)
{
    // A caption is never read as markup, so the name can go in as received.
    setWindowTitle(ProductInfo::caption(WireText::fromWire(wireName)));
    setCorrespondent(wireName);
    m_context.history.follow(txtIM, History::Place::Conversation, wireName);
    // Typing meant for another window must not land here; this one asks for
    // attention instead.
    const bool byMessage = opening == Opening::ByAMessage;
    if (byMessage) {
        m_keyboardOwner = QApplication::activeWindow();
        m_shownByMessage.start();
    }
    setAttribute(Qt::WA_ShowWithoutActivating, byMessage);
    show();
    setAttribute(Qt::WA_ShowWithoutActivating, false);
    setOwnName(myName);
}

void frmAimIM::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !isActiveWindow() || !m_keyboardOwner)
        return;
    // A window system that activates every new window regardless: the
    // keyboard goes back at once, before a key can land here. Later the
    // user activates this window themselves.
    constexpr int PoppingUpMs = 500;
    QPointer<QWidget> owner = std::exchange(m_keyboardOwner, nullptr);
    if (m_shownByMessage.elapsed() < PoppingUpMs && owner->isVisible())
        owner->activateWindow();
}

void frmAimIM::setOwnName(const QString &myName) { usersn->setText(myName); }

void frmAimIM::appendIncoming(const QString &name, const QString &text, bool autoReply)
{
    showTypingStatus(QuorTOCSock::NothingTyped);
    Transcript::appendEntry(txtIM, Transcript::Speaker::Other, name, text,
                            autoReply ? Transcript::AutoReplySeparator : Transcript::NameSeparator);
}

void frmAimIM::appendAutoReply(const QString &myName, const QString &text)
{
    Transcript::appendEntry(txtIM, Transcript::Speaker::Self, myName, text, Transcript::AutoReplySeparator);
}

void frmAimIM::appendNotice(const QString &text) { Transcript::appendNotice(txtIM, text); }

void frmAimIM::setCorrespondent(const QByteArray &wireName)
{
    m_correspondent = wireName;
    currentname->setText(WireText::fromWire(wireName));
    refreshBlocked();
}

void frmAimIM::showTypingStatus(qint16 intTypingStatus)
{
    const QString name = currentname->text();
    switch (intTypingStatus) {
    case QuorTOCSock::Typing:
        lbTyping->setText(tr("%1 is typing...").arg(name));
        break;
    case QuorTOCSock::TextTyped:
        lbTyping->setText(tr("%1 has typed").arg(name));
        break;
    default:
        lbTyping->clear();
        break;
    }
}

void frmAimIM::refreshBlocked() { cmdUnblock->setVisible(m_context.blocked.isBlocked(m_correspondent)); }

void frmAimIM::Unblock()
{
    QString news;
    if (!refused(m_context.blocked.unblock(m_correspondent, &news),
                 tr("The request to unblock %1").arg(currentname->text()))
        && !news.isEmpty())
        Transcript::appendNotice(txtIM, news);
}

void frmAimIM::Block()
{
    const QString name = currentname->text();
    if (!m_context.dialogs.askYesNo(this, tr("Are you sure you want to block %1?").arg(name), tr("Block %1").arg(name)))
        return;
    QString news;
    if (refused(m_context.blocked.block(m_correspondent, &news), tr("The request to block %1").arg(name)))
        return;
    if (!news.isEmpty())
        Transcript::appendNotice(txtIM, news);
    m_context.dialogs.notice(this, tr("%1 has been blocked!").arg(name), ProductInfo::ProgramTitle);
}

void frmAimIM::Warn()
{
    const QString name = currentname->text();
    if (!m_context.dialogs.askYesNo(this, tr("Are you sure you want to warn %1?").arg(name), tr("Warn %1").arg(name)))
        return;
    if (refused(m_context.btoc.tryWarnUser(m_correspondent, false), tr("The warning to %1").arg(name)))
        return;
    m_context.dialogs.notice(this, tr("Warning was sent to %1").arg(name), ProductInfo::ProgramTitle);
}

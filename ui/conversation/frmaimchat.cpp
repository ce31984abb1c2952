#include "frmaimchat.h"

#include "appcontext.h"
#include "conversation/history.h"
#include "conversation/transcript.h"
#include "dialogs.h"
#include "escapekey.h"
#include "conversation/membermenu.h"
#include "conversation/transcriptlinks.h"
#include "options.h"
#include "productinfo.h"
#include "session/quortocsock.h"
#include "session/wiretext.h"
#include "store/remembered.h"
#include "windowregistry.h"

#include <QAbstractItemModel>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {
// The normalized screen name of a member, worked out once from the name as
// the server sent it, so that a departure in a crowded room compares names
// instead of normalizing every member again.
constexpr int MemberKeyRole = Qt::UserRole;

const QString TooLongLine
    = QStringLiteral("\r\n* Your message is too long for the chat room and was not sent; shorten it and send again.*");
} // namespace

frmAimChat::frmAimChat(AppContext &context, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , txtChat(new QTextEdit(this))
    , lstHere(new QListWidget(this))
    , Label2(new QLabel(QStringLiteral("Users here:"), this))
    , lbhere(new QLabel(QStringLiteral("0"), this))
    , txtMessage(new QPlainTextEdit(this))
    , chkClear(new QCheckBox(QStringLiteral("Clear box on send"), this))
    , cmdSend(new QPushButton(QStringLiteral("Send Message"), this))
    , cmdClearWindow(new QPushButton(QStringLiteral("Clear Window"), this))
    , cmdInvite(new QPushButton(tr("&Invite..."), this))
    , cmdsndlol(new QPushButton(QStringLiteral("Command1"), this))
    , chatid(new QLineEdit(this))
    , chatname(new QLineEdit(this))
    , m_context(context)
    , m_memberMenu(new MemberMenu(context, *lstHere))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(ProductInfo::caption(QStringLiteral("Buddy Chat")));

    txtChat->setObjectName(QStringLiteral("txtChat"));
    lstHere->setObjectName(QStringLiteral("lstHere"));
    Label2->setObjectName(QStringLiteral("Label2"));
    lbhere->setObjectName(QStringLiteral("lbhere"));
    txtMessage->setObjectName(QStringLiteral("txtMessage"));
    chkClear->setObjectName(QStringLiteral("chkClear"));
    cmdSend->setObjectName(QStringLiteral("cmdSend"));
    cmdClearWindow->setObjectName(QStringLiteral("cmdClearWindow"));
    cmdInvite->setObjectName(QStringLiteral("cmdInvite"));
    cmdInvite->setAccessibleDescription(tr("Asks for screen names and a message and invites them into this room"));
    cmdsndlol->setObjectName(QStringLiteral("cmdsndlol"));
    chatid->setObjectName(QStringLiteral("chatid"));
    chatname->setObjectName(QStringLiteral("chatname"));

    txtChat->setReadOnly(true);
    txtChat->setAcceptRichText(false);
    lbhere->setTextFormat(Qt::PlainText);
    // One plain line per member: the view need not measure every member
    // again after each arrival or departure in a crowded room.
    lstHere->setUniformItemSizes(true);
    txtMessage->setTabChangesFocus(true);
    txtChat->setAccessibleName(QStringLiteral("Room conversation"));
    TranscriptLinks::attach(txtChat, m_context.openUrl);
    Transcript::showTimes(txtChat, m_context.options.showsTimes());
    connect(&m_context.options, &Options::changed, this,
            [this] { Transcript::showTimes(txtChat, m_context.options.showsTimes()); });
    lstHere->setAccessibleName(QStringLiteral("Users here"));
    lstHere->setAccessibleDescription(QStringLiteral("The people in this room"));
    // Named by the count it shows, so a screen reader hears it change.
    lbhere->setAccessibleDescription(QStringLiteral("Number of users here"));
    txtMessage->setAccessibleName(QStringLiteral("Message"));
    cmdClearWindow->setAccessibleDescription(QStringLiteral("Empties the room conversation on this screen"));
    cmdsndlol->hide();
    chatid->hide();
    chatname->hide();

    buildLayout();
    chkClear->setChecked(m_context.remembered.value(Remembered::Key::ChatClearOnSend).toBool());
    connect(chkClear, &QCheckBox::toggled, this,
            [this](bool on) { m_context.remembered.setValue(Remembered::Key::ChatClearOnSend, on); });

    connect(cmdSend, &QPushButton::clicked, this, &frmAimChat::send);
    connect(&m_context.btoc, &QuorTOCSock::SendSettled, this, &frmAimChat::onSendSettled);
    connect(cmdsndlol, &QPushButton::clicked, this, &frmAimChat::send);
    connect(cmdClearWindow, &QPushButton::clicked, this, [this] { Transcript::setText(txtChat, QString()); });
    connect(cmdInvite, &QPushButton::clicked, this, &frmAimChat::invite);
    txtMessage->installEventFilter(this);
    // Escape closes the way the frame does, with the leave question while in a room.
    EscapeKey::leavesBy(this, [this] { close(); });

    // The head count follows the member list whoever changes it.
    QAbstractItemModel *members = lstHere->model();
    connect(members, &QAbstractItemModel::rowsInserted, this, &frmAimChat::refreshHeadCount);
    connect(members, &QAbstractItemModel::rowsRemoved, this, &frmAimChat::refreshHeadCount);
    connect(members, &QAbstractItemModel::modelReset, this, &frmAimChat::refreshHeadCount);

    Transcript::setText(txtChat, QString());
    refreshHeadCount();
    m_context.windows.add(this);
}

frmAimChat::~frmAimChat()
{
    // The list empties itself while Qt deletes the children, after this
    // class is gone; the head count must not hear of it.
    lstHere->model()->disconnect(this);
}

void frmAimChat::buildLayout()
{
    auto *countRow = new QHBoxLayout;
    countRow->setSpacing(6);
    countRow->addWidget(Label2);
    countRow->addWidget(lbhere);
    countRow->addStretch();

    auto *actions = new QVBoxLayout;
    actions->addWidget(cmdClearWindow);
    actions->addWidget(cmdInvite);
    actions->addWidget(cmdSend);
    actions->addWidget(chkClear);
    actions->addStretch();

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(8, 8, 8, 8);
    grid->setHorizontalSpacing(8);
    grid->addLayout(countRow, 0, 1);
    grid->addWidget(txtChat, 0, 0, 2, 1);
    grid->addWidget(lstHere, 1, 1);
    grid->addWidget(txtMessage, 2, 0);
    grid->addLayout(actions, 2, 1);
    grid->setColumnStretch(0, 1);
    grid->setRowStretch(1, 1);

    setTabOrder(txtMessage, cmdSend);
    setTabOrder(cmdSend, chkClear);
    setTabOrder(chkClear, cmdClearWindow);
    setTabOrder(cmdClearWindow, cmdInvite);
    setTabOrder(cmdInvite, txtChat);
    setTabOrder(txtChat, lstHere);

    lstHere->setFixedWidth(130);
    txtMessage->setFixedHeight(96);
    resize(480, 460);
}

void frmAimChat::refreshHeadCount()
{
    const QString count = QString::number(lstHere->count());
    if (lbhere->text() != count)
        lbhere->setText(count);
}

bool frmAimChat::holdsRoom() const { return !chatname->text().isEmpty(); }

bool frmAimChat::isInRoom() const { return !chatid->text().isEmpty(); }

QString frmAimChat::roomName() const { return chatname->text(); }

void frmAimChat::enterRoom(const QByteArray &wireName, qint32 chatId)
{
    show();
    const QString name = WireText::fromWire(wireName);
    chatname->setText(name);
    setWindowTitle(ProductInfo::caption(name));
    chatid->setText(QString::number(chatId));
    Transcript::setText(txtChat, QStringLiteral("You have just entered ") + name);
    m_context.history.follow(txtChat, History::Place::ChatRoom, wireName);
}

void frmAimChat::clearTranscript() { Transcript::setText(txtChat, QString()); }

bool frmAimChat::mutes(const QByteArray &normalizedName) const
{
    for (const QListWidgetItem *item : lstHere->selectedItems()) {
        if (item->data(MemberKeyRole).toByteArray() == normalizedName)
            return true;
    }
    return false;
}

void frmAimChat::appendMessage(Transcript::Speaker speaker, const QString &name, const QString &text)
{
    Transcript::appendEntry(txtChat, speaker, name, text);
}

void frmAimChat::memberArrived(const QString &name, const QByteArray &normalizedName)
{
    auto *item = new QListWidgetItem(name);
    item->setData(MemberKeyRole, normalizedName);
    lstHere->addItem(item);
    Transcript::appendLine(txtChat, QStringLiteral("* ") + name + QStringLiteral(" has entered the room.*"));
}

void frmAimChat::memberLeft(const QString &name, const QByteArray &normalizedName)
{
    for (int row = 0; row < lstHere->count();) {
        if (lstHere->item(row)->data(MemberKeyRole).toByteArray() != normalizedName) {
            ++row;
            continue;
        }
        delete lstHere->takeItem(row);
        Transcript::appendLine(txtChat, QStringLiteral("* ") + name + QStringLiteral(" has left the room.*"));
    }
}

void frmAimChat::dropRoom()
{
    chatname->clear();
    chatid->clear();
    Transcript::setText(txtChat, QString());
    close();
}

void frmAimChat::closeForSignOff()
{
    // With chatid empty the close neither asks nor leaves the room.
    chatid->clear();
    close();
}

void frmAimChat::send()
{
    // Without a room there is no chat ID to address; a 0 would make the
    // session look the room up by the empty name and hit the wrong one.
    bool isNumber = false;
    const qint32 id = chatid->text().toInt(&isNumber);
    if (chatid->text().isEmpty() || !isNumber)
        return;

    const QByteArray message = WireText::toWireHtml(m_context.txtFont.text(), txtMessage->toPlainText());
    // An overlong line never leaves; say so and keep the text.
    QuorTOCSock::Ticket ticket = 0;
    const QuorTOCSock::SendCheck verdict = m_context.btoc.trySendChat(id, message, &ticket);
    if (verdict == QuorTOCSock::SendCheck::TooLong) {
        Transcript::appendText(txtChat, TooLongLine);
        return;
    }
    // The room shows the message when the server sends it back; until then
    // a message held back for the speed limit says it waits.
    if (verdict == QuorTOCSock::SendCheck::Waiting) {
        m_waiting.insert(ticket);
        Transcript::appendNotice(txtChat, tr("Your message waits: the server limits how fast messages go."));
    } else if (verdict == QuorTOCSock::SendCheck::Sendable) {
        m_lastSent = ticket;
    }
    if (chkClear->isChecked())
        txtMessage->setPlainText(QString());
}

void frmAimChat::onSendSettled(QuorTOCSock::Ticket ticket, QuorTOCSock::SendOutcome outcome)
{
    if (!m_waiting.remove(ticket) && ticket != m_lastSent)
        return;
    if (outcome == QuorTOCSock::SendOutcome::Sent)
        m_lastSent = ticket;
    else if (outcome == QuorTOCSock::SendOutcome::NotSent)
        Transcript::appendNotice(txtChat, tr("A message that waited was not sent: the connection ended first."));
    else if (outcome == QuorTOCSock::SendOutcome::Unconfirmed)
        Transcript::appendNotice(txtChat,
                                 tr("Your last message may not have reached the room: the connection was lost."));
    else
        Transcript::appendNotice(txtChat, tr("The server dropped your last message for sending too fast."));
}

void frmAimChat::invite()
{
    bool isNumber = false;
    const qint32 id = chatid->text().toInt(&isNumber);
    if (chatid->text().isEmpty() || !isNumber)
        return;
    const QString names
        = m_context.dialogs.askText(this, tr("Screen names to invite, separated by commas:"), tr("Invite"), QString());
    QStringList invited;
    QList<QByteArray> users;
    for (const QString &name : names.split(QLatin1Char(','))) {
        if (name.trimmed().isEmpty())
            continue;
        invited << name.trimmed();
        users << WireText::toWire(name.trimmed());
    }
    if (users.isEmpty())
        return;
    const QString message = m_context.dialogs.askText(this, tr("Invitation message:"), tr("Invite"),
                                                      tr("Please join me in %1.").arg(roomName()));
    if (message.isEmpty())
        return;
    switch (m_context.btoc.tryInviteUsers(id, WireText::toWire(message), users)) {
    case QuorTOCSock::SendCheck::Sendable:
    case QuorTOCSock::SendCheck::Waiting:
        Transcript::appendText(txtChat,
                               QStringLiteral("\r\n* ") + tr("You invited %1.").arg(invited.join(QStringLiteral(", ")))
                                   + QStringLiteral("*"));
        return;
    case QuorTOCSock::SendCheck::TooLong:
        Transcript::appendText(txtChat,
                               QStringLiteral("\r\n* ")
                                   + tr("Your invitation is too long and was not sent; shorten it.")
                                   + QStringLiteral("*"));
        return;
    case QuorTOCSock::SendCheck::NotSignedOn:
        return;
    }
}

bool frmAimChat::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtMessage && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        // Enter sends whatever modifiers are held and never reaches the box.
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            cmdsndlol->click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmAimChat::closeEvent(QCloseEvent *event)
{
    if (!chatid->text().isEmpty()) {
        // A sign-off while the question is up ends the room from inside the
        // box's event loop (and may delete this window); the answer then no
        // longer matters.
        const QPointer<frmAimChat> self(this);
        const bool leave = m_context.dialogs.askYesNo(
            this, QStringLiteral("Are you sure you want to leave the chatroom?"), ProductInfo::ProgramTitle);
        if (!self)
            return;
        const bool stillInRoom = !chatid->text().isEmpty();
        if (stillInRoom && !leave) {
            event->ignore();
            return;
        }
        if (stillInRoom) {
            // Left by its ID: the name on screen may not be the bytes the
            // server gave, and two rooms on different exchanges may share a name.
            const qint32 id = chatid->text().toInt();
            // The slot is free before the window is gone, so a join can take it at once.
            chatid->clear();
            m_context.btoc.LeaveChat(WireText::toWire(chatname->text()), id);
            chatname->clear();
            Transcript::setText(txtChat, QString());
        }
    }
    event->accept();
    emit closed();
}

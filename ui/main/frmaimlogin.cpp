#include "frmaimlogin.h"

#include "awaymessages.h"
#include "buddyactions.h"
#include "signonflow.h"
#include "chatslots.h"
#include "conversationrouter.h"
#include "dialogs.h"
#include "prefs/frmaimprefs.h"
#include "prefs/preferenceslauncher.h"
#include "info/frmabout.h"
#include "info/frmcredits.h"
#include "artwork.h"
#include "productinfo.h"
#include "session/quortocsock.h"
#include "info/systeminfo.h"
#include "session/tocprotocol.h"
#include "session/tocsocket.h"
#include "windowregistry.h"
#include "session/wiretext.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCursor>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include "uniformlistview.h"
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QString signedOffText(const QString &name)
{
    return name + QStringLiteral(" was signed off!");
}

// What a window manager's title bar takes besides the caption: the icon, the
// buttons and the margins.
constexpr int TitleBarDecoration = 120;
// The buddy list widens for its caption up to this width; a longer name is
// shortened in the middle instead.
constexpr int WidestForCaption = 420;

QToolButton *launcher(const QString &name, const QIcon &icon, const QString &tip, const QString &description,
                      QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setIcon(icon);
    button->setIconSize(QSize(26, 26));
    button->setAutoRaise(true);
    button->setToolTip(tip);
    button->setAccessibleName(tip);
    button->setAccessibleDescription(description);
    button->setFocusPolicy(Qt::StrongFocus);
    return button;
}

void paintBackground(QWidget *widget, const QColor &colour)
{
    widget->setAutoFillBackground(true);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
}

ServerAddress serverToUse(const std::optional<ServerAddress> &given, const Remembered &remembered)
{
    if (given)
        return *given;
    return ServerAddress::parse(remembered.value(Remembered::Key::Server).toString()).value_or(ServerAddress());
}
} // namespace

frmAimlogin::frmAimlogin(Dialogs &dialogs, WindowRegistry &windows, std::optional<ServerAddress> server,
                         TocSocket *socket, const KeptPlaces &places, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , btoc(new QuorTOCSock(socket ? socket : new TcpTocSocket, this))
    , txtFont(new QLineEdit(defaultFontPrefix(), this))
    , Frame2(new QWidget(this))
    , Frame1(new QWidget(this))
    , lstBuddyson(new UniformListView(Frame1))
    , m_dialogs(dialogs)
    , m_windows(windows)
    , m_remembered(places.settingsFile)
    , m_historyStore(m_remembered, places.historyFolder)
    , m_history(m_historyStore)
    , m_server(serverToUse(server, m_remembered))
    , m_blocked(*btoc)
    , m_context{*btoc, dialogs, windows, *txtFont, m_blocked, m_attention, m_remembered, m_history}
    , m_registry(RegistryReader::forPlatform())
    , m_launcher(ProgramLauncher::forSystem())
    , m_flow(new SignOnFlow(*btoc, this))
{
    setObjectName(QStringLiteral("frmAimlogin"));
    setWindowTitle(QStringLiteral("Qiv"));
    windows.add(this);
    paintBackground(this, Qt::white);

    btoc->setObjectName(QStringLiteral("btoc"));
    txtFont->setObjectName(QStringLiteral("txtFont"));
    // A data holder only: never shown, never reached by the keyboard.
    txtFont->hide();
    txtFont->setFocusPolicy(Qt::NoFocus);

    buildSignOnPanel();
    restoreRemembered();
    // A server given on the command line is the one to remember.
    if (server)
        m_remembered.setValue(Remembered::Key::Server, m_server.text());
    buildBuddyListPanel();
    m_away = new AwayMessages(m_context, *lbAway, this);
    m_conversations = new ConversationRouter(m_context, *m_away, strMyName, this);
    m_chatSlots = new ChatSlots(m_context, strMyName, this);
    m_preferences = new PreferencesLauncher(m_context, this);
    m_buddyActions = new BuddyActions(m_context, *m_conversations, *lstBuddyson,
                                      [this](const QString &text) { showNotice(text); }, this);
    m_buddyActions->setServer(m_server);
    buildMenus();
    layOut();
    connectSession();
    showSignOnPanel(true);

    connect(m_flow, &SignOnFlow::gaveUp, this, &frmAimlogin::onSignOnGivenUp);
}

void frmAimlogin::setSignOnTimeout(int milliseconds)
{
    m_flow->setTimeout(milliseconds);
}

frmAimlogin::~frmAimlogin() = default;

QString frmAimlogin::defaultProfile()
{
    return QStringLiteral("<body bgcolor=\"#EEEEEE\"><font face=\"Trebuchet MS\">I'm using <a href=\"")
        + ProductInfo::WebAddress + QStringLiteral("\">Qiv</a></font></body>");
}

QString frmAimlogin::defaultFontPrefix()
{
    // The quotation marks are doubled on purpose: every message has always
    // been sent with this exact text in front of it.
    return QStringLiteral("<body bgcolor=\"\"#EEEEEE\"\"><font face=\"\"Trebuchet MS\"\">");
}

void frmAimlogin::buildSignOnPanel()
{
    Frame2->setObjectName(QStringLiteral("Frame2"));
    paintBackground(Frame2, Qt::white);

    Image1 = new QLabel(Frame2);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(Artwork::pixmap(Artwork::Picture::Logo, QSize(92, 103)));
    Image1->setAlignment(Qt::AlignCenter);
    Image1->installEventFilter(this);
    Image1->setAccessibleName(QStringLiteral("Qiv logo"));

    Label1 = new QLabel(QStringLiteral("AOL Instant Messenger"), Frame2);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);
    QFont title(QStringLiteral("Arial"));
    title.setBold(true);
    Label1->setFont(title);

    txtSn = new QLineEdit(QStringLiteral("Screenname"), Frame2);
    txtSn->setObjectName(QStringLiteral("txtSn"));
    Label2 = new QLabel(QStringLiteral("&Screenname:"), Frame2);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setBuddy(txtSn);

    txtPw = new QLineEdit(QStringLiteral("Password"), Frame2);
    txtPw->setObjectName(QStringLiteral("txtPw"));
    txtPw->setEchoMode(QLineEdit::Password);
    // Masked with "*" whatever the style's own mask character is.
    txtPw->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
    Label3 = new QLabel(QStringLiteral("&Password:"), Frame2);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setBuddy(txtPw);
    for (QLineEdit *box : {txtSn, txtPw})
        box->installEventFilter(this);

    cmdLogin = new QPushButton(QStringLiteral("&Sign On"), Frame2);
    cmdLogin->setObjectName(QStringLiteral("cmdLogin"));
    cmdLogin->setDefault(true);
    connect(cmdLogin, &QPushButton::clicked, this, &frmAimlogin::signOn);
    // Enter in either box signs on, as the default button would in a dialog.
    connect(txtSn, &QLineEdit::returnPressed, cmdLogin, &QPushButton::click);
    connect(txtPw, &QLineEdit::returnPressed, cmdLogin, &QPushButton::click);

    chkRemember = new QCheckBox(QStringLiteral("Re&member me"), Frame2);
    chkRemember->setObjectName(QStringLiteral("chkRemember"));
    chkRemember->setAccessibleDescription(
        QStringLiteral("Keeps your screen name, server and preferences for the next start"));
    chkRememberPassword = new QCheckBox(QStringLiteral("Remember pass&word"), Frame2);
    chkRememberPassword->setObjectName(QStringLiteral("chkRememberPassword"));
    chkRememberPassword->setAccessibleDescription(
        QStringLiteral("Keeps your password too, unencrypted, in your settings file"));
    chkRememberPassword->setEnabled(false);

    lbStat = new QLabel(Frame2);
    lbStat->setObjectName(QStringLiteral("lbStat"));
    lbStat->setTextFormat(Qt::PlainText);
    lbStat->setWordWrap(true);
    lbStat->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    // Its name is what it says, so a screen reader hears every change.
    lbStat->setAccessibleDescription(QStringLiteral("Sign-on status"));

    auto *layout = new QVBoxLayout(Frame2);
    layout->setContentsMargins(10, 10, 10, 6);
    layout->setSpacing(3);
    layout->addWidget(Image1);
    layout->addWidget(Label1);
    layout->addSpacing(10);
    layout->addWidget(Label2);
    layout->addWidget(txtSn);
    layout->addSpacing(4);
    layout->addWidget(Label3);
    layout->addWidget(txtPw);
    layout->addSpacing(10);
    layout->addWidget(cmdLogin);
    layout->addSpacing(4);
    layout->addWidget(chkRemember);
    layout->addWidget(chkRememberPassword);
    layout->addSpacing(6);
    layout->addWidget(lbStat, 1);
}

void frmAimlogin::restoreRemembered()
{
    if (m_remembered.isOn()) {
        chkRemember->setChecked(true);
        chkRememberPassword->setEnabled(true);
        chkRememberPassword->setChecked(m_remembered.keepsPassword());
        const QString name = m_remembered.value(Remembered::Key::ScreenName).toString();
        if (!name.isEmpty())
            txtSn->setText(name);
        if (m_remembered.keepsPassword())
            txtPw->setText(m_remembered.password());
        const QVariant prefix = m_remembered.value(Remembered::Key::StylePrefix);
        if (prefix.isValid())
            txtFont->setText(prefix.toString());
    }

    connect(chkRemember, &QCheckBox::toggled, this, [this](bool on) {
        if (!on)
            chkRememberPassword->setChecked(false);
        chkRememberPassword->setEnabled(on);
        m_remembered.setOn(on);
    });
    connect(chkRememberPassword, &QCheckBox::toggled, this, [this](bool on) {
        m_remembered.setPassword(txtPw->text());
        m_remembered.setKeepsPassword(on);
    });
}

void frmAimlogin::buildBuddyListPanel()
{
    Frame1->setObjectName(QStringLiteral("Frame1"));
    paintBackground(Frame1, Qt::white);

    lbAway = new QLabel(QStringLiteral("     Away Message is On."), Frame1);
    lbAway->setObjectName(QStringLiteral("lbAway"));
    paintBackground(lbAway, QColor(0xC0, 0xFF, 0xC0));
    lbAway->setMinimumHeight(20);
    lbAway->hide();

    lstBuddyson->setObjectName(QStringLiteral("lstBuddyson"));
    lstBuddyson->setModel(&m_buddies);
    QPalette grey = lstBuddyson->palette();
    grey.setColor(QPalette::Base, QColor(0xC0, 0xC0, 0xC0));
    lstBuddyson->setPalette(grey);
    lstBuddyson->setAccessibleName(QStringLiteral("Buddies online"));
    lstBuddyson->setAccessibleDescription(QStringLiteral("The buddies who are signed on now"));

    imgIM = launcher(QStringLiteral("imgIM"), Artwork::icon(Artwork::Picture::InstantMessage),
                     QStringLiteral("Send an instant message"),
                     QStringLiteral("Asks for a screen name and opens a conversation with it"), Frame1);
    imgChat = launcher(QStringLiteral("imgChat"), Artwork::icon(Artwork::Picture::ChatRoom),
                       QStringLiteral("Join a chat room"),
                       QStringLiteral("Asks for a room name and exchange and joins the room"), Frame1);
    imgAway = launcher(QStringLiteral("imgAway"), Artwork::icon(Artwork::Picture::Away),
                       QStringLiteral("Away messages"),
                       QStringLiteral("Opens a menu of away messages to post"), Frame1);
    imgSetup = launcher(QStringLiteral("imgSetup"), Artwork::icon(Artwork::Picture::Setup), QStringLiteral("Setup"),
                        QStringLiteral("Opens the setup menu with the preferences"), Frame1);
    connect(imgAway, &QToolButton::clicked, this, [this] { popUp(mnuAwy, imgAway); });
    connect(imgSetup, &QToolButton::clicked, this, [this] { popUp(mnuSetup, imgSetup); });

    lbNotice = new QLabel(Frame1);
    lbNotice->setObjectName(QStringLiteral("lbNotice"));
    lbNotice->setTextFormat(Qt::PlainText);
    lbNotice->setWordWrap(true);
    // Named by what it says, so a screen reader hears each piece of news.
    lbNotice->setAccessibleDescription(QStringLiteral("Latest news"));
    lbNotice->hide();

    cmdLogoff = new QPushButton(QStringLiteral("Logoff"), Frame1);
    cmdLogoff->setObjectName(QStringLiteral("cmdLogoff"));
    connect(cmdLogoff, &QPushButton::clicked, this, &frmAimlogin::signOff);

    auto *pictures = new QHBoxLayout;
    pictures->setSpacing(2);
    for (QToolButton *button : {imgIM, imgChat, imgAway, imgSetup})
        pictures->addWidget(button);

    auto *layout = new QVBoxLayout(Frame1);
    layout->setContentsMargins(0, 0, 0, 6);
    layout->setSpacing(4);
    layout->addWidget(lbAway);
    auto *inner = new QVBoxLayout;
    inner->setContentsMargins(6, 0, 6, 0);
    inner->setSpacing(4);
    inner->addWidget(lstBuddyson, 1);
    inner->addWidget(lbNotice);
    inner->addLayout(pictures);
    inner->addWidget(cmdLogoff);
    layout->addLayout(inner, 1);
}

void frmAimlogin::buildMenus()
{
    // The IM picture offers the selected buddy's name.
    connect(imgIM, &QToolButton::clicked, this,
            [this] { m_conversations->startConversation(WireText::fromWire(m_buddyActions->selectedBuddy())); });
    connect(imgChat, &QToolButton::clicked, m_chatSlots, &ChatSlots::joinRoom);
    mnuAwy = new QMenu(QStringLiteral("Aways"), this);
    mnuAwy->setObjectName(QStringLiteral("mnuAwy"));
    awyDef = mnuAwy->addAction(QStringLiteral("&Default Away"), m_away, &AwayMessages::setDefaultAway);
    awyAd = mnuAwy->addAction(QStringLiteral("&Advertise"), m_away, &AwayMessages::setAdvertise);
    awyCustom = mnuAwy->addAction(QStringLiteral("&Custom"), m_away, &AwayMessages::setCustom);
    awyDef->setObjectName(QStringLiteral("awyDef"));
    awyAd->setObjectName(QStringLiteral("awyAd"));
    awyCustom->setObjectName(QStringLiteral("awyCustom"));

    mnuSetup = new QMenu(QStringLiteral("Setup"), this);
    mnuSetup->setObjectName(QStringLiteral("mnuSetup"));
    stPrefs = mnuSetup->addAction(QStringLiteral("&Preferences"), m_preferences, &PreferencesLauncher::show);
    stPrefs->setObjectName(QStringLiteral("stPrefs"));
    stAddBuddy = mnuSetup->addAction(QStringLiteral("&Add Buddy..."), m_buddyActions, &BuddyActions::addBuddy);
    stAddBuddy->setObjectName(QStringLiteral("stAddBuddy"));
    mnuSetup->addAction(QStringLiteral("&History..."), this, [this] { m_history.showWindow(m_dialogs); })
        ->setObjectName(QStringLiteral("stHistory"));
}

void frmAimlogin::layOut()
{
    cmdCredits = new QPushButton(QStringLiteral("Credits"), this);
    cmdCredits->setObjectName(QStringLiteral("cmdCredits"));
    cmdHelp = new QPushButton(QStringLiteral("Help"), this);
    cmdHelp->setObjectName(QStringLiteral("cmdHelp"));
    connect(cmdCredits, &QPushButton::clicked, this, &frmAimlogin::showCredits);
    connect(cmdHelp, &QPushButton::clicked, this, &frmAimlogin::showAbout);

    // Both panels share one cell; the sign-on panel lies on top.
    auto *panels = new QGridLayout;
    panels->setContentsMargins(0, 0, 0, 0);
    panels->addWidget(Frame1, 0, 0);
    panels->addWidget(Frame2, 0, 0);
    Frame2->raise();

    auto *buttons = new QHBoxLayout;
    buttons->setContentsMargins(6, 0, 6, 0);
    buttons->setSpacing(6);
    buttons->addWidget(cmdCredits);
    buttons->addWidget(cmdHelp);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 6);
    layout->setSpacing(4);
    layout->addLayout(panels, 1);
    layout->addLayout(buttons);

    // Opens as the classic 144 x 348 window, a quarter larger so today's
    // fonts fit; the buddy list takes whatever room the user gives it.
    resize(180, 435);
    // Top to bottom on each panel, then the two buttons under both; the hidden
    // panel's controls drop out of the chain by themselves.
    setTabOrder(txtSn, txtPw);
    setTabOrder(txtPw, cmdLogin);
    setTabOrder(cmdLogin, chkRemember);
    setTabOrder(chkRemember, chkRememberPassword);
    setTabOrder(chkRememberPassword, lstBuddyson);
    setTabOrder(lstBuddyson, imgIM);
    setTabOrder(imgIM, imgChat);
    setTabOrder(imgChat, imgAway);
    setTabOrder(imgAway, imgSetup);
    setTabOrder(imgSetup, cmdLogoff);
    setTabOrder(cmdLogoff, cmdCredits);
    setTabOrder(cmdCredits, cmdHelp);
}

void frmAimlogin::connectSession()
{
    connect(btoc, &QuorTOCSock::LoggedIn, this, &frmAimlogin::onLoggedIn, Qt::DirectConnection);
    connect(btoc, &QuorTOCSock::LoggedOut, this, &frmAimlogin::onLoggedOut, Qt::DirectConnection);
    connect(btoc, &QuorTOCSock::Error, this, &frmAimlogin::onError, Qt::DirectConnection);
    connect(btoc, &QuorTOCSock::WinsockError, this, &frmAimlogin::onWinsockError, Qt::DirectConnection);
    connect(btoc, &QuorTOCSock::BuddyUpdate, this, &frmAimlogin::onBuddyUpdate, Qt::DirectConnection);
    connect(btoc, &QuorTOCSock::InstantMessage, m_conversations, &ConversationRouter::onInstantMessage,
            Qt::DirectConnection);
    connect(btoc, &QuorTOCSock::TypingStatus, m_conversations, &ConversationRouter::onTypingStatus,
            Qt::DirectConnection);
    connect(btoc, &QuorTOCSock::LoggedIn, m_buddyActions, &BuddyActions::onLoggedIn, Qt::DirectConnection);
    connect(btoc, &QuorTOCSock::UserProfile, m_buddyActions, &BuddyActions::onUserProfile, Qt::DirectConnection);
    connect(btoc, &QuorTOCSock::Warned, this, &frmAimlogin::onWarned, Qt::DirectConnection);
    connect(btoc, &QuorTOCSock::PasswordChanged, this, &frmAimlogin::onPasswordChanged, Qt::DirectConnection);
}

void frmAimlogin::showSignOnPanel(bool shown)
{
    // The covered panel is hidden too, so the keyboard cannot wander into it.
    Frame2->setVisible(shown);
    Frame1->setVisible(!shown);
    if (shown)
        Frame2->raise();
}

void frmAimlogin::reportSignOff(const QString &text)
{
    m_dialogs.notice(this, text, QStringLiteral("Error"));
    lbStat->setText(text);
}

void frmAimlogin::signOn()
{
    lbStat->setText(QStringLiteral("Connecting..."));
    m_remembered.setValue(Remembered::Key::ScreenName, txtSn->text());
    m_remembered.setPassword(txtPw->text());
    btoc->Login(WireText::toWire(txtSn->text()), WireText::toWire(txtPw->text()),
                WireText::toWire(m_server.host), m_server.port);
    m_buddies.clear();
    // Begun after Login, which a second click may use to start over.
    m_flow->begin();
}

void frmAimlogin::onSignOnGivenUp()
{
    showSignOnPanel(true);
    endSessionState();
    reportSignOff(tr("The server did not complete the sign-on in time; the connection was closed."));
}

void frmAimlogin::signOff()
{
    m_flow->ended();
    // LogOff reports LoggedOut from inside itself, so its box comes first.
    btoc->LogOff();
    showSignOnPanel(true);
    endSessionState();
    emit signedOff();
}

void frmAimlogin::onLoggedIn(const QByteArray &strUserName)
{
    m_flow->signedOn();
    btoc->SetProfile(WireText::toWire(defaultProfile()));
    // A privacy choice the user asked to keep is theirs at every sign-on.
    const QVariant privacy = m_remembered.value(Remembered::Key::Privacy);
    if (privacy.isValid())
        btoc->SetPrivacy(qint16(privacy.toInt()));
    showSignOnPanel(false);
    const QString name = WireText::fromWire(strUserName);
    showBuddyListCaption(name);
    strMyName = name;
    m_preferences->setFormattedName(name);
    m_conversations->userSignedOn();
    showNotice(QString());
    // The sign-on panel had the focus; it goes where the user looks next.
    lstBuddyson->setFocus();
    emit signedOn(name);
}

void frmAimlogin::showBuddyListCaption(const QString &name)
{
    const QString before = QStringLiteral("Qiv - ");
    const QString after = QStringLiteral("'s Buddy List");
    const QFontMetrics metrics(font());
    const int roomForName =
        WidestForCaption - TitleBarDecoration - metrics.horizontalAdvance(before + after);
    const QString caption = before + metrics.elidedText(name, Qt::ElideMiddle, roomForName) + after;
    setWindowTitle(caption);
    const int wanted = qMin(WidestForCaption, metrics.horizontalAdvance(caption) + TitleBarDecoration);
    if (width() < wanted)
        resize(wanted, height());
}

void frmAimlogin::onLoggedOut(const QByteArray &strUserName)
{
    if (m_flow->isGivingUp())
        return;
    m_flow->ended();
    showSignOnPanel(true);
    reportSignOff(signedOffText(WireText::fromWire(strUserName)));
}

void frmAimlogin::onError(qint16 intErrorCode, const QByteArray &strError)
{
    // A refused sign-on is the server's answer, not a silence; other errors
    // leave a sign-on under way still waiting for its end.
    // A password change refused by the server is answered where it was asked.
    if (frmAimPrefs *prefs = m_preferences->window(); prefs && prefs->awaitsPasswordAnswer())
        prefs->passwordAnswered(WireText::fromWire(strError));
    if (m_flow->errorArrived(intErrorCode)) {
        showSignOnPanel(true);
        endSessionState();
        reportSignOff(signedOffText(strMyName));
        return;
    }
    // Other errors leave the panels alone: a failed sign-on stays on the
    // sign-on panel, an error while signed on keeps the buddy list.
    reportSignOff(WireText::fromWire(strError));
}

void frmAimlogin::onWinsockError(const QByteArray &strError)
{
    if (!m_flow->connectionLostIsNews())
        return;
    // A refused or dropped connection ends the session just as surely as a
    // sign-off by the server; say so instead of leaving a dead buddy list up.
    showSignOnPanel(true);
    endSessionState();
    reportSignOff(WireText::fromWire(strError));
}

void frmAimlogin::endSessionState()
{
    // Closing with an empty chatid neither asks nor leaves the room; the away
    // state ends without telling a server that is no longer there.
    m_chatSlots->closeAllForSignOff();
    m_away->signOff();
}

void frmAimlogin::onBuddyUpdate(const QByteArray &strBuddy, bool blnOnline)
{
    m_buddies.update(strBuddy, blnOnline);
}

void frmAimlogin::onWarned(const QByteArray &intWarningLevel, const QByteArray &strFromUser)
{
    const QString who = strFromUser.isEmpty() ? tr("anonymous") : WireText::fromWire(strFromUser);
    showNotice(tr("Warned by %1: your warning level is now %2%.").arg(who, WireText::fromWire(intWarningLevel)));
}

void frmAimlogin::onPasswordChanged()
{
    const QString changed = tr("Your password has been changed.");
    if (frmAimPrefs *prefs = m_preferences->window(); prefs && prefs->awaitsPasswordAnswer())
        prefs->passwordAnswered(changed);
    else
        showNotice(changed);
}

void frmAimlogin::showNotice(const QString &text)
{
    lbNotice->setText(text);
    lbNotice->setVisible(!text.isEmpty());
}

void frmAimlogin::showAbout()
{
    if (!m_about)
        m_about = new frmAbout(m_dialogs, m_windows, *m_registry, *m_launcher, this);
    m_about->show();
    m_about->raise();
    m_about->activateWindow();
}

void frmAimlogin::showCredits()
{
    if (!m_credits)
        m_credits = new frmCredits(m_windows, this);
    m_credits->show();
    m_credits->raise();
}

int frmAimlogin::FormByTag(const QString &strMatch) const
{
    return m_conversations->FormByTag(strMatch);
}

void frmAimlogin::popUp(QMenu *menu, QToolButton *button)
{
    // At the mouse when clicked, below the picture when pressed from the keyboard.
    const QPoint at = button->underMouse() ? QCursor::pos() : button->mapToGlobal(QPoint(0, button->height()));
    menu->popup(at);
}

void frmAimlogin::closeEvent(QCloseEvent *event)
{
    event->ignore();
    ExitQuestion::ask(m_dialogs, this, m_endProgram);
}

bool frmAimlogin::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        // Only a click clears a placeholder, and only the exact placeholder.
        if (watched == txtSn && txtSn->text() == QLatin1String("Screenname"))
            txtSn->clear();
        else if (watched == txtPw && txtPw->text() == QLatin1String("Password"))
            txtPw->clear();
    } else if (event->type() == QEvent::MouseButtonDblClick && watched == Image1) {
        m_dialogs.notice(this, QStringLiteral("ohi mr leet!"), QStringLiteral("Qiv"));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

#include "frmaimlogin.h"

#include "awaymessages.h"
#include "buddyactions.h"
#include "buddyannouncer.h"
#include "buddyroster.h"
#include "desktopidle.h"
#include "idlereporter.h"
#include "chatslots.h"
#include "conversationrouter.h"
#include "dialogs.h"
#include "prefs/frmaimprefs.h"
#include "prefs/preferenceslauncher.h"
#include "info/frmabout.h"
#include "info/frmcredits.h"
#include "artwork.h"
#include "iconbutton.h"
#include "laterdelivery.h"
#include "productinfo.h"
#include "session/quortocsock.h"
#include "session/screenname.h"
#include "session/signonflow.h"
#include "info/systeminfo.h"
#include "passwordkeeping.h"
#include "signonagain.h"
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

QString signedOffText(const QString &name) { return name + QStringLiteral(" was signed off!"); }

// What a window manager's title bar takes besides the caption: the icon, the
// buttons and the margins.
constexpr int TitleBarDecoration = 120;
// The buddy list widens for its caption up to this width; a longer name is
// shortened in the middle instead.
constexpr int WidestForCaption = 420;

QToolButton *launcher(const QString &name, const QIcon &icon, const QString &tip, const QString &description,
                      QWidget *parent)
{
    return iconButton(parent, name, icon, 26, tip, description, Qt::StrongFocus);
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
    // Before every handler of the session's events, so it hears each one first.
    , m_flow(new SignOnFlow(*btoc, this))
    , m_dialogs(dialogs)
    , m_windows(windows)
    , m_remembered(places.settingsFile)
    , m_historyStore(m_remembered, places.historyFolder)
    , m_history(m_historyStore)
    , m_server(serverToUse(server, m_remembered))
    , m_blocked(*btoc)
    , m_permitted(*btoc)
    , m_options(m_remembered)
    , m_context{*btoc,       dialogs,     windows,      *txtFont,  m_blocked,
                m_permitted, m_attention, m_remembered, m_history, m_options}
    , m_registry(RegistryReader::forPlatform())
    , m_launcher(ProgramLauncher::forSystem())
{
    setObjectName(QStringLiteral("frmAimlogin"));
    setWindowTitle(ProductInfo::ProgramTitle);
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
    m_signOnAgain = new SignOnAgain(*m_flow, m_remembered, *m_chatSlots, *m_away, *chkSignOnAgain, *cmdCancelRetry,
                                    *lbStat, this);
    m_preferences = new PreferencesLauncher(m_context, this, [this](const QString &text) { showNotice(text); });
    m_roster = new BuddyRoster(m_context, *lstBuddyson, this);
    m_buddyActions = new BuddyActions(
        m_context, *m_conversations, *m_roster, *lstBuddyson, [this](const QString &text) { showNotice(text); }, this);
    m_buddyActions->setServer(m_server);
    m_context.people = m_buddyActions;
    m_context.presence = m_roster;
    m_context.later = new LaterDelivery(*btoc, *m_roster, this);
    m_announcer = new BuddyAnnouncer(m_context, this);
    m_idle = new IdleReporter(m_context, this);
    m_idle->setDesktopIdle(new DBusDesktopIdle(this));
    buildMenus();
    layOut();
    connectSession();
    showSignOnPanel(true);
}

void frmAimlogin::setSignOnTimeout(int milliseconds) { m_flow->setTimeout(milliseconds); }

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
    chkRememberPassword->setAccessibleDescription(QStringLiteral("Keeps your password too, in the desktop keyring"));
    chkRememberPassword->setEnabled(false);
    chkSignOnAgain = new QCheckBox(tr("Stay si&gned on"), Frame2);
    chkSignOnAgain->setObjectName(QStringLiteral("chkSignOnAgain"));
    chkSignOnAgain->setToolTip(tr("Sign on again when the connection drops"));
    chkSignOnAgain->setAccessibleDescription(
        tr("Signs on again when the connection drops, waiting longer after each failed try"));
    cmdCancelRetry = new QPushButton(tr("Ca&ncel"), Frame2);
    cmdCancelRetry->setObjectName(QStringLiteral("cmdCancelRetry"));
    cmdCancelRetry->setAccessibleDescription(tr("Stops signing on again by itself"));

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
    layout->addWidget(chkSignOnAgain);
    layout->addSpacing(6);
    layout->addWidget(lbStat, 1);
    layout->addWidget(cmdCancelRetry);
}

void frmAimlogin::restoreRemembered()
{
    if (m_remembered.isOn()) {
        chkRemember->setChecked(true);
        chkRememberPassword->setEnabled(true);
        const QString name = m_remembered.value(Remembered::Key::ScreenName).toString();
        if (!name.isEmpty())
            txtSn->setText(name);
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
    m_passwordKeeping = new PasswordKeeping(m_dialogs, m_remembered, *chkRememberPassword, *txtPw, *lbStat, this);
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

    // The buddy roster gives the list its model.
    lstBuddyson->setObjectName(QStringLiteral("lstBuddyson"));
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
    imgAway
        = launcher(QStringLiteral("imgAway"), Artwork::icon(Artwork::Picture::Away), QStringLiteral("Away messages"),
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
    setTabOrder(chkRememberPassword, chkSignOnAgain);
    setTabOrder(chkSignOnAgain, cmdCancelRetry);
    setTabOrder(cmdCancelRetry, lstBuddyson);
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
    connect(m_flow, &SignOnFlow::ended, this, &frmAimlogin::onSessionEnded, Qt::DirectConnection);
    connect(btoc, &QuorTOCSock::LoggedIn, this, &frmAimlogin::onLoggedIn, Qt::DirectConnection);
    connect(btoc, &QuorTOCSock::Error, this, &frmAimlogin::onError, Qt::DirectConnection);
    connect(btoc, &QuorTOCSock::ScreennameFormat, this, &frmAimlogin::onScreennameFormat, Qt::DirectConnection);
    connect(btoc, &QuorTOCSock::Warned, this, &frmAimlogin::onWarned, Qt::DirectConnection);
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
    m_passwordKeeping->signingOn(txtPw->text());
    m_flow->signOn(WireText::toWire(txtSn->text()), WireText::toWire(txtPw->text()), WireText::toWire(m_server.host),
                   m_server.port);
    m_formattedName.clear();
    m_roster->clear();
}

void frmAimlogin::signOff()
{
    // The sign-off is reported from inside, through onSessionEnded.
    m_flow->signOff();
    emit signedOff();
}

void frmAimlogin::onLoggedIn(const QByteArray &strUserName)
{
    btoc->SetProfile(WireText::toWire(defaultProfile()));
    // A privacy choice the user asked to keep is theirs at every sign-on.
    const QVariant privacy = m_remembered.value(Remembered::Key::Privacy);
    if (privacy.isValid())
        m_blocked.setPrivacyMode(qint16(privacy.toInt()));
    showSignOnPanel(false);
    const QString name = m_formattedName.isEmpty() ? WireText::fromWire(strUserName) : m_formattedName;
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
    const QString before = ProductInfo::caption(QString());
    const QString after = QStringLiteral("'s Buddy List");
    const QFontMetrics metrics(font());
    const int roomForName = WidestForCaption - TitleBarDecoration - metrics.horizontalAdvance(before + after);
    const QString caption = before + metrics.elidedText(name, Qt::ElideMiddle, roomForName) + after;
    setWindowTitle(caption);
    const int wanted = qMin(WidestForCaption, metrics.horizontalAdvance(caption) + TitleBarDecoration);
    if (width() < wanted)
        resize(wanted, height());
}

void frmAimlogin::onSessionEnded(SignOnFlow::Reason reason, const QByteArray &detail)
{
    showSignOnPanel(true);
    switch (reason) {
    case SignOnFlow::Reason::SignedOff: {
        // The sign-off's box comes before the windows of the session close;
        // it names the user as the server spells the name.
        const bool spelled = ScreenName::NormalizeName(WireText::toWire(strMyName)) == detail;
        reportSignOff(signedOffText(spelled ? strMyName : WireText::fromWire(detail)));
        endSessionState();
        return;
    }
    case SignOnFlow::Reason::GaveUp:
        endSessionState();
        if (m_flow->state() != SignOnFlow::State::Waiting)
            reportSignOff(tr("The server did not complete the sign-on in time; the connection was closed."));
        return;
    case SignOnFlow::Reason::SignedOnElsewhere:
        endSessionState();
        reportSignOff(signedOffText(strMyName));
        return;
    case SignOnFlow::Reason::Refused:
    case SignOnFlow::Reason::ConnectionLost:
        // A refused or dropped connection ends the session just as surely as
        // a sign-off by the server; say why instead of leaving a dead list up.
        endSessionState();
        // Signing on again by itself, Qiv says so in the status line; a box
        // would wait for somebody who may be away.
        if (m_flow->state() != SignOnFlow::State::Waiting)
            reportSignOff(WireText::fromWire(detail));
        return;
    }
}

void frmAimlogin::onError(qint16 intErrorCode, const QByteArray &strError)
{
    // An answer that ended the session has been told as its end.
    if (m_flow->state() == SignOnFlow::State::Ending)
        return;
    // A message dropped for the speed limit is marked in its window; a box
    // would take the next Enter the user types.
    if (intErrorCode == TocProtocol::RateLimitHit) {
        showNotice(WireText::fromWire(strError));
        return;
    }
    // Somebody a conversation tried to reach is offline: that conversation says so.
    if (intErrorCode == TocProtocol::NotAvailable && m_conversations->conversationWith(btoc->errorArgument()))
        return;
    // Other errors leave the panels alone: a failed sign-on stays on the
    // sign-on panel, an error while signed on keeps the buddy list.
    reportSignOff(WireText::fromWire(strError));
}

void frmAimlogin::endSessionState()
{
    // Closing with an empty chatid neither asks nor leaves the room; the away
    // state ends without telling a server that is no longer there.
    m_chatSlots->closeAllForSignOff();
    m_away->signOff();
}

void frmAimlogin::onScreennameFormat(const QByteArray &strFormattedSN)
{
    // Only a spelling of the name signed on with is taken; NICK comes before
    // the sign-on completes, and again after a change of format.
    if (ScreenName::NormalizeName(strFormattedSN) != ScreenName::NormalizeName(WireText::toWire(txtSn->text())))
        return;
    m_formattedName = WireText::fromWire(strFormattedSN);
    if (m_flow->state() != SignOnFlow::State::SignedOn)
        return;
    strMyName = m_formattedName;
    showBuddyListCaption(strMyName);
    m_preferences->setFormattedName(strMyName);
    m_conversations->userSignedOn();
}

void frmAimlogin::onWarned(const QByteArray &intWarningLevel, const QByteArray &strFromUser)
{
    const QString who = strFromUser.isEmpty() ? tr("anonymous") : WireText::fromWire(strFromUser);
    showNotice(tr("Warned by %1: your warning level is now %2%.").arg(who, WireText::fromWire(intWarningLevel)));
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

int frmAimlogin::FormByTag(const QString &strMatch) const { return m_conversations->FormByTag(strMatch); }

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
    const auto placeholderOf = [this](QObject *box) {
        return box == txtSn ? QLatin1String("Screenname") : box == txtPw ? QLatin1String("Password") : QLatin1String();
    };
    if (event->type() == QEvent::MouseButtonPress) {
        // Only a click clears a placeholder, and only the exact placeholder.
        auto *box = qobject_cast<QLineEdit *>(watched);
        if (box && !placeholderOf(box).isEmpty() && box->text() == placeholderOf(box))
            box->clear();
    } else if (event->type() == QEvent::FocusIn
               && static_cast<QFocusEvent *>(event)->reason() != Qt::MouseFocusReason) {
        // Reached from the keyboard, the placeholder is selected, so that
        // what is typed replaces it rather than following it.
        auto *box = qobject_cast<QLineEdit *>(watched);
        if (box && !placeholderOf(box).isEmpty() && box->text() == placeholderOf(box))
            box->selectAll();
    } else if (event->type() == QEvent::MouseButtonDblClick && watched == Image1) {
        m_dialogs.notice(this, QStringLiteral("ohi mr leet!"), ProductInfo::ProgramTitle);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

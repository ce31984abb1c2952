#pragma once

// The main window: owns the session control and the message style prefix,
// signs on and off, keeps the buddy list, and opens the other windows.
//
// Wiring rule: every piece that handles the session's events connects itself
// to them when it is created (ChatSlots, ConversationRouter, BuddyRoster,
// BuddyActions, BuddyAnnouncer, IdleReporter, PreferencesLauncher,
// SignOnFlow); connectSession() holds only the main window's own handlers.
// SignOnFlow is created first, so its state is current when any other
// handler runs.

#include "appcontext.h"
#include "attention.h"
#include "blocklist.h"
#include "options.h"
#include "permitlist.h"
#include "conversation/history.h"
#include "exitquestion.h"
#include "store/historystore.h"
#include "store/remembered.h"
#include "session/serveraddress.h"
#include "session/signonflow.h"

#include <QPointer>
#include <QWidget>
#include <memory>
#include <optional>

class Dialogs;
class ProgramLauncher;
class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class UniformListView;
class QMenu;
class QPushButton;
class QTimer;
class QToolButton;
class QuorTOCSock;
class RegistryReader;
class TocSocket;
class WindowRegistry;
class AwayMessages;
class BuddyActions;
class BuddyAnnouncer;
class BuddyRoster;
class IdleReporter;
class ChatSlots;
class ConversationRouter;
class PasswordKeeping;
class SignOnAgain;
class PreferencesLauncher;
class frmAbout;
class frmCredits;

class frmAimlogin : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmAimlogin)
public:
    // server: where to sign on; without one, the server remembered from an
    // earlier run or the default. socket: the connection the session uses;
    // nullptr for a real TCP one. places: where the user may ask Qiv to keep
    // settings and history; by default nowhere.
    frmAimlogin(Dialogs &dialogs, WindowRegistry &windows, std::optional<ServerAddress> server,
                TocSocket *socket = nullptr, const KeptPlaces &places = KeptPlaces(), QWidget *parent = nullptr);
    ~frmAimlogin() override;

    AppContext &context() { return m_context; }
    // How long a sign-on may wait for the server's next bytes before it is given up.
    static constexpr int DefaultSignOnTimeoutMs = SignOnFlow::DefaultTimeoutMs;
    void setSignOnTimeout(int milliseconds);
    SignOnFlow &signOnFlow() { return *m_flow; }
    void setEndProgram(ExitQuestion::EndProgram endProgram) { m_endProgram = std::move(endProgram); }

    // The pieces the main window hands its events and launchers to.
    AwayMessages &away() { return *m_away; }
    ConversationRouter &conversations() { return *m_conversations; }
    ChatSlots &chatSlots() { return *m_chatSlots; }
    BuddyActions &buddyActions() { return *m_buddyActions; }
    BuddyRoster &buddyRoster() { return *m_roster; }
    BuddyAnnouncer &buddyAnnouncer() { return *m_announcer; }
    IdleReporter &idleReporter() { return *m_idle; }
    PreferencesLauncher &preferences() { return *m_preferences; }

    // Position, oldest first, of the first open window tagged strMatch, or -1.
    int FormByTag(const QString &strMatch) const;

    // The default profile set at every sign-on.
    static QString defaultProfile();
    // The message style prefix in force until the preferences replace it.
    static QString defaultFontPrefix();

    QuorTOCSock *btoc = nullptr;
    QLineEdit *txtFont = nullptr;
    QString strMyName;

    // Sign-on panel.
    QWidget *Frame2 = nullptr;
    QLabel *Image1 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLineEdit *txtSn = nullptr;
    QLabel *Label3 = nullptr;
    QLineEdit *txtPw = nullptr;
    QPushButton *cmdLogin = nullptr;
    QCheckBox *chkRemember = nullptr;
    QCheckBox *chkRememberPassword = nullptr;
    QCheckBox *chkSignOnAgain = nullptr;
    QPushButton *cmdCancelRetry = nullptr; // while signing on again by itself
    QLabel *lbStat = nullptr;

    // Buddy-list panel.
    QWidget *Frame1 = nullptr;
    QLabel *lbAway = nullptr;
    UniformListView *lstBuddyson = nullptr;
    QLabel *lbNotice = nullptr; // one line of news while signed on
    QToolButton *imgIM = nullptr;
    QToolButton *imgChat = nullptr;
    QToolButton *imgAway = nullptr;
    QToolButton *imgSetup = nullptr;
    QPushButton *cmdLogoff = nullptr;

    QPushButton *cmdCredits = nullptr;
    QPushButton *cmdHelp = nullptr;

    QMenu *mnuAwy = nullptr;
    QAction *awyDef = nullptr;
    QAction *awyAd = nullptr;
    QAction *awyCustom = nullptr;
    QMenu *mnuSetup = nullptr;
    QAction *stPrefs = nullptr;
    QAction *stAddBuddy = nullptr;

signals:
    // The last step of a sign-on, after the panels and caption have switched.
    void signedOn(const QString &strUserName);
    // The last step of "Logoff", after the sign-on panel is back.
    void signedOff();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    void signOn();
    void signOff();
    void onLoggedIn(const QByteArray &strUserName);
    void onSessionEnded(SignOnFlow::Reason reason, const QByteArray &detail);
    void onError(qint16 intErrorCode, const QByteArray &strError);
    // NICK: the user's name as the server spells it, shown from then on.
    void onScreennameFormat(const QByteArray &strFormattedSN);
    void onWarned(const QByteArray &intWarningLevel, const QByteArray &strFromUser);
    void showAbout();
    void showCredits();

private:
    void buildSignOnPanel();
    // Fills the sign-on panel and the style prefix from what the user asked
    // to keep last time, and keeps later changes while they ask for it.
    void restoreRemembered();
    // The caption for a signed-on name, shortened in the middle when the
    // name is too long for it; the window widens so that the caption fits.
    void showBuddyListCaption(const QString &name);
    void buildBuddyListPanel();
    void buildMenus();
    void layOut();
    void connectSession();
    // The sign-on panel covers the buddy list while it is shown.
    void showSignOnPanel(bool shown);
    // A notice titled "Error" whose text also becomes the status line.
    void reportSignOff(const QString &text);
    // A session that ended, by the user or not, leaves no room open and no
    // away state behind (lbAway hidden, away window hidden, nobody answered).
    void endSessionState();
    void popUp(QMenu *menu, QToolButton *button);
    // Shows text in the buddy-list panel's notice line; empty hides the line.
    void showNotice(const QString &text);

    SignOnFlow *m_flow;
    Dialogs &m_dialogs;
    WindowRegistry &m_windows;
    Remembered m_remembered;
    HistoryStore m_historyStore;
    History m_history;
    ServerAddress m_server;
    BlockList m_blocked;
    PermitList m_permitted;
    Attention m_attention;
    Options m_options;
    AppContext m_context;
    // The name the server gave with NICK, while it is the signed-on one's.
    QString m_formattedName;
    std::unique_ptr<RegistryReader> m_registry;
    std::unique_ptr<ProgramLauncher> m_launcher;
    // Created after the panels, since the away state shows itself in lbAway.
    AwayMessages *m_away = nullptr;
    ConversationRouter *m_conversations = nullptr;
    ChatSlots *m_chatSlots = nullptr;
    PreferencesLauncher *m_preferences = nullptr;
    PasswordKeeping *m_passwordKeeping = nullptr;
    SignOnAgain *m_signOnAgain = nullptr;
    BuddyRoster *m_roster = nullptr;
    BuddyActions *m_buddyActions = nullptr;
    BuddyAnnouncer *m_announcer = nullptr;
    IdleReporter *m_idle = nullptr;
    QPointer<frmAbout> m_about;
    QPointer<frmCredits> m_credits;
    ExitQuestion::EndProgram m_endProgram = ExitQuestion::endApplication();
};

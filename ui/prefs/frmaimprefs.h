#pragma once

// frmAimPrefs: the preferences window. Sends the profile, a password change
// and the privacy mode through the session, and rebuilds the message style
// prefix in the main window's txtFont when confirmed. OK and Cancel only hide
// it, so what is typed stays; closing it with the frame destroys it.

#include <QWidget>
#include <array>

struct AppContext;
class QCloseEvent;
class BuddyListPrefs;
class ConversationPrefs;
class PrivacyPrefs;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

class frmAimPrefs : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmAimPrefs)
public:
    // The category indexes; 2 has neither a label nor a page.
    enum Page {
        PrivacyPage = 0,
        FontPage = 1,
        PasswordPage = 3,
        FormatNamePage = 4,
        ProfilePage = 5,
        BuddyListPage = 6,
        ConversationsPage = 7,
    };
    static constexpr int PageSlots = 8;
    // The page on view when the window opens: the first category.
    static constexpr Page FirstPage = PrivacyPage;

    explicit frmAimPrefs(AppContext &context, QWidget *parent = nullptr);

    // Hides every page, then shows page index (an index without a page shows nothing).
    void showPage(int index);

    static QString defaultProfile();
    // The footer every profile sent ends with.
    static QString profileFooter();
    // The message style prefix made from the three font fields, taken as typed.
    static QString stylePrefix(const QString &face, const QString &color, const QString &background);

    std::array<QPushButton *, PageSlots> lbMenu{};
    std::array<QGroupBox *, PageSlots> f{};

    // The privacy mode (applied by OK) and the allow and block lists.
    PrivacyPrefs *privacyPrefs;
    QRadioButton *privacyAll;
    QRadioButton *privacyNone;
    // Whether conversations and rooms are kept on disk; applied by OK.
    QCheckBox *chkHistory;
    // How long kept lines stay (forever, a year, a month, a week); applied by OK.
    QComboBox *cboKeepFor;
    QLineEdit *txtFface;
    QLineEdit *txtFcolor;
    QLineEdit *txtFbackground;
    QLineEdit *txtOldpw;
    QLineEdit *txtNewpw;
    QPushButton *cmdChangepw;
    QLineEdit *txtFormatsn;
    QPlainTextEdit *txtProfile;
    QPushButton *cmdSetProfile;
    QPushButton *cmdOK;
    QPushButton *cmdCancel;
    QLabel *lbStatus; // one line on what became of a profile or password sent
    BuddyListPrefs *buddyListPage;
    ConversationPrefs *conversationsPage;

    // The server's answer to the last password change, once it comes.
    void passwordAnswered(const QString &text);
    bool awaitsPasswordAnswer() const { return m_awaitingPasswordAnswer; }

signals:
    // The close went through; the window is about to be deleted.
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QGroupBox *buildPrivacyPage();
    QGroupBox *buildFontPage();
    QGroupBox *buildPasswordPage();
    QGroupBox *buildFormatNamePage();
    QGroupBox *buildProfilePage();
    void setProfile();
    void changePassword();
    void confirm();
    // The fields as confirmed in an earlier run, when the user asked to keep them.
    void restoreRemembered();

    AppContext &m_context;
    bool m_awaitingPasswordAnswer = false;
};

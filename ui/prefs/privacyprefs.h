#pragma once

// The preferences' choice of who may reach the user: one of the five privacy
// modes the server knows, applied by OK through BlockList, and the allow
// (permit) and block lists stored on the server, which change there at once,
// as the profile does, through PermitList and BlockList.

#include <QByteArray>
#include <QString>
#include <QWidget>
#include <array>

struct AppContext;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;

class PrivacyPrefs : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PrivacyPrefs)
public:
    explicit PrivacyPrefs(AppContext &context, QWidget *parent = nullptr);

    // The mode whose option is selected (TocProtocol::PrivacyMode), or 0 for none.
    qint16 chosenMode() const;
    // Selects the option of mode; other numbers select nothing.
    void choose(qint16 mode);

    QRadioButton *privacyAll; // 1
    QRadioButton *privacyNone; // 2
    QRadioButton *privacySome; // 3: only the allow list
    QRadioButton *privacyDenySome; // 4: all but the block list
    QRadioButton *privacyBuddies; // 5
    QLabel *lbPrivacyNow; // the mode the server applies now
    QListWidget *lstPermit;
    QPushButton *cmdAddPermit;
    QPushButton *cmdRemovePermit;
    QListWidget *lstBlock;
    QPushButton *cmdAddBlock;
    QPushButton *cmdRemoveBlock;

signals:
    // A sentence for the window's status line: what became of a change.
    void report(const QString &text);

private:
    std::array<QRadioButton *, 5> modeOptions() const;
    void showLists();
    void showModeInForce();
    void addPermit();
    void removePermit();
    void addBlock();
    void removeBlock();
    // The name typed into a box asked with prompt, or empty.
    QByteArray askName(const QString &prompt, const QString &title);

    AppContext &m_context;
};

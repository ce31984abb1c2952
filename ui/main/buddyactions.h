#pragma once

// BuddyActions: what a person does with the buddy list beyond reading it.
// Adds and removes buddies, blocks and unblocks, asks for a buddy's profile
// and opens conversations, from the setup menu, the list's context menu (the
// Menu key and Shift+F10 too), Enter or a double click on a buddy. In the
// groups view it also moves buddies between groups and adds, renames and
// removes groups, all stored on the server.

#include "personactions.h"
#include "session/quortocsock.h"
#include "session/serveraddress.h"

#include <QByteArray>
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

struct AppContext;
class BuddyRoster;
class ConversationRouter;
class QTimer;
class QUrl;
class UniformListView;

class BuddyActions : public QObject, public PersonActions
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BuddyActions)
public:
    static constexpr int InfoTimeoutMs = 15000;
    // One line for the main window's status area.
    using Notice = std::function<void(const QString &)>;
    using UrlOpener = std::function<bool(const QUrl &)>;

    BuddyActions(AppContext &context, ConversationRouter &conversations, BuddyRoster &roster, UniformListView &list,
                 Notice notice, QWidget *owner);

    // Where relative locations in the server's answers point.
    void setServer(const ServerAddress &server) { m_server = server; }
    // How a profile location is opened; the desktop's browser by default.
    void setUrlOpener(UrlOpener opener) { m_openUrl = std::move(opener); }
    void setInfoTimeout(int milliseconds);

    // The selected buddy's name as the server sent it, or empty.
    QByteArray selectedBuddy() const;
    // The context menu for buddy (empty: only what needs no buddy), shown at
    // the given place or below the current row; it stays reachable here. In
    // the groups view, group is the group of the row the menu is for (with
    // no buddy: its heading).
    void showMenu(const QByteArray &buddy, const QPoint &globalPos, const QByteArray &group = QByteArray());
    QMenu *menu() const { return m_menu.data(); }

    void addBuddy();
    // From group, or with no group given from every group that holds the buddy.
    void removeBuddy(const QByteArray &buddy, const QByteArray &group = QByteArray());
    void moveBuddy(const QByteArray &buddy, const QByteArray &group);
    void addGroup();
    void renameGroup(const QByteArray &group);
    // With its buddies, after asking.
    void removeGroup(const QByteArray &group);
    void block(const QByteArray &buddy) override;
    void unblock(const QByteArray &buddy) override;
    void getInfo(const QByteArray &buddy) override;
    void sendMessage(const QByteArray &buddy) override;

    // Session events: a new session (no profile asked for before it is awaited), and a profile location.
    void onLoggedIn();
    void onUserProfile(const QByteArray &strURL);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPoint belowCurrentRow() const;
    bool groupsShown() const;
    // The group of the current row in the groups view, else empty.
    QByteArray currentGroup() const;
    // Asks for a group name, offering the stored ones; empty when cancelled
    // or when the name cannot be stored (the user is told why).
    QByteArray askGroup(const QString &prompt, const QString &title, const QByteArray &offered,
                        const QByteArray &leaveOut = QByteArray());
    // The user is told when a change could not be sent; true when it went out.
    bool sent(QuorTOCSock::SendCheck check, const QString &what);

    AppContext &m_context;
    ConversationRouter &m_conversations;
    BuddyRoster &m_roster;
    UniformListView &m_list;
    Notice m_notice;
    QWidget *m_owner;
    ServerAddress m_server;
    UrlOpener m_openUrl;
    QPointer<QMenu> m_menu;
    QTimer *m_infoTimer;
    QString m_infoFor; // whose profile is awaited, as shown
};

#pragma once

// BuddyActions: what a person does with the buddy list beyond reading it.
// Adds and removes buddies, blocks and unblocks, asks for a buddy's profile
// and opens conversations, from the setup menu, the list's context menu (the
// Menu key and Shift+F10 too) and Enter on a selected buddy. Keeps the group
// each buddy is stored in, since a removal must name it.

#include "session/serveraddress.h"

#include <QByteArray>
#include <QHash>
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

struct AppContext;
class ConversationRouter;
class QTimer;
class QUrl;
class UniformListView;

class BuddyActions : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BuddyActions)
public:
    static constexpr int InfoTimeoutMs = 15000;
    inline static const QByteArray DefaultGroup = QByteArrayLiteral("Buddies");
    // One line for the main window's status area.
    using Notice = std::function<void(const QString &)>;
    using UrlOpener = std::function<bool(const QUrl &)>;

    BuddyActions(AppContext &context, ConversationRouter &conversations, UniformListView &list, Notice notice,
                 QWidget *owner);

    // Where relative locations in the server's answers point.
    void setServer(const ServerAddress &server) { m_server = server; }
    // How a profile location is opened; the desktop's browser by default.
    void setUrlOpener(UrlOpener opener) { m_openUrl = std::move(opener); }
    void setInfoTimeout(int milliseconds);

    // The selected buddy's name as the server sent it, or empty.
    QByteArray selectedBuddy() const;
    // The context menu for buddy (empty: only what needs no buddy), shown at
    // the given place or below the current row; it stays reachable here.
    void showMenu(const QByteArray &buddy, const QPoint &globalPos);
    QMenu *menu() const { return m_menu.data(); }

    void addBuddy();
    void removeBuddy(const QByteArray &buddy);
    void block(const QByteArray &buddy);
    void unblock(const QByteArray &buddy);
    void getInfo(const QByteArray &buddy);
    void sendMessage(const QByteArray &buddy);

    // Session events: the stored lists at sign-on, and a profile location.
    void onLoggedIn(const QByteArray &strUserName, const QList<QByteArray> &BuddyList);
    void onUserProfile(const QByteArray &strURL);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPoint belowCurrentRow() const;

    AppContext &m_context;
    ConversationRouter &m_conversations;
    UniformListView &m_list;
    Notice m_notice;
    QWidget *m_owner;
    ServerAddress m_server;
    UrlOpener m_openUrl;
    QHash<QByteArray, QByteArray> m_groupOf; // by normalized name
    QPointer<QMenu> m_menu;
    QTimer *m_infoTimer;
    QString m_infoFor; // whose profile is awaited, as shown
};

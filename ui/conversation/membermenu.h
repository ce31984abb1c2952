#pragma once

// MemberMenu: the menu of a chat room's member list, opened by a right click
// or from the keyboard (the Menu key, Shift+F10) on a member: send them an
// instant message, get their info, block or unblock them. Selecting a member
// mutes them in the room, so opening the menu never changes the selection.

#include <QMenu>
#include <QObject>
#include <QPointer>

struct AppContext;
class QListWidget;
class QListWidgetItem;
class QPoint;

class MemberMenu : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MemberMenu)
public:
    MemberMenu(AppContext &context, QListWidget &members);

    // The menu for item, at globalPos; it stays reachable here while open.
    void show(QListWidgetItem *item, const QPoint &globalPos);
    QMenu *menu() const { return m_menu.data(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    AppContext &m_context;
    QListWidget &m_members;
    // Compared with, never called: the list deletes its viewport after it
    // has stopped being a list, and the viewport's last events still pass
    // this filter.
    const QObject *m_viewport;
    QPointer<QMenu> m_menu;
};

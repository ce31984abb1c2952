#include "membermenu.h"

#include "appcontext.h"
#include "blocklist.h"
#include "personactions.h"
#include "session/wiretext.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>

MemberMenu::MemberMenu(AppContext &context, QListWidget &members)
    : QObject(&members)
    , m_context(context)
    , m_members(members)
    , m_viewport(members.viewport())
{
    m_members.installEventFilter(this);
    m_members.viewport()->installEventFilter(this);
}

void MemberMenu::show(QListWidgetItem *item, const QPoint &globalPos)
{
    PersonActions *people = m_context.people;
    if (!item || !people || (m_menu && m_menu->isVisible()))
        return;
    delete m_menu.data();
    m_menu = new QMenu(&m_members);
    m_menu->setObjectName(QStringLiteral("mnuMember"));
    m_menu->setAttribute(Qt::WA_DeleteOnClose);
    const QByteArray name = WireText::toWire(item->text());
    m_menu->addAction(tr("Send &Message"), this, [people, name] { people->sendMessage(name); });
    m_menu->addAction(tr("Get &Info"), this, [people, name] { people->getInfo(name); });
    if (m_context.blocked.isBlocked(name))
        m_menu->addAction(tr("&Unblock"), this, [people, name] { people->unblock(name); });
    else
        m_menu->addAction(tr("&Block"), this, [people, name] { people->block(name); });
    m_menu->popup(globalPos);
}

bool MemberMenu::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_viewport) {
        // A right click would select, and so mute, the member.
        const bool rightPress
            = (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)
            && static_cast<QMouseEvent *>(event)->button() == Qt::RightButton;
        if (rightPress)
            return true;
        if (event->type() == QEvent::ContextMenu) {
            const auto *menuEvent = static_cast<QContextMenuEvent *>(event);
            show(m_members.itemAt(menuEvent->pos()), menuEvent->globalPos());
            return true;
        }
    } else if (watched == &m_members && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Menu || (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier)) {
            QListWidgetItem *current = m_members.currentItem();
            const QRect row = current ? m_members.visualItemRect(current) : QRect();
            show(current, m_members.viewport()->mapToGlobal(row.bottomLeft()));
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

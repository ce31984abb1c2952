#include "buddylist.h"

#include "screenname.h"
#include "wiretext.h"

#include <QListWidget>

BuddyList::BuddyList(QListWidget &view)
    : m_view(view)
{
    // Every entry is one line of plain text in the list's font. Saying so
    // spares the view from measuring all entries again after each change,
    // which made one presence report cost in proportion to the whole list.
    m_view.setUniformItemSizes(true);
}

void BuddyList::update(const QByteArray &strBuddy, bool blnOnline)
{
    const QByteArray key = ScreenName::NormalizeName(strBuddy);
    if (QListWidgetItem *old = m_byName.take(key))
        delete old;
    if (!blnOnline)
        return;
    auto *item = new QListWidgetItem(WireText::fromWire(strBuddy));
    m_view.addItem(item);
    m_byName.insert(key, item);
}

void BuddyList::clear()
{
    m_byName.clear();
    m_view.clear();
}

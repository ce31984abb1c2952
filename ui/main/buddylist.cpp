#include "buddylist.h"

#include "screenname.h"
#include "wiretext.h"

#include <QListWidget>

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

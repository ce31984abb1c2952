#pragma once

// Keeps the online buddies in a list widget, one entry per buddy. Entries are
// found by the buddy's normalized name through an index, so a sign-on that
// reports thousands of buddies costs one lookup each, not a scan of the list.

#include <QByteArray>
#include <QHash>

class QListWidget;
class QListWidgetItem;

class BuddyList
{
public:
    explicit BuddyList(QListWidget &view);

    // Drops the buddy's entry, if any, and appends the name as just received
    // when the buddy is online.
    void update(const QByteArray &strBuddy, bool blnOnline);
    void clear();

private:
    QListWidget &m_view;
    QHash<QByteArray, QListWidgetItem *> m_byName;
};

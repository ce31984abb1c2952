#pragma once

// StoredNames: one of the lists of people the server stores for the user
// (the block list, the permit list), as far as Qiv knows it. A person is one
// entry whatever the spelling, under their normalized name, and is shown as
// the server or the user last wrote them.

#include <QByteArray>
#include <QList>
#include <QMap>

class StoredNames
{
public:
    void reset(const QList<QByteArray> &names);
    // Whether the list changed.
    bool insert(const QByteArray &name);
    bool remove(const QByteArray &name);
    bool contains(const QByteArray &name) const;
    bool isEmpty() const { return m_names.isEmpty(); }
    // As shown, in the order of their normalized names.
    QList<QByteArray> names() const { return m_names.values(); }

private:
    QMap<QByteArray, QByteArray> m_names; // normalized name -> as shown
};

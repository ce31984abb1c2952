#pragma once

// BlockList: whom the user has blocked in this session, as far as Qiv knows:
// the stored deny list from the sign-on, plus every block and unblock sent
// since. Windows that offer "Unblock" follow it through changed().

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QSet>

class BlockList : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BlockList)
public:
    using QObject::QObject;

    // Replaces the whole list, as the server's stored configuration gives it.
    void reset(const QList<QByteArray> &names);
    void setBlocked(const QByteArray &name, bool blocked);
    bool isBlocked(const QByteArray &name) const;

signals:
    // normalizedName's state changed; for a reset, once with an empty name.
    void changed(const QByteArray &normalizedName, bool blocked);

private:
    QSet<QByteArray> m_blocked;
};

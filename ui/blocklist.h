#pragma once

// BlockList: whom the user has blocked in this session, as far as Qiv knows:
// the stored deny list from the sign-on, plus every block and unblock sent
// since. Every window blocks and unblocks through it, so what is sent and
// what is shown cannot part; windows offering "Unblock" follow changed().

#include "session/quortocsock.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QSet>

class BlockList : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BlockList)
public:
    explicit BlockList(QuorTOCSock &btoc, QObject *parent = nullptr);

    // Replaces the whole list, as the server's stored configuration gives it.
    void reset(const QList<QByteArray> &names);
    // Sends the block or unblock when it can go out, and says why not otherwise.
    QuorTOCSock::SendCheck block(const QByteArray &name);
    QuorTOCSock::SendCheck unblock(const QByteArray &name);
    bool isBlocked(const QByteArray &name) const;

signals:
    // normalizedName's state changed; for a reset, once with an empty name.
    void changed(const QByteArray &normalizedName, bool blocked);

private:
    void setBlocked(const QByteArray &name, bool blocked);

    QuorTOCSock &m_btoc;
    QSet<QByteArray> m_blocked;
};

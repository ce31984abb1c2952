#pragma once

// BlockList: whom the user has blocked in this session, as far as Qiv knows:
// the stored deny list from the sign-on, every change the server reports,
// plus every block and unblock sent since; and the privacy mode that decides
// whether the list counts. Every window blocks, unblocks and sets the privacy
// mode through it, so what is sent and what is shown cannot part; windows
// offering "Unblock" follow changed(). It hears the stored lists at sign-on
// itself.
//
// Servers apply the block list only in the mode "block the people listed",
// and a new account allows everyone. So a block made while everyone is
// allowed switches to that mode (right after the block, so nobody else is
// affected), and unblocking the last person switches back: "blocked" always
// means kept out.

#include "session/quortocsock.h"
#include "storednames.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

class BlockList : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BlockList)
public:
    explicit BlockList(QuorTOCSock &btoc, QObject *parent = nullptr);

    // Replaces the whole list and the mode, as the server's stored configuration gives them.
    void reset(const QList<QByteArray> &names, qint16 privacyMode);
    // Sends the block or unblock when it can go out, and says why not
    // otherwise. news: a sentence for the user when the privacy mode followed.
    QuorTOCSock::SendCheck block(const QByteArray &name, QString *news = nullptr);
    QuorTOCSock::SendCheck unblock(const QByteArray &name, QString *news = nullptr);
    bool isBlocked(const QByteArray &name) const;
    // Everybody blocked, as shown.
    QList<QByteArray> names() const { return m_blocked.names(); }

    // The user's own choice of privacy mode (TocProtocol::PrivacyMode; any
    // other number is ignored). Allowing everyone while people are blocked
    // allows everyone but them.
    void setPrivacyMode(qint16 mode);
    qint16 privacyMode() const { return m_mode; }

signals:
    // normalizedName's state changed; for a reset, once with an empty name.
    void changed(const QByteArray &normalizedName, bool blocked);
    void privacyModeChanged(qint16 mode);

private:
    void setBlocked(const QByteArray &name, bool blocked);
    void sendMode(qint16 mode);
    void setMode(qint16 mode);
    // Keeps blocks meaning "kept out" after the list changed.
    void followList(QString *news);

    QuorTOCSock &m_btoc;
    StoredNames m_blocked;
    // No mode stored means everyone is allowed.
    qint16 m_mode = TocProtocol::PermitAll;
};

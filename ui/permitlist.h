#pragma once

// PermitList: whom the user lets in while the privacy mode is "allow only
// the people listed", as far as Qiv knows: the stored permit list from the
// sign-on, every change the server reports, and every addition and removal
// sent since. The privacy mode itself is BlockList's; this list changes no
// mode. It hears the stored lists at sign-on itself.

#include "session/quortocsock.h"
#include "storednames.h"

#include <QByteArray>
#include <QList>
#include <QObject>

class PermitList : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PermitList)
public:
    explicit PermitList(QuorTOCSock &btoc, QObject *parent = nullptr);

    // Replaces the whole list, as the server's stored configuration gives it.
    void reset(const QList<QByteArray> &names);
    // Sends the addition or removal when it can go out, and says why not otherwise.
    QuorTOCSock::SendCheck permit(const QByteArray &name);
    QuorTOCSock::SendCheck unpermit(const QByteArray &name);
    bool isPermitted(const QByteArray &name) const { return m_permitted.contains(name); }
    // Everybody on the list, as shown.
    QList<QByteArray> names() const { return m_permitted.names(); }

signals:
    void changed();

private:
    void setPermitted(const QByteArray &name, bool permitted);

    QuorTOCSock &m_btoc;
    StoredNames m_permitted;
};

#pragma once

// Presence: what Qiv knows of whether somebody is online, for windows that
// must not depend on the buddy list itself. Only buddies are reported by the
// server, so only a buddy can be known to be offline.

#include <QByteArray>
#include <QObject>

class Presence : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    // On the stored buddy list: the server reports when they come and go.
    virtual bool isBuddy(const QByteArray &wireName) const = 0;
    // A buddy whom the server reports offline.
    virtual bool isKnownOffline(const QByteArray &wireName) const = 0;

signals:
    // A buddy the server had not reported online is online now.
    void cameOnline(const QByteArray &normalizedName);
};

#pragma once

// What the user can do with somebody a list shows them: talk to them, look
// them up, block or unblock them. The buddy list's actions do it; a chat
// room's member list offers the same through this.

#include <QByteArray>

class PersonActions
{
public:
    virtual ~PersonActions() = default;
    virtual void sendMessage(const QByteArray &wireName) = 0;
    virtual void getInfo(const QByteArray &wireName) = 0;
    virtual void block(const QByteArray &wireName) = 0;
    virtual void unblock(const QByteArray &wireName) = 0;
};

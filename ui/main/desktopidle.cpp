#include "desktopidle.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <array>

namespace {
struct Source
{
    const char *service;
    const char *path;
    const char *interface;
    const char *method;
};
// Both answer in milliseconds.
constexpr std::array<Source, 2> Sources{{
    {"org.gnome.Mutter.IdleMonitor", "/org/gnome/Mutter/IdleMonitor/Core", "org.gnome.Mutter.IdleMonitor",
     "GetIdletime"},
    {"org.freedesktop.ScreenSaver", "/org/freedesktop/ScreenSaver", "org.freedesktop.ScreenSaver",
     "GetSessionIdleTime"},
}};
} // namespace

DBusDesktopIdle::DBusDesktopIdle(QObject *parent)
    : QObject(parent)
{
}

void DBusDesktopIdle::ask(Answer answer)
{
    if (m_source >= int(Sources.size()) || !QDBusConnection::sessionBus().isConnected()) {
        answer(std::nullopt);
        return;
    }
    askSource(std::move(answer));
}

void DBusDesktopIdle::askSource(Answer answer)
{
    const Source &source = Sources.at(m_source);
    const QDBusPendingCall call = QDBusConnection::sessionBus().asyncCall(
        QDBusMessage::createMethodCall(QLatin1String(source.service), QLatin1String(source.path),
                                       QLatin1String(source.interface), QLatin1String(source.method)));
    auto *watcher = new QDBusPendingCallWatcher(call, this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, answer = std::move(answer)] {
        watcher->deleteLater();
        const QDBusMessage reply = watcher->reply();
        bool isNumber = false;
        const qint64 idleMs = reply.arguments().value(0).toLongLong(&isNumber);
        if (reply.type() == QDBusMessage::ReplyMessage && isNumber) {
            answer(idleMs);
            return;
        }
        // Not offered here: this and every later question go to the next one.
        ++m_source;
        ask(answer);
    });
}

#include "attention.h"

#include "productinfo.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QEvent>
#include <QVariantMap>
#include <QWidget>

namespace {
const QString Service = QStringLiteral("org.freedesktop.Notifications");
const QString Path = QStringLiteral("/org/freedesktop/Notifications");
// Window properties: watched for activation; activated at least once since a
// message came; the caption carries the marker.
const char *const Watched = "qivAttentionWatched";
const char *const Seen = "qivAttentionSeen";
const char *const Marked = "qivAttentionMarked";
} // namespace

DBusNotifier::DBusNotifier()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    const QDBusPendingCall call
        = bus.asyncCall(QDBusMessage::createMethodCall(Service, Path, Service, QStringLiteral("GetCapabilities")));
    auto *watcher = new QDBusPendingCallWatcher(call, this);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher, [this, watcher] {
        const QDBusPendingReply<QStringList> reply = *watcher;
        if (reply.isValid())
            m_bodyIsMarkup = reply.value().contains(QStringLiteral("body-markup"));
        watcher->deleteLater();
    });
}

void DBusNotifier::notify(const QString &summary, const QString &body)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    QDBusMessage message = QDBusMessage::createMethodCall(Service, Path, Service, QStringLiteral("Notify"));
    // The summary is always plain text; the body only when the service says so.
    message << ProductInfo::ProgramTitle << 0u << QStringLiteral("qiv") << summary
            << (m_bodyIsMarkup ? body.toHtmlEscaped() : body) << QStringList() << QVariantMap() << -1;
    // Nobody waits for the answer: a missing service is no error worth telling.
    bus.call(message, QDBus::NoBlock);
}

void Attention::messageArrived(QWidget *window, const QString &sender, const QString &text)
{
    // Hidden windows (a room's traffic before its join) wait to be shown.
    if (!window || !window->isVisible() || window->isActiveWindow())
        return;
    if (!window->property(Watched).toBool()) {
        window->setProperty(Watched, true);
        window->installEventFilter(this);
    }
    QApplication::alert(window);
    // A window the user has never looked at is news by itself; one they have
    // looked at says in its caption that there is more since.
    if (window->property(Seen).toBool() && !isMarked(window)) {
        window->setProperty(Marked, true);
        window->setWindowTitle(CaptionMarker + window->windowTitle());
    }
    if (m_notifier)
        m_notifier->notify(sender, text.section(QLatin1Char('\n'), 0, 0).section(QLatin1Char('\r'), 0, 0));
}

void Attention::announce(const QString &summary, const QString &body)
{
    if (m_notifier)
        m_notifier->notify(summary, body);
}

bool Attention::isMarked(const QWidget *window) { return window->property(Marked).toBool(); }

bool Attention::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::WindowActivate) {
        auto *window = static_cast<QWidget *>(watched);
        window->setProperty(Seen, true);
        // A caption set anew while marked (a room joined, say) has no marker to drop.
        const QString current = window->windowTitle();
        if (isMarked(window) && current.startsWith(CaptionMarker))
            window->setWindowTitle(current.mid(CaptionMarker.size()));
        window->setProperty(Marked, false);
    }
    return QObject::eventFilter(watched, event);
}

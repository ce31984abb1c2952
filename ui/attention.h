#pragma once

// Attention: a message that arrives in a conversation or chat window the user
// is not in makes that window ask for attention and shows a desktop
// notification with the sender and the first line of the text; a window the
// user has been in before also gets a marker in its caption until it is
// activated again. The window the user is in gets none of this.

#include <QObject>
#include <QString>

class QWidget;

// Where desktop notifications go; texts are plain, never markup.
class DesktopNotifier
{
public:
    virtual ~DesktopNotifier() = default;
    virtual void notify(const QString &summary, const QString &body) = 0;
};

// The freedesktop notification service on the session bus. Without a bus or a
// service, notifications are dropped without a word.
class DBusNotifier final : public QObject, public DesktopNotifier
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DBusNotifier)
public:
    DBusNotifier();
    void notify(const QString &summary, const QString &body) override;

private:
    // Whether the service reads markup in the body, as its capabilities say;
    // assumed until it has answered, so a body is escaped rather than read.
    bool m_bodyIsMarkup = true;
};

class Attention : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Attention)
public:
    // Put in front of a caption while its window waits to be looked at.
    static inline const QString CaptionMarker = QStringLiteral("* ");

    using QObject::QObject;
    // nullptr: no desktop notifications.
    void setNotifier(DesktopNotifier *notifier) { m_notifier = notifier; }

    void messageArrived(QWidget *window, const QString &sender, const QString &text);
    // News that belongs to no window (a buddy signing on): a desktop notification only.
    void announce(const QString &summary, const QString &body);
    static bool isMarked(const QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    DesktopNotifier *m_notifier = nullptr;
};

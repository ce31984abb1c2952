#include "windowregistry.h"

namespace {
constexpr const char *TagProperty = "Tag";
}

void WindowRegistry::add(QWidget *window)
{
    if (!window || m_windows.contains(window))
        return;
    m_windows.append(window);
    connect(window, &QObject::destroyed, this, [this](QObject *gone) {
        m_windows.removeIf([gone](const QPointer<QWidget> &w) { return w.isNull() || w == gone; });
    });
}

void WindowRegistry::remove(QWidget *window)
{
    m_windows.removeIf([window](const QPointer<QWidget> &w) { return w.isNull() || w == window; });
}

QList<QWidget *> WindowRegistry::windows() const
{
    QList<QWidget *> open;
    for (const QPointer<QWidget> &w : m_windows) {
        if (w)
            open.append(w.data());
    }
    return open;
}

void WindowRegistry::setTag(QWidget *window, const QString &tag) { window->setProperty(TagProperty, tag); }

QString WindowRegistry::tag(const QWidget *window) { return window->property(TagProperty).toString(); }

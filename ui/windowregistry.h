#pragma once

// The program's open windows in the order they were opened. Routing looks
// conversations up here by their Tag; Qt's own top-level list has no order.

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

class WindowRegistry : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WindowRegistry)
public:
    using QObject::QObject;

    // Adds a window at the end; it leaves the registry when it is destroyed.
    void add(QWidget *window);
    void remove(QWidget *window);
    // Open windows, oldest first.
    QList<QWidget *> windows() const;

    // The free-text Tag every window can carry; only conversations set one.
    static void setTag(QWidget *window, const QString &tag);
    static QString tag(const QWidget *window);

private:
    QList<QPointer<QWidget>> m_windows;
};

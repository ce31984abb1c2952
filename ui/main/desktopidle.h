#pragma once

// How long the whole desktop has had no keyboard or mouse input, where the
// desktop says so through a standard D-Bus interface (GNOME's Mutter idle
// monitor, or the freedesktop screen saver that KDE offers). Asked without
// waiting; a desktop that offers neither is asked once and then no more.

#include <QObject>
#include <functional>
#include <optional>

class DesktopIdle
{
public:
    virtual ~DesktopIdle() = default;
    // The desktop's idle time in milliseconds, or nothing when it does not say.
    using Answer = std::function<void(std::optional<qint64> idleMs)>;
    // answer is called once, at once or later.
    virtual void ask(Answer answer) = 0;
};

class DBusDesktopIdle final : public QObject, public DesktopIdle
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DBusDesktopIdle)
public:
    explicit DBusDesktopIdle(QObject *parent = nullptr);
    void ask(Answer answer) override;

private:
    void askSource(Answer answer);

    // The interfaces in the order they are tried; the first that answers stays.
    int m_source = 0;
};

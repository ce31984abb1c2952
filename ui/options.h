#pragma once

// Options: the choices of the preferences' Buddy List and Conversations
// pages. They are in force for the whole run, and kept between runs through
// Remembered while "Remember me" is on. Whoever follows one listens to
// changed().

#include <QObject>

class Remembered;

class Options : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Options)
public:
    static constexpr int DefaultIdleMinutes = 10;
    static constexpr int MinIdleMinutes = 1;
    static constexpr int MaxIdleMinutes = 240;

    struct Choices
    {
        bool showStatus = false; // away and idle buddies look so in the list
        bool showGroups = false; // the stored groups, offline buddies too
        bool announceBuddies = false; // a desktop notification when a buddy signs on or off
        bool tellIdle = true; // the server hears when the user has gone idle
        int idleMinutes = DefaultIdleMinutes;
        bool showTimes = false; // every line of a conversation or room starts with its time
        bool operator==(const Choices &) const = default;
    };

    explicit Options(Remembered &remembered, QObject *parent = nullptr);

    const Choices &choices() const { return m_choices; }
    bool showsStatus() const { return m_choices.showStatus; }
    bool showsGroups() const { return m_choices.showGroups; }
    bool announcesBuddies() const { return m_choices.announceBuddies; }
    bool tellsIdle() const { return m_choices.tellIdle; }
    int idleMinutes() const { return m_choices.idleMinutes; }
    bool showsTimes() const { return m_choices.showTimes; }

    // Puts the choices in force and keeps them; the minutes are brought into range.
    void apply(Choices choices);

signals:
    void changed();

private:
    Remembered &m_remembered;
    Choices m_choices;
};

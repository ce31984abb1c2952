#include "options.h"

#include "store/remembered.h"

#include <QVariant>

namespace {
bool kept(const Remembered &remembered, Remembered::Key key, bool fallback)
{
    const QVariant value = remembered.value(key);
    return value.isValid() ? value.toBool() : fallback;
}
} // namespace

Options::Options(Remembered &remembered, QObject *parent)
    : QObject(parent)
    , m_remembered(remembered)
{
    const Choices defaults;
    m_choices.showStatus = kept(remembered, Remembered::Key::ShowBuddyStatus, defaults.showStatus);
    m_choices.showGroups = kept(remembered, Remembered::Key::ShowBuddyGroups, defaults.showGroups);
    m_choices.announceBuddies = kept(remembered, Remembered::Key::AnnounceBuddies, defaults.announceBuddies);
    m_choices.tellIdle = kept(remembered, Remembered::Key::TellIdle, defaults.tellIdle);
    m_choices.showTimes = kept(remembered, Remembered::Key::ShowTimestamps, defaults.showTimes);
    bool isNumber = false;
    const int minutes = remembered.value(Remembered::Key::IdleMinutes).toInt(&isNumber);
    if (isNumber)
        m_choices.idleMinutes = qBound(MinIdleMinutes, minutes, MaxIdleMinutes);
}

void Options::apply(Choices choices)
{
    choices.idleMinutes = qBound(MinIdleMinutes, choices.idleMinutes, MaxIdleMinutes);
    m_remembered.setValue(Remembered::Key::ShowBuddyStatus, choices.showStatus);
    m_remembered.setValue(Remembered::Key::ShowBuddyGroups, choices.showGroups);
    m_remembered.setValue(Remembered::Key::AnnounceBuddies, choices.announceBuddies);
    m_remembered.setValue(Remembered::Key::TellIdle, choices.tellIdle);
    m_remembered.setValue(Remembered::Key::IdleMinutes, choices.idleMinutes);
    m_remembered.setValue(Remembered::Key::ShowTimestamps, choices.showTimes);
    if (choices == m_choices)
        return;
    m_choices = choices;
    emit changed();
}

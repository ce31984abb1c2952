#pragma once

// The preferences' Buddy List page: how the buddy list looks (status, groups
// and offline buddies), whether buddies signing on and off are announced, and
// whether and after how many minutes others are told that the user is idle.
// It shows the choices in force; OK applies what it shows.

#include <QGroupBox>

class Options;
class QCheckBox;
class QSpinBox;

class BuddyListPrefs : public QGroupBox
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BuddyListPrefs)
public:
    BuddyListPrefs(Options &options, QWidget *parent = nullptr);

    // What the page shows becomes the choices in force.
    void apply();

    QCheckBox *chkShowStatus;
    QCheckBox *chkShowGroups;
    QCheckBox *chkAnnounce;
    QCheckBox *chkTellIdle;
    QSpinBox *txtIdleMinutes;

private:
    Options &m_options;
};

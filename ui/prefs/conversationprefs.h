#pragma once

// The preferences' Conversations page: how conversation and chat-room
// windows write their lines. It shows the choices in force; OK applies what
// it shows.

#include <QGroupBox>

class Options;
class QCheckBox;

class ConversationPrefs : public QGroupBox
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ConversationPrefs)
public:
    ConversationPrefs(Options &options, QWidget *parent = nullptr);

    // What the page shows becomes the choices in force.
    void apply();

    QCheckBox *chkTimestamps;

private:
    Options &m_options;
};

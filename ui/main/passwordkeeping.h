#pragma once

// PasswordKeeping: the sign-on panel's side of "Remember password". It fills
// the password box in when the kept password arrives (unless the user has
// typed in it meanwhile), asks before a password is kept unencrypted, and
// puts what went wrong with the keyring on the status line in one sentence.

#include "store/keptpassword.h"

#include <QObject>

class Dialogs;
class QCheckBox;
class QLabel;
class QLineEdit;
class QWidget;
class Remembered;

class PasswordKeeping : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PasswordKeeping)
public:
    // Ticks box as kept last time and starts fetching the password. A child
    // of window, like the boxes; nothing reaches a box that is already gone.
    PasswordKeeping(Dialogs &dialogs, Remembered &remembered, QCheckBox &box, QLineEdit &password, QLabel &status,
                    QWidget *window);

    // A sign-on with this password: kept anew if it is kept and has changed.
    void signingOn(const QString &password);

private:
    // The status line's one sentence for what went wrong.
    static QString sentence(KeptPassword::Trouble trouble);

    KeptPassword *m_kept;
};

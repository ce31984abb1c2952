#include "passwordkeeping.h"

#include "dialogs.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

PasswordKeeping::PasswordKeeping(Dialogs &dialogs, Remembered &remembered, QCheckBox &box, QLineEdit &password,
                                 QLabel &status, QWidget *window)
    : QObject(window)
{
    m_kept = new KeptPassword(
        remembered,
        [&dialogs, window] {
            return dialogs.askYesNo(window,
                                    tr("No desktop keyring answered, so Qiv cannot keep your password safely.\n\n"
                                       "Keep it unencrypted instead, in plain text in your settings file?"),
                                    tr("Remember password"));
        },
        this);
    box.setChecked(m_kept->isKept());
    connect(&box, &QCheckBox::toggled, m_kept, [this, &password](bool on) { m_kept->setKept(on, password.text()); });
    connect(m_kept, &KeptPassword::arrived, &password, [&password](const QString &kept) {
        // What the user has begun to type wins over a password arriving late.
        if (!password.isModified())
            password.setText(kept);
    });
    connect(m_kept, &KeptPassword::stopped, &box, [&box] { box.setChecked(false); });
    connect(m_kept, &KeptPassword::trouble, &status,
            [&status](KeptPassword::Trouble trouble) { status.setText(sentence(trouble)); });
    m_kept->load();
}

void PasswordKeeping::signingOn(const QString &password) { m_kept->update(password); }

QString PasswordKeeping::sentence(KeptPassword::Trouble trouble)
{
    switch (trouble) {
    case KeptPassword::Trouble::NoKeyringToRead:
        return tr("No desktop keyring answered, so your password could not be filled in.");
    case KeptPassword::Trouble::NotInKeyring:
        return tr("Your password was not found in the desktop keyring; type it to sign on.");
    case KeptPassword::Trouble::ReadRefused:
        return tr("The desktop keyring would not give Qiv your password; type it to sign on.");
    case KeptPassword::Trouble::WriteRefused:
        return tr("The desktop keyring refused to keep your password.");
    case KeptPassword::Trouble::RemoveRefused:
        return tr("The desktop keyring refused to remove your password; it may still be kept there.");
    case KeptPassword::Trouble::NotKept:
        return tr("Your password is not kept, since no desktop keyring answered.");
    }
    return QString();
}

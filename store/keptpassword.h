#pragma once

// KeptPassword: where "Remember password" keeps the password. It goes to the
// desktop keyring (PasswordVault), and into the settings file in plain text
// only when no keyring answers and the user has said yes to exactly that. A
// password found in the settings file, from an earlier Qiv or kept there
// that way, moves to the keyring at the next start and leaves the file once
// the keyring confirms it has it. A keyring that fails never costs the user
// anything they had: the trouble is reported and Qiv goes on without it.

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class PasswordVault;
class Remembered;

class KeptPassword : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(KeptPassword)
public:
    enum class Trouble {
        NoKeyringToRead, // nothing answered, so nothing could be filled in
        NotInKeyring, // the keyring answered but holds no password for Qiv
        ReadRefused,
        WriteRefused,
        RemoveRefused,
        NotKept, // no keyring, and the user would not have it unencrypted
    };
    Q_ENUM(Trouble)

    // Asked, at most once at a time, when no keyring answers: may the
    // password lie unencrypted in the settings file?
    using MayKeepUnencrypted = std::function<bool()>;

    // Without a settings file nothing leaves the run, not even for a keyring.
    KeptPassword(Remembered &remembered, MayKeepUnencrypted mayKeepUnencrypted, QObject *parent = nullptr);
    ~KeptPassword() override;

    bool isKept() const;
    // Fetches the kept password, which arrives later, and starts moving one
    // that lies in the settings file into the keyring.
    void load();
    // "Remember password" ticked, with the password typed so far, or unticked.
    void setKept(bool kept, const QString &password);
    // The password a sign-on used: kept anew if it is kept and has changed.
    void update(const QString &password);

signals:
    void arrived(const QString &password);
    void trouble(KeptPassword::Trouble trouble);
    // Keeping ended without the user unticking it: they said no to plain text.
    void stopped();

private:
    void store(const QString &password);
    void keepWithoutKeyring(const QString &password);

    Remembered &m_remembered;
    MayKeepUnencrypted m_mayKeepUnencrypted;
    PasswordVault *m_vault = nullptr;
    // What the keyring is known to hold, so an unchanged password is not
    // written again at every sign-on.
    std::optional<QString> m_inKeyring;
    bool m_asking = false;
    QString m_awaitingAnswer; // the latest password to keep while the question is open
};

#pragma once

// PasswordVault: Qiv's one entry in the desktop keyring (the Secret Service,
// or KWallet on KDE, through QtKeychain). Every call returns at once and
// answers exactly once, later, from the event loop: the keyring may have to
// start, or ask the user to unlock it, and nobody waits for that.

#include <QObject>
#include <QString>
#include <functional>

namespace QKeychain {
class Job;
}

class PasswordVault : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PasswordVault)
public:
    enum class Outcome {
        Done,
        NotFound, // from a read: the keyring holds no password for Qiv
        NoKeyring, // nobody answered on the session bus, or the keyring could not do it
        Refused, // the keyring answered no: locked, or access denied by the user
    };
    struct Answer
    {
        Outcome outcome = Outcome::Done;
        QString password; // what a read found
    };
    using Reply = std::function<void(const Answer &)>;

    // service names the entry in the keyring; the standard one is "Qiv".
    explicit PasswordVault(const QString &service = QStringLiteral("Qiv"), QObject *parent = nullptr);
    ~PasswordVault() override;

    void read(Reply reply);
    void write(const QString &password, Reply reply);
    // Removing a password that is not there is Done.
    void remove(Reply reply);

private:
    // The jobs run one after another in the order started, so a removal never
    // overtakes the write before it.
    void start(QKeychain::Job *job, Reply reply);

    QString m_service;
};

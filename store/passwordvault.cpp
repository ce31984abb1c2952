#include "passwordvault.h"

#include <qt6keychain/keychain.h>

namespace {
// Keyring managers list the entry under the service's name, "Qiv"; the key
// tells it apart from anything else Qiv might keep there one day.
const QString EntryKey = QStringLiteral("sign-on password");

PasswordVault::Outcome outcomeOf(QKeychain::Error error)
{
    switch (error) {
    case QKeychain::NoError:
        return PasswordVault::Outcome::Done;
    case QKeychain::EntryNotFound:
        return PasswordVault::Outcome::NotFound;
    case QKeychain::AccessDenied:
    case QKeychain::AccessDeniedByUser:
    case QKeychain::CouldNotDeleteEntry:
        return PasswordVault::Outcome::Refused;
    case QKeychain::NoBackendAvailable:
    case QKeychain::NotImplemented:
    case QKeychain::OtherError:
        break;
    }
    return PasswordVault::Outcome::NoKeyring;
}
} // namespace

PasswordVault::PasswordVault(const QString &service, QObject *parent)
    : QObject(parent)
    , m_service(service)
{
}

PasswordVault::~PasswordVault() = default;

void PasswordVault::read(Reply reply) { start(new QKeychain::ReadPasswordJob(m_service), std::move(reply)); }

void PasswordVault::write(const QString &password, Reply reply)
{
    auto *job = new QKeychain::WritePasswordJob(m_service);
    job->setTextData(password);
    start(job, std::move(reply));
}

void PasswordVault::remove(Reply reply) { start(new QKeychain::DeletePasswordJob(m_service), std::move(reply)); }

void PasswordVault::start(QKeychain::Job *job, Reply reply)
{
    // The job has no parent and deletes itself when it is over: the keyring's
    // answer arrives in a callback that still points at it, so it must outlive
    // a vault closed in the meantime. Without an unencrypted fallback of its
    // own: only the user decides whether the password may lie in plain text.
    job->setKey(EntryKey);
    job->setAutoDelete(true);
    job->setInsecureFallback(false);
    connect(job, &QKeychain::Job::finished, this, [this, reply = std::move(reply)](QKeychain::Job *done) {
        Answer answer{outcomeOf(done->error()), QString()};
        if (auto *read = qobject_cast<QKeychain::ReadPasswordJob *>(done); read && answer.outcome == Outcome::Done)
            answer.password = read->textData();
        // Answered from the event loop rather than from inside the keyring's
        // callback, so a reply may open a box of its own.
        QMetaObject::invokeMethod(
            this, [reply, answer] { reply(answer); }, Qt::QueuedConnection);
    });
    job->start();
}

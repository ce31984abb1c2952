#include "keptpassword.h"

#include "passwordvault.h"
#include "remembered.h"

#include <QPointer>

KeptPassword::KeptPassword(Remembered &remembered, MayKeepUnencrypted mayKeepUnencrypted, QObject *parent)
    : QObject(parent)
    , m_remembered(remembered)
    , m_mayKeepUnencrypted(std::move(mayKeepUnencrypted))
    , m_vault(remembered.keepsOnDisk() ? new PasswordVault(QStringLiteral("Qiv"), this) : nullptr)
{
}

KeptPassword::~KeptPassword() = default;

bool KeptPassword::isKept() const { return m_remembered.isOn() && m_remembered.keepsPassword(); }

void KeptPassword::load()
{
    if (!m_vault || !isKept())
        return;
    if (const std::optional<QString> inFile = m_remembered.unencryptedPassword()) {
        // Handed over from the event loop, as the keyring's answer would be.
        QMetaObject::invokeMethod(
            this, [this, password = *inFile] { emit arrived(password); }, Qt::QueuedConnection);
        store(*inFile);
        return;
    }
    m_vault->read([this](const PasswordVault::Answer &answer) {
        if (!isKept())
            return;
        switch (answer.outcome) {
        case PasswordVault::Outcome::Done:
            m_inKeyring = answer.password;
            emit arrived(answer.password);
            return;
        case PasswordVault::Outcome::NotFound:
            emit trouble(Trouble::NotInKeyring);
            return;
        case PasswordVault::Outcome::Refused:
            emit trouble(Trouble::ReadRefused);
            return;
        case PasswordVault::Outcome::NoKeyring:
            emit trouble(Trouble::NoKeyringToRead);
            return;
        }
    });
}

void KeptPassword::setKept(bool kept, const QString &password)
{
    if (kept == m_remembered.keepsPassword())
        return;
    m_remembered.setKeepsPassword(kept);
    if (!m_vault)
        return;
    if (kept) {
        store(password);
        return;
    }
    m_inKeyring.reset();
    m_vault->remove([this](const PasswordVault::Answer &answer) {
        // Nothing answering means nothing could have been kept there lately.
        if (answer.outcome == PasswordVault::Outcome::Refused)
            emit trouble(Trouble::RemoveRefused);
    });
}

void KeptPassword::update(const QString &password)
{
    if (!m_vault || !isKept() || password == m_inKeyring || password == m_remembered.unencryptedPassword())
        return;
    store(password);
}

void KeptPassword::store(const QString &password)
{
    m_vault->write(password, [this, password](const PasswordVault::Answer &answer) {
        // Unticked in the meantime: the removal queued behind this write wins.
        if (!isKept())
            return;
        switch (answer.outcome) {
        case PasswordVault::Outcome::Done:
            m_inKeyring = password;
            m_remembered.forgetUnencrypted();
            return;
        case PasswordVault::Outcome::Refused:
            emit trouble(Trouble::WriteRefused);
            return;
        case PasswordVault::Outcome::NotFound:
        case PasswordVault::Outcome::NoKeyring:
            keepWithoutKeyring(password);
            return;
        }
    });
}

void KeptPassword::keepWithoutKeyring(const QString &password)
{
    m_awaitingAnswer = password;
    // Another write failing while the question is open only updates what a
    // yes will keep.
    if (m_asking)
        return;
    bool agreed = m_remembered.unencryptedAgreed();
    if (!agreed) {
        QPointer<KeptPassword> alive(this);
        m_asking = true;
        agreed = m_mayKeepUnencrypted();
        if (!alive)
            return;
        m_asking = false;
        if (!isKept())
            return;
    }
    if (agreed) {
        m_remembered.keepUnencrypted(m_awaitingAnswer);
        return;
    }
    // The user's answer, not the keyring, drops a copy an earlier Qiv left here.
    m_remembered.setKeepsPassword(false);
    emit stopped();
    emit trouble(Trouble::NotKept);
}

#include "remembered.h"

#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <utility>

namespace {
const QString RememberMe = QStringLiteral("SignOn/RememberMe");
const QString KeepPassword = QStringLiteral("SignOn/KeepPassword");
// The password in plain text, and the user's word that it may lie there.
const QString Password = QStringLiteral("SignOn/Password");
const QString PasswordUnencrypted = QStringLiteral("SignOn/PasswordUnencrypted");
const QString KeepHistory = QStringLiteral("History/Keep");
const QString KeepHistoryFor = QStringLiteral("History/KeepFor");

// As written in the settings file; anything else there reads as Forever, so a
// damaged file can never shorten what is kept.
const std::pair<Remembered::HistoryAge, QString> HistoryAgeNames[] = {
    {Remembered::HistoryAge::Year, QStringLiteral("year")},
    {Remembered::HistoryAge::Month, QStringLiteral("month")},
    {Remembered::HistoryAge::Week, QStringLiteral("week")},
};

QString settingName(Remembered::Key key)
{
    switch (key) {
    case Remembered::Key::ScreenName:
        return QStringLiteral("SignOn/ScreenName");
    case Remembered::Key::Server:
        return QStringLiteral("SignOn/Server");
    case Remembered::Key::StylePrefix:
        return QStringLiteral("Preferences/StylePrefix");
    case Remembered::Key::FontFace:
        return QStringLiteral("Preferences/FontFace");
    case Remembered::Key::FontColor:
        return QStringLiteral("Preferences/FontColor");
    case Remembered::Key::FontBackground:
        return QStringLiteral("Preferences/FontBackground");
    case Remembered::Key::Privacy:
        return QStringLiteral("Preferences/Privacy");
    case Remembered::Key::ImClearAfterSend:
        return QStringLiteral("Windows/ConversationClearAfterSend");
    case Remembered::Key::ChatClearOnSend:
        return QStringLiteral("Windows/ChatClearOnSend");
    case Remembered::Key::ShowBuddyStatus:
        return QStringLiteral("BuddyList/ShowStatus");
    case Remembered::Key::ShowBuddyGroups:
        return QStringLiteral("BuddyList/ShowGroups");
    case Remembered::Key::AnnounceBuddies:
        return QStringLiteral("BuddyList/AnnounceSignOns");
    case Remembered::Key::TellIdle:
        return QStringLiteral("Idle/Tell");
    case Remembered::Key::IdleMinutes:
        return QStringLiteral("Idle/Minutes");
    case Remembered::Key::SignOnAgain:
        return QStringLiteral("SignOn/SignOnAgain");
    case Remembered::Key::ShowTimestamps:
        return QStringLiteral("Conversations/ShowTimestamps");
    }
    return QString();
}

constexpr Remembered::Key AllKeys[] = {
    Remembered::Key::ScreenName,      Remembered::Key::Server,           Remembered::Key::StylePrefix,
    Remembered::Key::FontFace,        Remembered::Key::FontColor,        Remembered::Key::FontBackground,
    Remembered::Key::Privacy,         Remembered::Key::ImClearAfterSend, Remembered::Key::ChatClearOnSend,
    Remembered::Key::ShowBuddyStatus, Remembered::Key::ShowBuddyGroups,  Remembered::Key::AnnounceBuddies,
    Remembered::Key::TellIdle,        Remembered::Key::IdleMinutes,      Remembered::Key::SignOnAgain,
    Remembered::Key::ShowTimestamps,
};
} // namespace

KeptPlaces KeptPlaces::standard()
{
    // Named after the program rather than the organisation, so that both land
    // in a folder called Qiv whatever QCoreApplication's names are.
    const QString program = QStringLiteral("Qiv");
    return {QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1Char('/') + program
                + QLatin1Char('/') + program + QStringLiteral(".conf"),
            QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QLatin1Char('/') + program
                + QStringLiteral("/history")};
}

Remembered::Remembered(const QString &settingsFile)
{
    if (settingsFile.isEmpty())
        return;
    m_file = std::make_unique<QSettings>(settingsFile, QSettings::IniFormat);
    m_keepsHistory = m_file->value(KeepHistory).toBool();
    const QString keepFor = m_file->value(KeepHistoryFor).toString();
    for (const auto &[age, name] : HistoryAgeNames) {
        if (keepFor == name)
            m_keepHistoryFor = age;
    }
    m_on = m_file->value(RememberMe).toBool();
    if (!m_on)
        return;
    for (Key key : AllKeys) {
        const QVariant kept = m_file->value(settingName(key));
        if (kept.isValid())
            m_values.insert(settingName(key), kept);
    }
    if (m_file->contains(Password))
        m_unencrypted = m_file->value(Password).toString();
    m_unencryptedAgreed = m_file->value(PasswordUnencrypted).toBool();
    // An earlier Qiv kept the password by writing it here, with no mark of its own.
    m_keepsPassword = m_file->value(KeepPassword).toBool() || m_unencrypted.has_value();
}

Remembered::~Remembered() = default;

void Remembered::setOn(bool on)
{
    if (on == m_on)
        return;
    m_on = on;
    if (on) {
        writeAll();
        return;
    }
    setKeepsPassword(false);
    if (m_file) {
        for (Key key : AllKeys)
            m_file->remove(settingName(key));
        m_file->remove(RememberMe);
        settle();
    }
}

void Remembered::setKeepsPassword(bool keep)
{
    m_keepsPassword = keep;
    if (!keep) {
        m_unencrypted.reset();
        m_unencryptedAgreed = false;
    }
    if (!m_file)
        return;
    if (!keep)
        remove({KeepPassword, Password, PasswordUnencrypted});
    else if (m_on)
        write(KeepPassword, true);
}

std::optional<QString> Remembered::unencryptedPassword() const
{
    return m_on && m_keepsPassword ? m_unencrypted : std::nullopt;
}

void Remembered::keepUnencrypted(const QString &password)
{
    m_unencrypted = password;
    m_unencryptedAgreed = true;
    if (!m_file || !m_on)
        return;
    m_file->setValue(Password, password);
    m_file->setValue(PasswordUnencrypted, true);
    settle();
}

void Remembered::forgetUnencrypted()
{
    m_unencrypted.reset();
    m_unencryptedAgreed = false;
    if (!m_file)
        return;
    // A password an earlier Qiv left here was its only mark of being kept.
    if (m_on && m_keepsPassword)
        m_file->setValue(KeepPassword, true);
    m_file->remove(Password);
    m_file->remove(PasswordUnencrypted);
    settle();
}

QVariant Remembered::value(Key key) const { return m_on ? m_values.value(settingName(key)) : QVariant(); }

void Remembered::setValue(Key key, const QVariant &value)
{
    m_values.insert(settingName(key), value);
    if (m_on)
        write(settingName(key), value);
}

void Remembered::setKeepsHistory(bool keep)
{
    if (keep == m_keepsHistory)
        return;
    m_keepsHistory = keep;
    if (keep)
        write(KeepHistory, true);
    else
        remove({KeepHistory});
}

void Remembered::setKeepHistoryFor(HistoryAge age)
{
    if (age == m_keepHistoryFor)
        return;
    m_keepHistoryFor = age;
    for (const auto &[known, name] : HistoryAgeNames) {
        if (known == age) {
            write(KeepHistoryFor, name);
            return;
        }
    }
    remove({KeepHistoryFor});
}

void Remembered::writeAll()
{
    if (!m_file)
        return;
    m_file->setValue(RememberMe, true);
    for (auto it = m_values.cbegin(); it != m_values.cend(); ++it)
        m_file->setValue(it.key(), it.value());
    if (m_keepsPassword)
        m_file->setValue(KeepPassword, true);
    if (m_unencrypted)
        m_file->setValue(Password, *m_unencrypted);
    if (m_unencryptedAgreed)
        m_file->setValue(PasswordUnencrypted, true);
    settle();
}

void Remembered::write(const QString &name, const QVariant &value)
{
    if (!m_file)
        return;
    m_file->setValue(name, value);
    settle();
}

void Remembered::remove(const QStringList &names)
{
    // Removing what was never there would still write the file.
    bool removed = false;
    for (const QString &name : names) {
        if (m_file && m_file->contains(name)) {
            m_file->remove(name);
            removed = true;
        }
    }
    if (removed)
        settle();
}

void Remembered::settle()
{
    m_file->sync();
    const QString path = m_file->fileName();
    if (m_file->allKeys().isEmpty()) {
        QFile::remove(path);
        return;
    }
    // It may hold the password, with the user's word for it: nobody else on
    // the machine reads it.
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

#include "userdirectory.h"

#include "session/screenname.h"

#include <QDateTime>
#include <algorithm>

namespace {
// A named warning counts for more than an anonymous one, as on AIM.
constexpr int NamedWarning = 10;
constexpr int AnonymousWarning = 3;
constexpr int MaxWarning = 100;

QList<QByteArray> sorted(const QSet<QByteArray> &keys)
{
    QList<QByteArray> names(keys.cbegin(), keys.cend());
    std::sort(names.begin(), names.end());
    return names;
}
} // namespace

bool UserDirectory::isValidKey(QByteArrayView key)
{
    if (key.isEmpty() || key.size() > MaxNameLength)
        return false;
    return std::all_of(key.begin(), key.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '_' || c == '-' || c == '@';
    });
}

UserDirectory::Account *UserDirectory::find(const QByteArray &key)
{
    auto it = m_accounts.find(key);
    return it == m_accounts.end() ? nullptr : &*it;
}

const UserDirectory::Account *UserDirectory::find(const QByteArray &key) const
{
    auto it = m_accounts.constFind(key);
    return it == m_accounts.cend() ? nullptr : &*it;
}

void UserDirectory::addResident(const QByteArray &displayName)
{
    const QByteArray key = ScreenName::NormalizeName(displayName);
    Account account;
    account.displayName = displayName;
    account.resident = true;
    account.online = true;
    account.visible = true;
    account.signOnTime = QDateTime::currentSecsSinceEpoch();
    m_accounts.insert(key, account);
    m_order.append(key);
}

bool UserDirectory::isResident(const QByteArray &key) const
{
    const Account *account = find(key);
    return account && account->resident;
}

UserDirectory::LoginResult UserDirectory::checkLogin(const QByteArray &typedName, const QByteArray &roastedPassword)
{
    const QByteArray key = ScreenName::NormalizeName(typedName);
    if (!isValidKey(key))
        return LoginResult::InvalidName;
    if (const Account *account = find(key)) {
        // Nobody signs on as a resident.
        if (account->resident || account->roastedPassword != roastedPassword)
            return LoginResult::WrongPassword;
        return LoginResult::Accepted;
    }
    if (m_accounts.size() >= MaxAccounts)
        return LoginResult::Full;
    Account account;
    account.displayName = typedName;
    account.roastedPassword = roastedPassword;
    m_accounts.insert(key, account);
    m_order.append(key);
    return LoginResult::Accepted;
}

bool UserDirectory::changePassword(const QByteArray &key, const QByteArray &roastedOld, const QByteArray &roastedNew)
{
    Account *account = find(key);
    if (!account || account->resident || account->roastedPassword != roastedOld)
        return false;
    account->roastedPassword = roastedNew;
    return true;
}

void UserDirectory::setOnline(const QByteArray &key, ClientConnection *connection, qint64 signOnTime)
{
    if (Account *account = find(key)) {
        account->connection = connection;
        account->online = true;
        account->visible = false;
        account->away = false;
        account->signOnTime = signOnTime;
        account->idleSince = 0;
    }
}

void UserDirectory::setVisible(const QByteArray &key)
{
    if (Account *account = find(key); account && account->online)
        account->visible = true;
}

void UserDirectory::setOffline(const QByteArray &key)
{
    Account *account = find(key);
    if (!account || account->resident)
        return;
    account->connection = nullptr;
    account->online = false;
    account->visible = false;
    account->away = false;
}

ClientConnection *UserDirectory::connectionOf(const QByteArray &key) const
{
    const Account *account = find(key);
    return account ? account->connection : nullptr;
}

bool UserDirectory::isVisible(const QByteArray &key) const
{
    const Account *account = find(key);
    return account && account->visible;
}

QList<QByteArray> UserDirectory::visibleUsers() const
{
    QList<QByteArray> keys;
    for (const QByteArray &key : m_order) {
        if (isVisible(key))
            keys.append(key);
    }
    return keys;
}

QList<QByteArray> UserDirectory::buddiesOf(const QByteArray &key) const
{
    const Account *account = find(key);
    QList<QByteArray> names;
    for (const QByteArray &other : m_order) {
        if (other == key || (account && account->unlisted.contains(other)))
            continue;
        bool filed = false;
        if (account) {
            for (const auto &group : account->filed)
                filed = filed || group.second.contains(other);
        }
        if (!filed)
            names.append(displayName(other));
    }
    return names;
}

QList<UserDirectory::BuddyGroup> UserDirectory::filedGroupsOf(const QByteArray &key) const
{
    QList<BuddyGroup> groups;
    if (const Account *account = find(key)) {
        for (const auto &[group, keys] : account->filed) {
            QList<QByteArray> names;
            for (const QByteArray &buddy : keys) {
                const QByteArray alias = account->aliases.value(buddy);
                names.append(alias.isEmpty() ? displayName(buddy) : displayName(buddy) + ':' + alias);
            }
            groups.append({group, names});
        }
    }
    return groups;
}

bool UserDirectory::addBuddy(const QByteArray &key, const QByteArray &group, const QByteArray &buddyKey,
                             const QByteArray &alias)
{
    Account *account = find(key);
    if (!account || !isValidKey(buddyKey) || buddyKey == key || group.isEmpty() || group.contains('\n'))
        return false;
    const bool wasListed = hasBuddy(key, buddyKey);
    qsizetype filedCount = 0;
    for (const auto &entry : account->filed)
        filedCount += entry.second.size();
    auto found = std::find_if(account->filed.begin(), account->filed.end(),
                              [&](const auto &entry) { return entry.first == group; });
    if (found == account->filed.end()) {
        if (filedCount >= MaxFiledBuddies)
            return false;
        account->filed.append({group, {}});
        found = account->filed.end() - 1;
    }
    if (!found->second.contains(buddyKey) && filedCount < MaxFiledBuddies)
        found->second.append(buddyKey);
    if (found->second.contains(buddyKey)) {
        const bool keepable
            = !alias.isEmpty() && alias.size() <= MaxAliasLength && !alias.contains(':') && !alias.contains('\n');
        if (keepable)
            account->aliases.insert(buddyKey, alias);
        else
            account->aliases.remove(buddyKey);
    }
    account->unlisted.remove(buddyKey);
    return !wasListed && hasBuddy(key, buddyKey);
}

void UserDirectory::removeBuddy(const QByteArray &key, const QByteArray &group, const QByteArray &buddyKey)
{
    Account *account = find(key);
    if (!account)
        return;
    for (auto &entry : account->filed) {
        if (entry.first == group)
            entry.second.removeAll(buddyKey);
    }
    // Still filed in another group: it stays on the list, with its alias.
    if (std::any_of(account->filed.cbegin(), account->filed.cend(),
                    [&](const auto &entry) { return entry.second.contains(buddyKey); }))
        return;
    account->aliases.remove(buddyKey);
    if (hasBuddy(key, buddyKey) && find(buddyKey))
        account->unlisted.insert(buddyKey);
}

bool UserDirectory::hasBuddy(const QByteArray &key, const QByteArray &buddyKey) const
{
    const Account *account = find(key);
    if (!account || buddyKey == key)
        return false;
    for (const auto &entry : account->filed) {
        if (entry.second.contains(buddyKey))
            return true;
    }
    return find(buddyKey) && !account->unlisted.contains(buddyKey);
}

bool UserDirectory::addGroup(const QByteArray &key, const QByteArray &group)
{
    Account *account = find(key);
    if (!account || group.isEmpty() || group.contains('\n') || account->filed.size() >= MaxGroups)
        return false;
    const bool known = group == SharedGroup
        || std::any_of(account->filed.cbegin(), account->filed.cend(),
                       [&](const auto &entry) { return entry.first == group; });
    if (!known)
        account->filed.append({group, {}});
    return true;
}

bool UserDirectory::removeGroup(const QByteArray &key, const QByteArray &group)
{
    Account *account = find(key);
    if (!account)
        return false;
    const auto found = std::find_if(account->filed.begin(), account->filed.end(),
                                    [&](const auto &entry) { return entry.first == group; });
    const bool filed = found != account->filed.end();
    if (!filed && group != SharedGroup)
        return false;
    QList<QByteArray> members;
    if (filed) {
        members = found->second;
        account->filed.erase(found);
    }
    if (group == SharedGroup) {
        for (const QByteArray &other : m_order) {
            if (other != key && hasBuddy(key, other))
                members.append(other);
        }
    }
    // Each member leaves the list unless another group still holds them.
    for (const QByteArray &member : members) {
        const bool filedElsewhere = std::any_of(account->filed.cbegin(), account->filed.cend(),
                                                [&](const auto &entry) { return entry.second.contains(member); });
        if (!filedElsewhere && find(member))
            account->unlisted.insert(member);
    }
    return true;
}

QByteArray UserDirectory::displayName(const QByteArray &key) const
{
    const Account *account = find(key);
    return account ? account->displayName : key;
}

bool UserDirectory::setDisplayName(const QByteArray &key, const QByteArray &displayName)
{
    Account *account = find(key);
    if (!account || ScreenName::NormalizeName(displayName) != key)
        return false;
    account->displayName = displayName;
    return true;
}

ServerMessage::Presence UserDirectory::presence(const QByteArray &key) const
{
    ServerMessage::Presence presence;
    presence.name = displayName(key);
    if (const Account *account = find(key)) {
        presence.online = account->visible;
        presence.warningLevel = account->warningLevel;
        presence.signOnTime = account->visible ? account->signOnTime : 0;
        presence.away = account->visible && account->away;
        if (account->visible && account->idleSince > 0)
            presence.idleMinutes = int((QDateTime::currentSecsSinceEpoch() - account->idleSince) / 60);
    }
    return presence;
}

bool UserDirectory::isAway(const QByteArray &key) const
{
    const Account *account = find(key);
    return account && account->away;
}

bool UserDirectory::setAway(const QByteArray &key, bool away)
{
    Account *account = find(key);
    if (!account || account->away == away)
        return false;
    account->away = away;
    return true;
}

void UserDirectory::setIdle(const QByteArray &key, qint64 seconds)
{
    if (Account *account = find(key))
        account->idleSince = seconds > 0 ? QDateTime::currentSecsSinceEpoch() - seconds : 0;
}

void UserDirectory::setProfile(const QByteArray &key, const QByteArray &profile)
{
    if (Account *account = find(key))
        account->profile = profile;
}

QByteArray UserDirectory::profile(const QByteArray &key) const
{
    const Account *account = find(key);
    return account ? account->profile : QByteArray();
}

void UserDirectory::addDeny(const QByteArray &key, const QByteArray &deniedKey)
{
    if (Account *account = find(key); account && isValidKey(deniedKey))
        account->denied.insert(deniedKey);
}

void UserDirectory::removeDeny(const QByteArray &key, const QByteArray &deniedKey)
{
    if (Account *account = find(key))
        account->denied.remove(deniedKey);
}

void UserDirectory::addPermit(const QByteArray &key, const QByteArray &permittedKey)
{
    if (Account *account = find(key); account && isValidKey(permittedKey))
        account->permitted.insert(permittedKey);
}

void UserDirectory::removePermit(const QByteArray &key, const QByteArray &permittedKey)
{
    if (Account *account = find(key))
        account->permitted.remove(permittedKey);
}

QList<QByteArray> UserDirectory::permittedNames(const QByteArray &key) const
{
    const Account *account = find(key);
    return account ? sorted(account->permitted) : QList<QByteArray>();
}

QList<QByteArray> UserDirectory::deniedNames(const QByteArray &key) const
{
    const Account *account = find(key);
    return account ? sorted(account->denied) : QList<QByteArray>();
}

void UserDirectory::setPrivacyMode(const QByteArray &key, int mode)
{
    if (Account *account = find(key); account && mode >= PermitAll && mode <= PermitBuddies)
        account->privacyMode = mode;
}

int UserDirectory::privacyMode(const QByteArray &key) const
{
    const Account *account = find(key);
    return account ? account->privacyMode : int(PermitAll);
}

bool UserDirectory::blocks(const QByteArray &recipient, const QByteArray &sender) const
{
    const Account *account = find(recipient);
    if (!account)
        return false;
    switch (account->privacyMode) {
    case DenyAll:
        return true;
    case PermitSome:
        return !account->permitted.contains(sender);
    case DenySome:
        // The deny list keeps people out only in this mode, as on the real
        // network: blocking somebody does not change the mode by itself.
        return account->denied.contains(sender);
    case PermitBuddies:
        return !hasBuddy(recipient, sender);
    default:
        return false;
    }
}

int UserDirectory::warn(const QByteArray &key, bool anonymous)
{
    Account *account = find(key);
    if (!account)
        return 0;
    account->warningLevel = std::min(MaxWarning, account->warningLevel + (anonymous ? AnonymousWarning : NamedWarning));
    return account->warningLevel;
}

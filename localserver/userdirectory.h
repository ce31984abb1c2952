#pragma once

// UserDirectory: every account the server has seen (display name, roasted
// password, profile, privacy settings, warning level) and who is online now.
// Accounts live as long as the server; the first sign-on of a name sets its
// password. Keys are normalized screen names. It sends nothing itself.

#include "servermessages.h"
#include "session/tocprotocol.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>
#include <utility>

class ClientConnection;

class UserDirectory
{
public:
    // Sign-ons of new names stop here, so a flood of made-up names cannot
    // grow every user's buddy list without end.
    static constexpr int MaxAccounts = 2000;
    static constexpr int MaxNameLength = 32;

    enum class LoginResult { Accepted, WrongPassword, InvalidName, Full };
    // Privacy modes of toc2_set_pdmode.
    using PrivacyMode = TocProtocol::PrivacyMode;
    using enum TocProtocol::PrivacyMode;

    // A screen name this server can carry in colon-separated messages:
    // lower-case letters, digits and . _ - @, 1 to MaxNameLength bytes.
    static bool isValidKey(QByteArrayView key);

    // Adds an account that is always online and has no connection (the bot).
    void addResident(const QByteArray &displayName);
    bool isResident(const QByteArray &key) const;

    // Checks the name and roasted password; a new valid name becomes an account.
    LoginResult checkLogin(const QByteArray &typedName, const QByteArray &roastedPassword);
    bool changePassword(const QByteArray &key, const QByteArray &roastedOld, const QByteArray &roastedNew);

    void setOnline(const QByteArray &key, ClientConnection *connection, qint64 signOnTime);
    // Visible once the client has said its sign-on is done.
    void setVisible(const QByteArray &key);
    void setOffline(const QByteArray &key);
    ClientConnection *connectionOf(const QByteArray &key) const;
    // Online and visible to others; residents always are.
    bool isVisible(const QByteArray &key) const;
    // Keys of everybody visible, residents included.
    QList<QByteArray> visibleUsers() const;
    // Buddy lists: every account starts with all the others in one shared
    // group; a user may file buddies in groups of their own and take anyone
    // off. Presence is reported only to users whose list holds the name.
    using BuddyGroup = std::pair<QByteArray, QList<QByteArray>>;
    static constexpr int MaxFiledBuddies = 500;
    // Longer aliases are not kept.
    static constexpr int MaxAliasLength = 64;
    // Display names of every account in the shared group of key's list.
    QList<QByteArray> buddiesOf(const QByteArray &key) const;
    // Groups of key's own, with the buddies filed in each as their stored
    // configuration names them: the display name, then ':' and the alias
    // when one was given.
    QList<BuddyGroup> filedGroupsOf(const QByteArray &key) const;
    // Files the buddy with the alias given (none clears an earlier one).
    // Whether the buddy was not on the list before.
    bool addBuddy(const QByteArray &key, const QByteArray &group, const QByteArray &buddyKey,
                  const QByteArray &alias = QByteArray());
    void removeBuddy(const QByteArray &key, const QByteArray &group, const QByteArray &buddyKey);
    bool hasBuddy(const QByteArray &key, const QByteArray &buddyKey) const;
    // Groups as Open OSCAR Server keeps them: a new group is empty until
    // buddies are filed in it, and deleting a group takes its buddies off
    // the list. The shared group always exists; deleting it empties it.
    static constexpr int MaxGroups = 100;
    static inline const QByteArray SharedGroup = QByteArrayLiteral("Buddies");
    bool addGroup(const QByteArray &key, const QByteArray &group);
    // Whether there was such a group.
    bool removeGroup(const QByteArray &key, const QByteArray &group);

    QByteArray displayName(const QByteArray &key) const;
    // Only capitals and spaces may change; false when the name is another one.
    bool setDisplayName(const QByteArray &key, const QByteArray &displayName);
    ServerMessage::Presence presence(const QByteArray &key) const;
    bool isAway(const QByteArray &key) const;
    // Whether the away state changed.
    bool setAway(const QByteArray &key, bool away);
    // Idle for the seconds given, counted on from now; 0 is not idle.
    void setIdle(const QByteArray &key, qint64 seconds);
    void setProfile(const QByteArray &key, const QByteArray &profile);
    QByteArray profile(const QByteArray &key) const;

    void addDeny(const QByteArray &key, const QByteArray &deniedKey);
    void removeDeny(const QByteArray &key, const QByteArray &deniedKey);
    void addPermit(const QByteArray &key, const QByteArray &permittedKey);
    void removePermit(const QByteArray &key, const QByteArray &permittedKey);
    QList<QByteArray> permittedNames(const QByteArray &key) const;
    QList<QByteArray> deniedNames(const QByteArray &key) const;
    void setPrivacyMode(const QByteArray &key, int mode);
    int privacyMode(const QByteArray &key) const;
    // Whether recipient's privacy settings keep messages from sender out.
    bool blocks(const QByteArray &recipient, const QByteArray &sender) const;

    // Raises the warning level, capped at 100; returns the new level.
    int warn(const QByteArray &key, bool anonymous);

private:
    struct Account
    {
        QByteArray displayName;
        QByteArray roastedPassword;
        QByteArray profile;
        QSet<QByteArray> denied;
        QSet<QByteArray> permitted;
        QList<std::pair<QByteArray, QList<QByteArray>>> filed; // group, buddy keys
        QSet<QByteArray> unlisted; // taken off the shared group
        QHash<QByteArray, QByteArray> aliases; // by filed buddy key
        int privacyMode = PermitAll;
        int warningLevel = 0;
        bool resident = false;
        // Online state.
        ClientConnection *connection = nullptr;
        bool online = false;
        bool visible = false;
        bool away = false;
        qint64 signOnTime = 0;
        qint64 idleSince = 0; // seconds since the epoch; 0 while not idle
    };

    Account *find(const QByteArray &key);
    const Account *find(const QByteArray &key) const;

    QHash<QByteArray, Account> m_accounts;
    // Sign-up order, so buddy lists come out the same way every time.
    QList<QByteArray> m_order;
};

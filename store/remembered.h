#pragma once

// Remembered: the one owner of the settings file. It keeps what the user asked
// Qiv to keep between runs: with "Remember me" the sign-on fields, the server
// and the preferences (whether the password is kept too, and where, is
// KeptPassword's business), and on its own the "Keep a history" and "Keep
// history for" choices. With "Remember me" off it reads and writes nothing of
// the first kind, so every start begins from the defaults.

#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <optional>

class QSettings;

// Where Qiv may keep things on disk; empty paths keep nothing beyond the run.
struct KeptPlaces
{
    QString settingsFile;
    QString historyFolder;

    // ~/.config/Qiv/Qiv.conf and ~/.local/share/Qiv/history, or wherever the
    // desktop's XDG variables put them.
    static KeptPlaces standard();
};

class Remembered
{
    Q_DISABLE_COPY_MOVE(Remembered)
public:
    // What "Remember me" keeps, besides the password.
    enum class Key {
        ScreenName,
        Server, // "host:port", as given on the command line
        StylePrefix, // the message style prefix in force
        FontFace, // the preferences' font fields, as last confirmed
        FontColor,
        FontBackground,
        Privacy, // the privacy mode chosen, 1 to 5; absent when never chosen
        ImClearAfterSend, // the last choice made in a conversation window
        ChatClearOnSend, // the last choice made in a chat-room window
        ShowBuddyStatus, // the preferences' Buddy List page, as last confirmed
        ShowBuddyGroups,
        AnnounceBuddies,
        TellIdle,
        IdleMinutes,
        SignOnAgain, // "Sign on again if the connection drops"
        ShowTimestamps, // the preferences' Conversations page, as last confirmed
    };

    // settingsFile need not exist; it is written only when something is kept.
    explicit Remembered(const QString &settingsFile = QString());
    ~Remembered();

    // "Remember me". Turning it on writes everything known so far; turning it
    // off deletes everything it kept, the password with it.
    bool isOn() const { return m_on; }
    void setOn(bool on);

    // "Remember password": whether the password is kept too; only meaningful
    // while isOn(). Turning it off also forgets an unencrypted copy.
    bool keepsPassword() const { return m_keepsPassword; }
    void setKeepsPassword(bool keep);

    // A password in this file in plain text: written with the user's word
    // for it when no keyring answered, or by an earlier Qiv that knew no
    // keyring. Absent while "Remember password" is off.
    std::optional<QString> unencryptedPassword() const;
    bool unencryptedAgreed() const { return m_unencryptedAgreed; }
    // Only with the user's word that it may lie here unencrypted.
    void keepUnencrypted(const QString &password);
    void forgetUnencrypted();
    // Whether anything is kept beyond the run at all; without a settings
    // file the password goes nowhere either, not even to a keyring.
    bool keepsOnDisk() const { return m_file != nullptr; }

    // A kept value, or a null QVariant while "Remember me" is off: without it
    // Qiv behaves as if nothing had ever been chosen.
    QVariant value(Key key) const;
    // Known for the rest of the run and written at once while isOn().
    void setValue(Key key, const QVariant &value);

    // "Keep a history": a choice of its own, kept whenever it is on.
    bool keepsHistory() const { return m_keepsHistory; }
    void setKeepsHistory(bool keep);

    // "Keep history for": how old a kept line may grow before it is deleted.
    // A choice of its own too, kept whenever it is not Forever.
    enum class HistoryAge { Forever, Year, Month, Week };
    HistoryAge keepHistoryFor() const { return m_keepHistoryFor; }
    void setKeepHistoryFor(HistoryAge age);

private:
    void writeAll();
    void write(const QString &name, const QVariant &value);
    void remove(const QStringList &names);
    // Drops the file once it holds nothing, and keeps it private while it does.
    void settle();

    std::unique_ptr<QSettings> m_file;
    QVariantMap m_values;
    std::optional<QString> m_unencrypted;
    bool m_on = false;
    bool m_keepsPassword = false;
    bool m_unencryptedAgreed = false;
    bool m_keepsHistory = false;
    HistoryAge m_keepHistoryFor = HistoryAge::Forever;
};

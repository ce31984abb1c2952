// The remembered password in a real desktop keyring: every test runs inside
// tests/support/with-test-keyring, with gnome-keyring on a bus of its own.

#include "store/keptpassword.h"
#include "store/passwordvault.h"
#include "store/remembered.h"

#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {
class KeyringTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_EQ(qgetenv("QIV_TEST_KEYRING"), "1") << "run through with-test-keyring"; }

    // What the keyring holds for Qiv, asked behind every job started before.
    static std::optional<QString> passwordInKeyring()
    {
        PasswordVault vault;
        std::optional<PasswordVault::Answer> answer;
        vault.read([&](const PasswordVault::Answer &a) { answer = a; });
        EXPECT_TRUE(QTest::qWaitFor([&] { return answer.has_value(); }, 10000)) << "the keyring did not answer";
        if (answer && answer->outcome == PasswordVault::Outcome::Done)
            return answer->password;
        return std::nullopt;
    }

    QByteArray settingsText() const
    {
        QFile file(settings);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // As an earlier Qiv left it: the password in plain text and nothing else.
    void writeEarlierSettings(const QByteArray &password)
    {
        QFile file(settings);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[SignOn]\nRememberMe=true\nScreenName=Some Body\nPassword=" + password + "\n");
    }

    QTemporaryDir folder;
    const QString settings = folder.filePath(QStringLiteral("Qiv.conf"));
    const KeptPassword::MayKeepUnencrypted noQuestion = [] {
        ADD_FAILURE() << "asked to keep the password unencrypted";
        return false;
    };
};
} // namespace

TEST_F(KeyringTest, ThePasswordLivesInTheKeyringOnlyAndUntickingRemovesIt)
{
    {
        Remembered remembered(settings);
        remembered.setOn(true);
        KeptPassword kept(remembered, noQuestion);
        kept.setKept(true, QStringLiteral("hunter2"));
        EXPECT_EQ(passwordInKeyring(), QStringLiteral("hunter2"));
        kept.update(QStringLiteral("pässword 2"));
        EXPECT_EQ(passwordInKeyring(), QStringLiteral("pässword 2"));
    }
    EXPECT_TRUE(settingsText().contains("KeepPassword=true"));
    EXPECT_FALSE(settingsText().contains("ssword 2")) << settingsText().toStdString();

    Remembered restarted(settings);
    KeptPassword kept(restarted, noQuestion);
    QSignalSpy arrived(&kept, &KeptPassword::arrived);
    kept.load();
    ASSERT_TRUE(arrived.wait(10000));
    EXPECT_EQ(arrived.at(0).at(0).toString(), QStringLiteral("pässword 2"));
    kept.setKept(false, QString());
    EXPECT_EQ(passwordInKeyring(), std::nullopt);
    EXPECT_FALSE(settingsText().contains("Password"));
}

TEST_F(KeyringTest, APasswordInTheSettingsFileMovesToTheKeyringAndLeavesTheFile)
{
    writeEarlierSettings("old secret");
    Remembered remembered(settings);
    KeptPassword kept(remembered, noQuestion);
    QSignalSpy arrived(&kept, &KeptPassword::arrived);
    kept.load();
    EXPECT_EQ(passwordInKeyring(), QStringLiteral("old secret"));
    EXPECT_EQ(arrived.size(), 1);
    EXPECT_FALSE(settingsText().contains("old secret"));
    EXPECT_TRUE(Remembered(settings).keepsPassword());
}

TEST_F(KeyringTest, ALockedKeyringRefusesAndThePasswordStaysWhereItWas)
{
    writeEarlierSettings("old secret");
    // Unlocking it again would need a person at a prompt, which nobody answers.
    QProcess lock;
    lock.start(QStringLiteral("dbus-send"),
               {"--session", "--print-reply", "--dest=org.freedesktop.secrets", "/org/freedesktop/secrets",
                "org.freedesktop.Secret.Service.Lock", "array:objpath:/org/freedesktop/secrets/collection/login"});
    ASSERT_TRUE(lock.waitForFinished(10000));
    ASSERT_EQ(lock.exitCode(), 0) << lock.readAllStandardError().toStdString();

    Remembered remembered(settings);
    KeptPassword kept(remembered, noQuestion);
    QSignalSpy arrived(&kept, &KeptPassword::arrived);
    QSignalSpy trouble(&kept, &KeptPassword::trouble);
    kept.load();
    ASSERT_TRUE(trouble.wait(10000));
    EXPECT_EQ(trouble.at(0).at(0).value<KeptPassword::Trouble>(), KeptPassword::Trouble::WriteRefused);
    EXPECT_EQ(arrived.size(), 1);
    EXPECT_TRUE(kept.isKept());
    EXPECT_TRUE(settingsText().contains("Password=old secret"));
}

#include "serverfixture.h"

#include "main/chatslots.h"
#include "session/signonflow.h"

#include <QCheckBox>
#include <QLabel>
#include <QTest>
#include <QTextEdit>

void ServerFixture::SetUp()
{
    peer = makePeer(GetParam());
    if (const QString why = peer->unavailableReason(); !why.isEmpty())
        return unavailable(why);
    const QString failure = peer->start();
    ASSERT_TRUE(failure.isEmpty()) << failure.toStdString();
}

void ServerFixture::unavailable(const QString &why)
{
    if (peersRequired())
        FAIL() << why.toStdString();
    GTEST_SKIP() << why.toStdString();
}

void ServerFixture::account(const QString &name, bool unlimited)
{
    const QByteArray wireName = name.toUtf8();
    ASSERT_TRUE(peer->createAccount(wireName, Password.toUtf8())) << name.toStdString();
    if (unlimited && peer->canExemptFromRateLimits()) {
        ASSERT_TRUE(peer->exemptFromRateLimits(wireName)) << name.toStdString();
    }
}

std::unique_ptr<DesktopUser> ServerFixture::signedOn(const QString &name, quint16 port, int firstRetryWaitMs,
                                                     int timeoutMs)
{
    auto user = std::make_unique<DesktopUser>(port ? port : peer->tocPort());
    if (firstRetryWaitMs > 0) {
        user->main.chkSignOnAgain->setChecked(true);
        user->main.signOnFlow().setRetryWaits(firstRetryWaitMs, 4 * firstRetryWaitMs);
    }
    EXPECT_TRUE(user->signOn(name, Password, timeoutMs))
        << name.toStdString() << " did not sign on; it says " << user->main.lbStat->text().toStdString();
    return user;
}

bool ServerFixture::backIn(DesktopUser &user, const QList<ChatSlots::Room> &rooms, int timeoutMs)
{
    return QTest::qWaitFor([&] { return user.isSignedOn() && user.main.chatSlots().roomsInUse() == rooms; }, timeoutMs);
}

QStringList ServerFixture::noticesShown(const DesktopUser &user)
{
    QStringList notices;
    for (const ScriptedDialogs::Shown &box : user.dialogs.shown) {
        if (box.kind == ScriptedDialogs::Shown::Notice)
            notices << box.text;
    }
    return notices;
}

QStringList ServerFixture::linesOf(const QTextEdit *view)
{
    QStringList lines = view->toPlainText().split(QLatin1Char('\n'));
    lines.removeAll(QString());
    return lines;
}

// Windows open at their classic sizes and grow: the transcripts and lists
// take the added room, and the buddy list's caption is never cut.

#include "desktopfixture.h"

#include "main/awaymessages.h"
#include "main/frmaimaway.h"
#include "uniformlistview.h"

#include <QFontMetrics>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>

namespace {
// Grows window by extra and tells how much bigger part became.
QSize growth(QWidget *window, QWidget *part, QSize extra = QSize(200, 150))
{
    const QSize before = part->size();
    window->resize(window->size() + extra);
    (void)QTest::qWaitFor([&] { return part->size() != before; }, 1000);
    return part->size() - before;
}

using WindowSizeTest = DesktopTest;
} // namespace

TEST_F(WindowSizeTest, WindowsOpenAtTheirClassicSizesAndGiveAddedRoomToTheirText)
{
    EXPECT_EQ(main->size(), QSize(180, 435));
    signOn();
    EXPECT_GT(growth(main.get(), main->lstBuddyson).height(), 100);

    frmAimIM *im = openConversation();
    ASSERT_NE(im, nullptr);
    EXPECT_EQ(im->size(), QSize(419, 214));
    const QSize imGrowth = growth(im, im->txtIM);
    EXPECT_EQ(imGrowth.width(), 200);
    EXPECT_EQ(imGrowth.height(), 150) << "the entry box and the buttons keep their height";

    frmAimChat *room = joinRoom();
    EXPECT_EQ(growth(room, room->txtChat), QSize(200, 150));

    auto *away = static_cast<frmAimAway *>(goAway());
    EXPECT_EQ(away->size(), QSize(259, 129));
    EXPECT_GT(growth(away, away->txtAway).height(), 100);

    frmCredits *credits = openCredits();
    EXPECT_EQ(growth(credits, credits->lstCredits), QSize(200, 150));
    frmAbout *about = openAbout();
    EXPECT_EQ(about->size(), QSize(420, 260));
    EXPECT_LT(about->minimumSize().width(), about->maximumSize().width());
}

TEST_F(WindowSizeTest, TheBuddyListWidensForItsCaptionAndShortensOnlyAVeryLongName)
{
    signOn("Some Body");
    const QFontMetrics metrics(main->font());
    EXPECT_EQ(main->windowTitle(), QStringLiteral("Qiv - somebody's Buddy List"));
    EXPECT_GT(main->width(), metrics.horizontalAdvance(main->windowTitle()));

    main->cmdLogoff->click();
    const QByteArray longName = QByteArray(30, 'a') + "middle" + QByteArray(30, 'z');
    signOn(longName);
    const QString caption = main->windowTitle();
    EXPECT_TRUE(caption.startsWith(QStringLiteral("Qiv - aaa"))) << caption.toStdString();
    EXPECT_TRUE(caption.endsWith(QStringLiteral("zzz's Buddy List"))) << caption.toStdString();
    EXPECT_TRUE(caption.contains(QChar(0x2026)) && !caption.contains(QStringLiteral("middle")));
    EXPECT_EQ(main->strMyName, QString::fromLatin1(longName)) << "only the caption is shortened";
    EXPECT_GT(main->width(), metrics.horizontalAdvance(caption));
}

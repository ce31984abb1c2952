// Windows open at their classic sizes and grow: the transcripts and lists
// take the added room, and the buddy list's caption is never cut.

#include "desktopfixture.h"

#include "main/awaymessages.h"
#include "main/frmaimaway.h"

#include <QFontMetrics>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>

namespace {
// How much of 200 x 150 more than the classic size part gets.
QSize growth(QWidget *window, QSize classic, QWidget *part)
{
    EXPECT_EQ(window->size(), classic) << window->objectName().toStdString();
    const QSize before = part->size();
    window->resize(classic + QSize(200, 150));
    (void)QTest::qWaitFor([&] { return part->size() != before; }, 1000);
    return part->size() - before;
}
} // namespace

TEST_F(DesktopTest, WindowsOpenAtTheirClassicSizesAndGiveAddedRoomToTheirText)
{
    EXPECT_GT(growth(main.get(), QSize(180, 435), main->Frame2).height(), 100);
    signOn();
    frmAimIM *im = openConversation();
    EXPECT_EQ(growth(im, QSize(419, 214), im->txtIM), QSize(200, 150)) << "entry box and buttons keep their size";
    auto *away = static_cast<frmAimAway *>(goAway());
    EXPECT_EQ(growth(away, QSize(259, 129), away->txtAway), QSize(200, 150));
    frmCredits *credits = openCredits();
    EXPECT_EQ(growth(credits, QSize(403, 270), credits->lstCredits), QSize(200, 150));
    frmAbout *about = openAbout();
    EXPECT_GT(growth(about, QSize(420, 260), about->lblDisclaimer).width(), 100);
}

TEST_F(DesktopTest, TheBuddyListWidensForItsCaptionAndShortensOnlyAVeryLongName)
{
    const QFontMetrics metrics(main->font());
    signOn("Some Body");
    EXPECT_GT(main->width(), metrics.horizontalAdvance(QStringLiteral("Qiv - somebody's Buddy List")) + 100);

    main->cmdLogoff->click();
    const QByteArray longName = QByteArray(30, 'a') + "middle" + QByteArray(30, 'z');
    signOn(longName);
    const QString caption = main->windowTitle();
    EXPECT_TRUE(caption.startsWith(QStringLiteral("Qiv - aaa")) && caption.endsWith(QStringLiteral("zzz's Buddy List"))
                && caption.contains(QChar(0x2026)) && !caption.contains(QStringLiteral("middle")))
        << caption.toStdString();
    EXPECT_EQ(main->strMyName, QString::fromLatin1(longName)) << "only the caption is shortened";
    EXPECT_GT(main->width(), metrics.horizontalAdvance(caption));
}

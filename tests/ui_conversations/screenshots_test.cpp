// Pictures of the conversation and away windows, saved for a person to look
// at; the test also holds the windows to their intended sizes.

#include "conversationfixture.h"
#include "main/frmaimaway.h"
#include "screenshots.h"

#include <QLineEdit>
#include <QTest>

namespace {

using ScreenshotTest = ConversationTest;

TEST_F(ScreenshotTest, ConversationAndAwayWindowsKeepTheirSizeAndCanBePictured)
{
    receiveIm("Some Body", "<b>hey</b>, are you coming to the <i>meeting</i> at 3?");
    frmAimIM *window = conversations().first();
    window->txtMessage->setText(QStringLiteral("Yes, on my way."));
    QTest::keyClick(window->txtMessage, Qt::Key_Return);
    away.setDefaultAway();
    receiveIm("Some Body", "ok, see you there");
    window->txtMessage->setText(QStringLiteral("Typing a reply..."));

    EXPECT_EQ(window->size(), QSize(419, 214));
    EXPECT_EQ(away.window().size(), QSize(259, 129));
    EXPECT_TRUE(saveScreenshot(window, QStringLiteral("conversation")));
    EXPECT_TRUE(saveScreenshot(&away.window(), QStringLiteral("away")));
}

} // namespace

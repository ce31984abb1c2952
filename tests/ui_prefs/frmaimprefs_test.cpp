// The preferences window: the style prefix, privacy, profile, password, the
// pages, and what survives hiding and closing.

#include "prefs/conversationprefs.h"
#include "prefs/frmaimprefs.h"
#include "prefs/preferenceslauncher.h"
#include "prefs/privacyprefs.h"
#include "productinfo.h"
#include "sessionharness.h"

#include <QAccessible>
#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>
#include <functional>

using Shown = ScriptedDialogs::Shown;

namespace {
const QString InitialPrefix = QStringLiteral(R"(<body bgcolor=""#EEEEEE""><font face=""Trebuchet MS"">)");
} // namespace

class PrefsTest : public ::testing::Test
{
protected:
    SessionHarness session;
    PreferencesLauncher launcher{session.context, nullptr};
    frmAimPrefs *w = nullptr;

    void SetUp() override
    {
        session.txtFont.setText(InitialPrefix);
        launcher.show();
        w = launcher.window();
        ASSERT_NE(w, nullptr);
    }
    void TearDown() override { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    void click(QPushButton *button) { QTest::mouseClick(button, Qt::LeftButton); }
};

TEST_F(PrefsTest, OkWithoutEditsGivesTheSixtyTwoCharacterPrefixAndHides)
{
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Qiv - Preferences"));
    EXPECT_FALSE(w->privacyAll->isChecked());
    EXPECT_FALSE(w->privacyNone->isChecked());
    click(w->cmdOK);

    // The face in single quotes: a double quote followed by a space would cut
    // every message short on Open OSCAR Server.
    const QString expected = QStringLiteral(R"(<font face='Trebuchet MS' color=#000000><body bgcolor=#EEEEEE>)");
    EXPECT_EQ(session.txtFont.text(), expected);
    EXPECT_EQ(session.txtFont.text().size(), 62);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(launcher.window(), w) << "OK only hides";
    EXPECT_TRUE(session.sentLines().isEmpty()) << "no privacy option was chosen";
}

TEST_F(PrefsTest, FontFieldsAreTakenAsTypedEvenWhenEmpty)
{
    const struct
    {
        QString face, color, background, prefix;
    } cases[] = {
        {"", "", "", R"(<font face='' color=><body bgcolor=>)"},
        {" Arial's ", "#1\"2", "<x>", R"(<font face=' Arial&#39;s ' color=#1&quot;2><body bgcolor=&lt;x&gt;>)"},
    };
    for (const auto &c : cases) {
        w->txtFface->setText(c.face);
        w->txtFcolor->setText(c.color);
        w->txtFbackground->setText(c.background);
        click(w->cmdOK);
        EXPECT_EQ(session.txtFont.text(), c.prefix);
    }
}

TEST_F(PrefsTest, CancelAppliesNothingAndTheEditsWaitForTheNextOk)
{
    w->txtFface->setText(QStringLiteral("Verdana"));
    w->privacyNone->setChecked(true);
    click(w->cmdCancel);

    EXPECT_EQ(session.txtFont.text(), InitialPrefix);
    EXPECT_TRUE(session.sentLines().isEmpty());
    EXPECT_FALSE(w->isVisible());

    launcher.show();
    EXPECT_EQ(launcher.window(), w);
    EXPECT_EQ(w->txtFface->text(), QStringLiteral("Verdana"));
    click(w->cmdOK);
    EXPECT_EQ(session.txtFont.text(), QStringLiteral(R"(<font face='Verdana' color=#000000><body bgcolor=#EEEEEE>)"));
    EXPECT_EQ(session.sentLines(), QList<QByteArray>{"toc2_set_pdmode 2"});
}

TEST_F(PrefsTest, PrivacyIsSentAtEveryOkOnceAnOptionIsChosen)
{
    click(w->cmdOK);
    EXPECT_TRUE(session.sentLines().isEmpty());

    w->privacyAll->setChecked(true);
    click(w->cmdOK);
    EXPECT_EQ(session.sentLines(), QList<QByteArray>{"toc2_set_pdmode 1"});

    w->privacyNone->setChecked(true);
    EXPECT_FALSE(w->privacyAll->isChecked());
    click(w->cmdOK);
    click(w->cmdOK);
    EXPECT_EQ(session.sentLines(), (QList<QByteArray>{"toc2_set_pdmode 2", "toc2_set_pdmode 2"}));
}

TEST_F(PrefsTest, ThePrivacyPageOffersEveryModeAndEditsTheListsStoredOnTheServer)
{
    PrivacyPrefs *page = w->privacyPrefs;
    auto shown = [](QListWidget *list) {
        QStringList names;
        for (int row = 0; row < list->count(); ++row)
            names << list->item(row)->text();
        return names;
    };
    // The stored lists and mode arrive while the window is open.
    session.serverSays("CONFIG2:p:Pal\np:Other One\nd:Pest\nm:3\ndone:\n");
    EXPECT_EQ(shown(page->lstPermit), QStringList({"Other One", "Pal"}));
    EXPECT_EQ(shown(page->lstBlock), QStringList{"Pest"});
    EXPECT_EQ(page->lbPrivacyNow->text(), QStringLiteral("Now only the people on your allow list may reach you."));
    EXPECT_EQ(page->chosenMode(), 0) << "showing the mode in force chooses nothing";
    session.sentLines();

    // Each option is sent at OK as its mode, and kept; allowing all while
    // somebody is blocked keeps the blocked out.
    session.remembered.setOn(true);
    const std::pair<QRadioButton *, QByteArray> modes[] = {{page->privacySome, "toc2_set_pdmode 3"},
                                                           {page->privacyDenySome, "toc2_set_pdmode 4"},
                                                           {page->privacyBuddies, "toc2_set_pdmode 5"},
                                                           {page->privacyNone, "toc2_set_pdmode 2"},
                                                           {page->privacyAll, "toc2_set_pdmode 4"}};
    for (const auto &[option, line] : modes) {
        option->setChecked(true);
        click(w->cmdOK);
        EXPECT_EQ(session.sentLines(), QList<QByteArray>{line});
        EXPECT_EQ(session.remembered.value(Remembered::Key::Privacy).toInt(), page->chosenMode());
    }
    EXPECT_EQ(page->lbPrivacyNow->text(),
              QStringLiteral("Now everyone but the people on your block list may reach you."));

    // The lists change on the server at once, without OK.
    session.dialogs.textAnswers = {QStringLiteral(" New Pal "), QStringLiteral("Troll")};
    click(page->cmdAddPermit);
    page->lstPermit->setCurrentRow(shown(page->lstPermit).indexOf(QStringLiteral("Pal")));
    click(page->cmdRemovePermit);
    click(page->cmdAddBlock);
    page->lstBlock->setCurrentRow(0);
    click(page->cmdRemoveBlock);
    EXPECT_EQ(session.sentLines(),
              (QList<QByteArray>{R"(toc2_add_permit "newpal")", R"(toc2_remove_permit "pal")",
                                 R"(toc2_add_deny "troll")", R"(toc2_remove_deny "pest")"}));
    EXPECT_EQ(shown(page->lstPermit), QStringList({"New Pal", "Other One"}));
    EXPECT_EQ(shown(page->lstBlock), QStringList{"Troll"});

    // Changes another session of the user's made, as the server reports them.
    session.serverSays("INSERTED2:p:Far Friend");
    session.serverSays("DELETED2:d:troll");
    EXPECT_EQ(shown(page->lstPermit), QStringList({"Far Friend", "New Pal", "Other One"}));
    EXPECT_TRUE(shown(page->lstBlock).isEmpty());
    EXPECT_FALSE(page->cmdRemoveBlock->isEnabled());

    session.socket->close();
    session.dialogs.textAnswers = {QStringLiteral("Late")};
    click(page->cmdAddPermit);
    EXPECT_EQ(w->lbStatus->text(),
              QStringLiteral("The request to allow Late was not sent because Qiv is not signed on."));
    EXPECT_EQ(shown(page->lstPermit).size(), 3);
}

TEST_F(PrefsTest, TimestampsAreTurnedOnByOkOnly)
{
    session.remembered.setOn(true);
    w->conversationsPage->chkTimestamps->setChecked(true);
    click(w->cmdCancel);
    EXPECT_FALSE(session.options.showsTimes());
    launcher.show();
    click(w->cmdOK);
    EXPECT_TRUE(session.options.showsTimes());
    EXPECT_TRUE(session.remembered.value(Remembered::Key::ShowTimestamps).toBool());
}

TEST_F(PrefsTest, SetProfileAddsTheFooterAndRefusesAProfileTooLongToSend)
{
    const QByteArray footer = "<hr>I'm using Qiv, get it at " + ProductInfo::WebAddress.toUtf8();
    const QByteArray defaultProfile = R"(<body bgcolor=\"#EEEEEE\"><font face=\"Trebuchet MS\">I'm using <a href=\")"
        + ProductInfo::WebAddress.toUtf8() + R"(\">Qiv</a> beta release.</font></body>)";

    click(w->cmdSetProfile);
    EXPECT_EQ(session.sentLines(), QList<QByteArray>{"toc_set_info \"" + defaultProfile + footer + '"'});

    w->txtProfile->setPlainText(QString());
    click(w->cmdSetProfile);
    EXPECT_EQ(session.sentLines(), QList<QByteArray>{"toc_set_info \"" + footer + '"'});
    EXPECT_TRUE(session.dialogs.shown.isEmpty());

    // Escaping doubles these brackets past the limit although the text is shorter.
    const QString tooLong(1000, QLatin1Char('['));
    w->txtProfile->setPlainText(tooLong);
    click(w->cmdSetProfile);
    EXPECT_TRUE(session.sentLines().isEmpty());
    ASSERT_EQ(session.dialogs.shown.size(), 1);
    EXPECT_EQ(session.dialogs.shown[0].kind, Shown::Notice);
    EXPECT_TRUE(session.dialogs.shown[0].text.contains(QStringLiteral("too long")));
    EXPECT_EQ(w->txtProfile->toPlainText(), tooLong);
}

TEST_F(PrefsTest, ChangePasswordSendsBothFieldsAsTypedAndKeepsThem)
{
    w->txtOldpw->setText(QStringLiteral("old$pw"));
    w->txtNewpw->setText(QStringLiteral("new pw"));
    click(w->cmdChangepw);
    EXPECT_EQ(session.sentLines(), QList<QByteArray>{R"(toc_change_passwd "old\$pw" "new pw")"});
    EXPECT_EQ(w->txtOldpw->text(), QStringLiteral("old$pw"));
}

TEST_F(PrefsTest, EachCategoryShowsItsPageAndHidesAllOthers)
{
    const struct
    {
        int index;
        QString label, page;
    } categories[] = {
        {0, "Privacy", "Privacy"},         {1, "Font", "Font"},       {3, "Change Pass", "Change Password"},
        {4, "Format Name", "Format Name"}, {5, "Profile", "Profile"}, {7, "Conversations", "Conversations"},
    };
    EXPECT_EQ(w->lbMenu[2], nullptr);
    EXPECT_EQ(w->f[2], nullptr);
    EXPECT_TRUE(w->f[frmAimPrefs::FirstPage]->isVisible());

    for (const auto &c : categories) {
        ASSERT_NE(w->lbMenu[c.index], nullptr);
        EXPECT_EQ(w->lbMenu[c.index]->text(), c.label);
        click(w->lbMenu[c.index]);
        for (int other = 0; other < frmAimPrefs::PageSlots; ++other) {
            if (w->f[other]) {
                EXPECT_EQ(w->f[other]->isVisible(), other == c.index) << c.index << " vs " << other;
            }
        }
        EXPECT_EQ(w->f[c.index]->title(), c.page);
        saveScreenshot(w, QStringLiteral("prefs_%1").arg(c.index));
    }
}

TEST_F(PrefsTest, EveryWayOfChoosingACategoryShowsItsPage)
{
    // A screen reader's toggle checks the button without clicking it; the
    // page must follow the check, whoever set it.
    auto viaToggleAction = [](QPushButton *b) {
        QAccessibleInterface *face = QAccessible::queryAccessibleInterface(b);
        ASSERT_NE(face, nullptr);
        ASSERT_NE(face->actionInterface(), nullptr);
        face->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    };
    auto viaSpace = [](QPushButton *b) { QTest::keyClick(b, Qt::Key_Space); };
    auto viaPressAction = [](QPushButton *b) {
        QAccessible::queryAccessibleInterface(b)->actionInterface()->doAction(
            QAccessibleActionInterface::pressAction());
        // Qt presses it as an animated click.
        EXPECT_TRUE(QTest::qWaitFor([b] { return b->isChecked(); }, 2000));
    };
    const std::pair<int, std::function<void(QPushButton *)>> choices[] = {
        {frmAimPrefs::ProfilePage, viaToggleAction},
        {frmAimPrefs::FontPage, viaSpace},
        {frmAimPrefs::PasswordPage, viaPressAction},
        {frmAimPrefs::PrivacyPage, viaToggleAction},
    };
    for (const auto &[page, choose] : choices) {
        choose(w->lbMenu[page]);
        EXPECT_TRUE(w->lbMenu[page]->isChecked()) << page;
        for (int other = 0; other < frmAimPrefs::PageSlots; ++other) {
            if (w->f[other]) {
                EXPECT_EQ(w->f[other]->isVisible(), other == page) << page << " vs " << other;
            }
        }
    }
}

TEST_F(PrefsTest, ClosingByTheFrameStartsTheNextOpeningFromTheDefaults)
{
    launcher.setFormattedName(QStringLiteral("Me Myself"));
    EXPECT_EQ(w->txtFormatsn->text(), QStringLiteral("Me Myself"));
    EXPECT_EQ(launcher.window(), w);
    w->txtFcolor->setText(QStringLiteral("#FF0000"));
    w->privacyAll->setChecked(true);
    w->txtProfile->setPlainText(QStringLiteral("mine"));
    click(w->cmdOK);
    session.sentLines();
    const QString prefix = session.txtFont.text();

    launcher.show();
    EXPECT_TRUE(w->close());
    EXPECT_EQ(launcher.window(), nullptr) << "gone at once, though Qt deletes it later";
    launcher.show();

    frmAimPrefs *fresh = launcher.window();
    ASSERT_NE(fresh, nullptr);
    EXPECT_TRUE(fresh->isVisible());
    EXPECT_EQ(fresh->txtFcolor->text(), QStringLiteral("#000000"));
    EXPECT_EQ(fresh->txtFface->text(), QStringLiteral("Trebuchet MS"));
    EXPECT_EQ(fresh->txtFbackground->text(), QStringLiteral("#EEEEEE"));
    EXPECT_FALSE(fresh->privacyAll->isChecked());
    EXPECT_TRUE(fresh->txtFormatsn->text().isEmpty());
    EXPECT_EQ(fresh->txtProfile->toPlainText(), frmAimPrefs::defaultProfile());
    EXPECT_EQ(session.txtFont.text(), prefix);
    EXPECT_TRUE(session.sentLines().isEmpty());
}

TEST(PrefsLauncherTest, SignOnWritesTheNameIntoAWindowCreatedHidden)
{
    SessionHarness session;
    PreferencesLauncher launcher(session.context, nullptr);
    launcher.setFormattedName(QStringLiteral("Some Body"));
    ASSERT_NE(launcher.window(), nullptr);
    EXPECT_FALSE(launcher.window()->isVisible());
    EXPECT_EQ(launcher.window()->txtFormatsn->text(), QStringLiteral("Some Body"));
}

// Every control a person can operate must tell a screen reader what it is.
// The check asks Qt's accessibility layer itself, so a labelled field counts
// as named through its QLabel buddy (which also gives it its access key), and
// a picture button only through the name it was given.

#include "desktopfixture.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTextEdit>
#include <QToolButton>

namespace {

bool isInteractive(QWidget *widget)
{
    return qobject_cast<QAbstractButton *>(widget) || qobject_cast<QLineEdit *>(widget)
        || qobject_cast<QTextEdit *>(widget) || qobject_cast<QPlainTextEdit *>(widget)
        || qobject_cast<QAbstractItemView *>(widget) || qobject_cast<QComboBox *>(widget);
}

QString accessibleName(QWidget *widget)
{
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(QAccessible::Name).trimmed() : QString();
}

// The names of the controls in window that a screen reader could not name,
// and of picture buttons that have no tooltip or cannot be reached by Tab.
// Controls hidden on their own are data holders nobody ever sees.
QStringList unnamedControls(QWidget *window)
{
    QStringList faults;
    for (QWidget *widget : window->findChildren<QWidget *>()) {
        if (!isInteractive(widget) || widget->isHidden() || widget->window() != window)
            continue;
        const QString id = widget->objectName().isEmpty() ? QString::fromLatin1(widget->metaObject()->className())
                                                          : widget->objectName();
        if (accessibleName(widget).isEmpty())
            faults << id + QStringLiteral(": no accessible name");
        if (auto *picture = qobject_cast<QToolButton *>(widget)) {
            if (picture->toolTip().isEmpty())
                faults << id + QStringLiteral(": no tooltip");
            if (!(picture->focusPolicy() & Qt::TabFocus))
                faults << id + QStringLiteral(": not reachable with Tab");
        }
    }
    return faults;
}

// Labels whose accessible name is not the text they show: a screen reader
// would read a fixed caption instead of what the label says now.
QStringList labelsNamedOtherThanShown(QWidget *window)
{
    QStringList faults;
    for (QLabel *label : window->findChildren<QLabel *>()) {
        if (label->isHidden() || label->window() != window || label->text().isEmpty())
            continue;
        QString shown = label->text();
        shown.replace(QRegularExpression(QStringLiteral("&(.)")), QStringLiteral("\\1")); // access-key marks
        if (accessibleName(label) != shown.trimmed())
            faults << label->objectName() + QStringLiteral(": named \"") + accessibleName(label)
                    + QStringLiteral("\" but shows \"") + shown + QLatin1Char('"');
    }
    return faults;
}

class AccessibilityTest : public DesktopTest
{
};

TEST_F(AccessibilityTest, EveryControlOfEveryWindowHasAName)
{
    signOn();
    const auto start = makeStartWindow();
    struct Row
    {
        const char *window;
        QWidget *widget;
    };
    const Row rows[] = {
        {"start-up", start.get()},
        {"main", main.get()},
        {"conversation", openConversation()},
        {"chat room", joinRoom()},
        {"preferences", openPreferences()},
        {"history", openHistory()},
        {"away", goAway()},
        {"about", openAbout()},
        {"credits", openCredits()},
    };
    for (const Row &row : rows) {
        ASSERT_NE(row.widget, nullptr) << row.window << " window did not open";
        EXPECT_EQ(unnamedControls(row.widget), QStringList()) << row.window;
        EXPECT_EQ(labelsNamedOtherThanShown(row.widget), QStringList()) << row.window;
    }
}

TEST_F(AccessibilityTest, LabelsThatChangeAreHeardSayingWhatTheyShowNow)
{
    // Qt announces a label's new text as a name change only while no fixed
    // name covers it; what is checked here is the name itself.
    main->txtSn->setText(QStringLiteral("Some Body"));
    main->cmdLogin->click();
    socket->acceptConnection();
    serverSays("ERROR:980");
    EXPECT_EQ(
        accessibleName(main->lbStat),
        QStringLiteral("Invalid account or password, or this screen name is signed on in too many places already"));

    signOn();
    frmAimChat *chat = joinRoom();
    ASSERT_NE(chat, nullptr);
    EXPECT_EQ(accessibleName(chat->lbhere), QStringLiteral("3"));

    frmAimIM *im = openConversation();
    ASSERT_NE(im, nullptr);
    EXPECT_EQ(accessibleName(im->currentname), QStringLiteral("Friend"));

    const auto start = makeStartWindow();
    start->cmdUpdate->click(); // nothing listens there: the failure is the notice
    EXPECT_FALSE(start->lbupdate->text().isEmpty());
    EXPECT_EQ(accessibleName(start->lbupdate), start->lbupdate->text());
    // The role words stay available as each label's description.
    for (QLabel *label : {main->lbStat, chat->lbhere, im->currentname, start->lbupdate})
        EXPECT_FALSE(label->accessibleDescription().isEmpty()) << label->objectName().toStdString();
}

TEST_F(AccessibilityTest, TheWalkCatchesAnUnnamedPictureButton)
{
    // The check itself must fail on the kind of control it guards against.
    auto *bare = new QToolButton(main.get());
    bare->setObjectName(QStringLiteral("bare"));
    bare->setFocusPolicy(Qt::NoFocus);
    bare->show();
    EXPECT_EQ(unnamedControls(main.get()),
              QStringList({"bare: no accessible name", "bare: no tooltip", "bare: not reachable with Tab"}));
    auto *fixed = new QLabel(QStringLiteral("3"), main.get());
    fixed->setObjectName(QStringLiteral("fixed"));
    fixed->setAccessibleName(QStringLiteral("Count"));
    fixed->show();
    EXPECT_EQ(labelsNamedOtherThanShown(main.get()), QStringList({"fixed: named \"Count\" but shows \"3\""}));
}

TEST_F(AccessibilityTest, LabelledFieldsAndPicturesCarryTheNamesPeopleHear)
{
    signOn();
    frmAimIM *im = openConversation();
    ASSERT_NE(im, nullptr);
    const auto start = makeStartWindow();
    struct Row
    {
        QWidget *widget;
        const char *name;
    };
    const Row rows[] = {
        {main->txtSn, "Screenname:"}, // from the label, without its access-key mark
        {main->txtPw, "Password:"},
        {main->cmdLogin, "Sign On"},
        {main->imgIM, "Send an instant message"},
        {main->imgChat, "Join a chat room"},
        {main->imgAway, "Away messages"},
        {main->imgSetup, "Setup"},
        {im->cmdSend, "Send"},
        {im->cmdBlock, "Block"},
        {im->cmdWarn, "Warn"},
        {start->Image3, "Close"},
    };
    for (const Row &row : rows)
        EXPECT_EQ(accessibleName(row.widget), QString::fromUtf8(row.name)) << row.widget->objectName().toStdString();
    // A picture's name alone does not say that it asks first or opens a menu.
    for (QWidget *picture : {static_cast<QWidget *>(main->imgAway), static_cast<QWidget *>(im->cmdBlock),
                             static_cast<QWidget *>(im->cmdWarn), static_cast<QWidget *>(start->Image3)})
        EXPECT_FALSE(picture->accessibleDescription().isEmpty()) << picture->objectName().toStdString();
}

} // namespace

// The about window with its system-information lookup, and the credits.

#include "info/frmabout.h"
#include "info/frmcredits.h"
#include "info/systeminfo.h"
#include "printers.h"
#include "productinfo.h"
#include "scripteddialogs.h"
#include "screenshots.h"
#include "serverframes.h"
#include "windowregistry.h"

#include <QCoreApplication>
#include <QHash>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QSet>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class FakeRegistry final : public RegistryReader
{
public:
    std::optional<QString> localMachineValue(const QString &key, const QString &name) const override
    {
        const auto found = values.constFind(key + QLatin1Char('|') + name);
        if (found == values.constEnd())
            return std::nullopt;
        return *found;
    }
    QHash<QString, QString> values; // "key|name" -> value
};

class FakeLauncher final : public ProgramLauncher
{
public:
    bool isFile(const QString &path) const override { return files.contains(path); }
    QString findExecutable(const QString &name) const override
    {
        return onPath.contains(name) ? QStringLiteral("/usr/bin/") + name : QString();
    }
    bool startDetached(const QString &program) override
    {
        started << program;
        return startWorks;
    }
    QSet<QString> files;
    QSet<QString> onPath;
    bool startWorks = true;
    QStringList started;
};

const QString PathValue = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO|PATH");
const QString FolderValue = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location|MSINFO");

struct LookupCase
{
    const char *name;
    QHash<QString, QString> registry;
    QSet<QString> files;
    QSet<QString> onPath;
    bool startWorks;
    QStringList started;
    bool notice;
};

TEST(AboutWindow, SystemInfoIsLookedUpInOrderAndAFailureIsOneNotice)
{
    const QString tools = QStringLiteral("C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo");
    const QString msinfo32 = tools + QStringLiteral("\\MSINFO32.EXE");
    const LookupCase cases[] = {
        {"registry path first",
         {{PathValue, "C:\\msinfo.exe"}, {FolderValue, tools}},
         {msinfo32},
         {"kinfocenter"},
         true,
         {"C:\\msinfo.exe"},
         false},
        {"shared tools folder with the file",
         {{FolderValue, tools}},
         {msinfo32},
         {"kinfocenter"},
         true,
         {msinfo32},
         false},
        {"shared tools folder without the file", {{FolderValue, tools}}, {}, {}, true, {}, true},
        {"desktop tools in their order",
         {},
         {},
         {"gnome-system-monitor", "hardinfo"},
         true,
         {"/usr/bin/hardinfo"},
         false},
        {"nothing anywhere", {}, {}, {}, true, {}, true},
        {"found but will not start", {}, {}, {"kinfocenter"}, false, {"/usr/bin/kinfocenter"}, true},
    };
    for (const LookupCase &c : cases) {
        ScriptedDialogs dialogs;
        WindowRegistry windows;
        FakeRegistry registry;
        registry.values = c.registry;
        FakeLauncher launcher;
        launcher.files = c.files;
        launcher.onPath = c.onPath;
        launcher.startWorks = c.startWorks;
        frmAbout about(dialogs, windows, registry, launcher);
        about.show();
        QTest::mouseClick(about.cmdSysInfo, Qt::LeftButton);
        EXPECT_EQ(launcher.started, c.started) << c.name;
        if (c.notice) {
            ASSERT_EQ(dialogs.shown.size(), 1) << c.name;
            EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("System Information Is Unavailable At This Time"))
                << c.name;
            EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("Qiv")) << c.name;
        } else {
            EXPECT_TRUE(dialogs.shown.isEmpty()) << c.name;
        }
        EXPECT_TRUE(about.isVisible()) << c.name;
    }
}

// The about window reads the program's name and version from the application.
class ProgramIdentity
{
public:
    ProgramIdentity(const QString &name, const QString &version)
        : m_name(QCoreApplication::applicationName())
        , m_version(QCoreApplication::applicationVersion())
    {
        QCoreApplication::setApplicationName(name);
        QCoreApplication::setApplicationVersion(version);
    }
    ~ProgramIdentity()
    {
        QCoreApplication::setApplicationName(m_name);
        QCoreApplication::setApplicationVersion(m_version);
    }

private:
    QString m_name;
    QString m_version;
};

TEST(AboutWindow, ShowsTheProgramsTitleAndThreeVersionNumbersAndOkDestroysIt)
{
    const ProgramIdentity identity(QStringLiteral("Qiv"), QStringLiteral("1.0.0"));
    ScriptedDialogs dialogs;
    WindowRegistry windows;
    FakeRegistry registry;
    FakeLauncher launcher;
    QPointer<frmAbout> about = new frmAbout(dialogs, windows, registry, launcher);
    about->show();
    EXPECT_EQ(about->windowTitle(), QStringLiteral("About Qiv"));
    EXPECT_EQ(about->lblTitle->text(), QStringLiteral("Qiv"));
    EXPECT_EQ(about->lblVersion->text(), QStringLiteral("Version 1.0.0"));
    EXPECT_TRUE(about->lblDescription->text().startsWith(
        QStringLiteral("Qiv is an AIM client, communicating with the aol/aim network.  This program is not under any "
                       "type of warranty.")));
    EXPECT_FALSE(about->lblDisclaimer->text().isEmpty());
    EXPECT_EQ(windows.windows(), QList<QWidget *>{about.data()});
    saveScreenshot(about, QStringLiteral("about"));

    QTest::mouseClick(about->cmdOK, Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(about.isNull());
    EXPECT_TRUE(windows.windows().isEmpty());

    const std::pair<QString, QString> versions[] = {{"1.0.0", "Version 1.0.0"},
                                                    {"2.3.4.99", "Version 2.3.4"},
                                                    {"1.2", "Version 1.2.0"},
                                                    {"10.0.07", "Version 10.0.7"}};
    for (const auto &[version, line] : versions)
        EXPECT_EQ(frmAbout::versionLine(version), line) << version.toStdString();
}

QStringList listed(const QListWidget *list)
{
    QStringList lines;
    for (int row = 0; row < list->count(); ++row)
        lines << list->item(row)->text();
    return lines;
}

TEST(CreditsWindow, HoldsTheCreditSequenceInItsLaidOutPlaces)
{
    WindowRegistry windows;
    frmCredits credits(windows);
    credits.show();
    EXPECT_EQ(credits.windowTitle(), QStringLiteral("Qiv - Credits"));
    EXPECT_EQ(credits.windowFlags() & Qt::WindowType_Mask, Qt::Tool);
    EXPECT_EQ(credits.size(), QSize(403, 270));
    EXPECT_EQ(credits.lstCredits->font().family(), QStringLiteral("Georgia"));
    EXPECT_TRUE(credits.tmrScroll->isActive());
    EXPECT_EQ(credits.tmrScroll->interval(), 1000);

    const QStringList lines = listed(credits.lstCredits);
    ASSERT_EQ(lines.size(), 37);
    // Entries counted from 1: which ones are blank.
    const QSet<int> blank = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 18, 19, 21, 23, 25, 27, 29, 35};
    for (int entry = 1; entry <= 37; ++entry) {
        const QString &line = lines[entry - 1];
        if (blank.contains(entry)) {
            EXPECT_TRUE(line.isEmpty()) << entry;
        } else {
            EXPECT_TRUE(line.startsWith(QStringLiteral("    ")) && line.size() > 4 && line[4] != QLatin1Char(' '))
                << entry << ": '" << line.toStdString() << "'";
        }
    }
    EXPECT_EQ(lines[16], QStringLiteral("    Qiv Credits:"));
    EXPECT_EQ(lines[29], QStringLiteral("    Beta Testers:"));
    EXPECT_EQ(lines[35], QStringLiteral("    More programs at"));
    for (int entry = 20; entry <= 28; entry += 2)
        EXPECT_TRUE(lines[entry - 1].contains(QStringLiteral(" - "))) << entry;
}

TEST(CreditsWindow, ScrollsOneLinePerTickAndRefillsOnTheThirtyEighth)
{
    WindowRegistry windows;
    frmCredits credits(windows);
    const QStringList full = listed(credits.lstCredits);

    credits.show();
    credits.scrollStep();
    EXPECT_EQ(listed(credits.lstCredits), full.mid(1));
    for (int tick = 2; tick <= 37; ++tick) {
        credits.scrollStep();
        if (tick == 14)
            saveScreenshot(&credits, QStringLiteral("credits"));
    }
    EXPECT_EQ(credits.lstCredits->count(), 0);
    credits.scrollStep();
    EXPECT_EQ(listed(credits.lstCredits), full);
    EXPECT_TRUE(credits.tmrScroll->isActive());
    // The next cycle runs exactly like the first.
    for (int tick = 1; tick <= 38; ++tick)
        credits.scrollStep();
    EXPECT_EQ(listed(credits.lstCredits), full);
}

} // namespace

#include "artwork.h"
#include "attention.h"
#include "commandline.h"
#include "dialogs.h"
#include "main/frmaimlogin.h"
#include "info/frmint.h"
#include "productinfo.h"
#include "session/wirelog.h"
#include "windowregistry.h"

#include <QApplication>
#include <QEvent>
#include <QLoggingCategory>
#include <QTimer>
#include <cstdio>
#include <memory>

namespace {
// Start-up measurement only (bench/startup.sh): with QIV_EXIT_AFTER_SHOW=1 in
// the environment the program ends as soon as the start-up window has been
// painted once. Not an option for users; nothing else reads it.
class QuitAfterFirstPaint final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        return false;
    }
};
} // namespace

int main(int argc, char **argv)
{
    QApplication::setApplicationName(ProductInfo::ProgramTitle);
    QApplication::setApplicationVersion(QStringLiteral(QIV_VERSION));

    // Answered before the window system is needed: help, the version and a
    // bad value work on a terminal without a display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QString error;
    const std::optional<CommandLine> options = parseCommandLine(arguments, error);
    if (!options) {
        std::fprintf(stderr, "qiv: %s\nTry 'qiv --help' for the options.\n", qPrintable(error));
        return 2;
    }
    if (options->action == CommandLine::Action::PrintAndExit) {
        std::fputs(qPrintable(options->output), stdout);
        return 0;
    }
    if (!windowSystemGiven(arguments)) {
        std::fputs("qiv: no display to open windows on (DISPLAY and WAYLAND_DISPLAY are not set)\n", stderr);
        return 1;
    }

    QApplication app(argc, argv);
    if (options->debugWire)
        QLoggingCategory::setFilterRules(QLatin1String(WireLog::EnableRule));
    // Ties the windows to the installed qiv.desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("qiv"));
    QApplication::setWindowIcon(Artwork::icon(Artwork::Picture::ProgramIcon));
    // The program ends only through the exit question, never because its
    // last visible window was hidden or closed.
    QApplication::setQuitOnLastWindowClosed(false);

    QtDialogs dialogs;
    WindowRegistry windows;
    DBusNotifier notifier;
    std::unique_ptr<frmAimlogin> mainWindow;
    frmInt startWindow(dialogs, windows, options->updateUrl, [&]() -> QWidget * {
        if (!mainWindow) {
            mainWindow = std::make_unique<frmAimlogin>(
                dialogs, windows, options->serverGiven ? std::optional(options->server) : std::nullopt, nullptr,
                KeptPlaces::standard());
            mainWindow->context().attention.setNotifier(&notifier);
        }
        return mainWindow.get();
    });
    if (qEnvironmentVariableIntValue("QIV_EXIT_AFTER_SHOW") == 1)
        startWindow.installEventFilter(new QuitAfterFirstPaint(&app));
    startWindow.show();
    return app.exec();
}

#include "artwork.h"
#include "commandline.h"
#include "dialogs.h"
#include "main/frmaimlogin.h"
#include "info/frmint.h"
#include "windowregistry.h"

#include <QApplication>
#include <cstdio>
#include <memory>

int main(int argc, char **argv)
{
    QApplication::setApplicationName(QStringLiteral("Qiv"));
    QApplication::setApplicationVersion(QStringLiteral("1.0.0"));

    QApplication app(argc, argv);
    // Ties the windows to the installed qiv.desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("qiv"));
    QApplication::setWindowIcon(Artwork::icon(Artwork::Picture::ProgramIcon));
    // The program ends only through the exit question, never because its
    // last visible window was hidden or closed.
    QApplication::setQuitOnLastWindowClosed(false);

    // Read after the application exists: it takes Qt's own options (such as
    // -platform) out of the arguments first.
    QString error;
    const std::optional<CommandLine> options = parseCommandLine(QApplication::arguments(), error);
    if (!options) {
        std::fprintf(stderr, "qiv: %s\nTry 'qiv --help' for the options.\n", qPrintable(error));
        return 2;
    }

    QtDialogs dialogs;
    WindowRegistry windows;
    std::unique_ptr<frmAimlogin> mainWindow;
    frmInt startWindow(dialogs, windows, options->updateUrl, [&]() -> QWidget * {
        if (!mainWindow)
            mainWindow = std::make_unique<frmAimlogin>(dialogs, windows, options->server);
        return mainWindow.get();
    });
    startWindow.show();
    return app.exec();
}

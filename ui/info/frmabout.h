#pragma once

// The about window: the program's name, its version and a short description,
// and a button that starts the system-information tool. Destroyed when closed.

#include <QDialog>

class Dialogs;
class ProgramLauncher;
class QLabel;
class QPushButton;
class RegistryReader;
class WindowRegistry;

class frmAbout : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmAbout)
public:
    frmAbout(Dialogs &dialogs, WindowRegistry &windows, const RegistryReader &registry, ProgramLauncher &launcher,
             QWidget *parent = nullptr);

    // "Version " and the application's major, minor and patch numbers; any
    // further build number is left out.
    static QString versionLine(const QString &applicationVersion);

    QLabel *picIcon;
    QLabel *lblTitle;
    QLabel *lblVersion;
    QLabel *lblDescription;
    QLabel *lblDisclaimer;
    QPushButton *cmdOK;
    QPushButton *cmdSysInfo;

private:
    void startSysInfo();

    Dialogs &m_dialogs;
    const RegistryReader &m_registry;
    ProgramLauncher &m_launcher;
};

#pragma once

// Finding and starting the operating system's system-information tool for the
// about window. Windows records the tool in the registry; elsewhere a desktop
// tool is looked for on the PATH. Both the registry and the starting of
// programs sit behind small interfaces so the lookup can be tested.

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class Dialogs;
class QWidget;

// Reads string (and 32-bit number, as decimal text) values under the
// local-machine root of the registry.
class RegistryReader
{
public:
    virtual ~RegistryReader() = default;
    // Nothing when the key or the value is missing.
    virtual std::optional<QString> localMachineValue(const QString &key, const QString &name) const = 0;

    // The reader of this platform: the real registry on Windows, an empty one elsewhere.
    static std::unique_ptr<RegistryReader> forPlatform();
};

// Finds files and programs and starts programs without waiting for them.
class ProgramLauncher
{
public:
    virtual ~ProgramLauncher() = default;
    virtual bool isFile(const QString &path) const = 0;
    // The full path of a program on the PATH, or empty.
    virtual QString findExecutable(const QString &name) const = 0;
    virtual bool startDetached(const QString &program) = 0;

    static std::unique_ptr<ProgramLauncher> forSystem();
};

namespace SystemInfo {

inline const QString MsinfoKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
inline const QString ToolsLocationKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
inline const QString UnavailableNotice = QStringLiteral("System Information Is Unavailable At This Time");

// Desktop tools tried, in this order, where the registry names none.
QStringList desktopTools();

// The tool's full path: the registry's MSINFO path, else the shared-tools
// folder's MSINFO32.EXE when that file exists, else the first desktop tool
// found on the PATH. Empty when there is none.
QString locate(const RegistryReader &registry, const ProgramLauncher &launcher);

// Starts the tool found by locate(); tells the user when there is none or it
// cannot be started. Returns at once, never waits for the tool.
void start(const RegistryReader &registry, ProgramLauncher &launcher, Dialogs &dialogs, QWidget *parent);

} // namespace SystemInfo

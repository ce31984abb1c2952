#include "systeminfo.h"

#include "dialogs.h"
#include "productinfo.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <QSettings>
#endif

namespace {

#ifdef Q_OS_WIN
class WindowsRegistryReader final : public RegistryReader
{
public:
    std::optional<QString> localMachineValue(const QString &key, const QString &name) const override
    {
        QSettings settings(QStringLiteral("HKEY_LOCAL_MACHINE\\") + key, QSettings::NativeFormat);
        const QVariant value = settings.value(name);
        if (!value.isValid())
            return std::nullopt;
        return value.toString();
    }
};
#endif

// Where there is no registry every lookup misses.
class NoRegistry final : public RegistryReader
{
public:
    std::optional<QString> localMachineValue(const QString &, const QString &) const override { return std::nullopt; }
};

class SystemLauncher final : public ProgramLauncher
{
public:
    bool isFile(const QString &path) const override { return QFileInfo(path).isFile(); }
    QString findExecutable(const QString &name) const override { return QStandardPaths::findExecutable(name); }
    bool startDetached(const QString &program) override { return QProcess::startDetached(program, {}); }
};

} // namespace

std::unique_ptr<RegistryReader> RegistryReader::forPlatform()
{
#ifdef Q_OS_WIN
    return std::make_unique<WindowsRegistryReader>();
#else
    return std::make_unique<NoRegistry>();
#endif
}

std::unique_ptr<ProgramLauncher> ProgramLauncher::forSystem() { return std::make_unique<SystemLauncher>(); }

namespace SystemInfo {

QStringList desktopTools()
{
    return {QStringLiteral("kinfocenter"), QStringLiteral("hardinfo"), QStringLiteral("gnome-system-monitor")};
}

QString locate(const RegistryReader &registry, const ProgramLauncher &launcher)
{
    if (const auto path = registry.localMachineValue(MsinfoKey, QStringLiteral("PATH")))
        return *path;
    if (const auto folder = registry.localMachineValue(ToolsLocationKey, QStringLiteral("MSINFO"))) {
        const QString tool = *folder + QStringLiteral("\\MSINFO32.EXE");
        if (launcher.isFile(tool))
            return tool;
    }
    for (const QString &name : desktopTools()) {
        const QString path = launcher.findExecutable(name);
        if (!path.isEmpty())
            return path;
    }
    return QString();
}

void start(const RegistryReader &registry, ProgramLauncher &launcher, Dialogs &dialogs, QWidget *parent)
{
    const QString tool = locate(registry, launcher);
    if (tool.isEmpty() || !launcher.startDetached(tool))
        dialogs.notice(parent, UnavailableNotice, ProductInfo::ProgramTitle);
}

} // namespace SystemInfo

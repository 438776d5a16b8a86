#include "WizardSettings.h"

#include <QFileInfo>
#include <QProcess>
#include <string>

#include "PingManager.h"
#include "RuntimeDirectory.h"
#include "SettingsAccessors.h"

namespace {

const char* const SettingsPath = "TransferWizard";
constexpr unsigned int TracingBit = 2;

QDir& lastBrowsedDirValue()
{
    static QDir dir;
    return dir;
}

QDir& tempDirValue()
{
    static QDir dir;
    return dir;
}

// Reads a directory setting; when it names no existing directory, stores the default.
QDir readDirectorySetting(const char* key, const QString& fallback)
{
    std::string stored;
    if (ReadSetting(SettingsPath, key, stored)) {
        const QFileInfo info(QString::fromStdString(stored));
        if (!stored.empty() && info.isDir())
            return QDir(info.absoluteFilePath());
    }
    const QDir dir(fallback);
    WriteSetting(SettingsPath, key, dir.absolutePath().toStdString());
    return dir;
}

} // namespace

void WizardSettings::readFolders()
{
    QDir desktop = QDir::home();
    desktop.cd(QStringLiteral("Desktop"));
    lastBrowsedDirValue() = readDirectorySetting("LastBrwosedDir", desktop.absolutePath());
    tempDirValue() = readDirectorySetting("TempDir", privateTempPath());
}

QDir WizardSettings::tempDir()
{
    return tempDirValue();
}

void WizardSettings::setTempDir(const QString& path)
{
    tempDirValue().setPath(path);
}

QDir WizardSettings::lastBrowsedDir()
{
    return lastBrowsedDirValue();
}

bool WizardSettings::setLastBrowsedDir(const QDir& dir)
{
    const bool written =
        WriteSetting(SettingsPath, "LastBrwosedDir", dir.absolutePath().toStdString());
    if (written)
        lastBrowsedDirValue() = dir;
    return written;
}

QString WizardSettings::privateTempPath()
{
    QString base = qEnvironmentVariable("XDG_CACHE_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.cache");
    const QString kavo = base + QStringLiteral("/Kavo");
    const QString path = kavo + QStringLiteral("/TransferWizard/tmp");
    QDir().mkpath(path);
    // Only the innermost folder holds our files; it must be ours alone.
    RuntimeDirectory::EnsurePrivateDirectory(kavo.toStdString());
    RuntimeDirectory::EnsurePrivateDirectory(path.toStdString());
    return path;
}

bool WizardSettings::tracing()
{
    unsigned int tracing = 0;
    if (!ReadSetting(SettingsPath, "WizardTracing", tracing)) {
        tracing = 0;
        WriteSetting(SettingsPath, "WizardTracing", tracing);
    }
    return (tracing & TracingBit) != 0;
}

void WizardSettings::sendStartPing()
{
    std::string firstPingSent;
    const bool firstSent =
        ReadSetting(SettingsPath, "FirstPingSent", firstPingSent) && firstPingSent == "true";
    if (!firstSent) {
        sendUsagePing("StartAfterInstall", true);
        WriteSetting(SettingsPath, "FirstPingSent", std::string("true"));
    } else {
        sendUsagePing("Start", true);
    }
}

bool WizardSettings::registerDeviceWithPlayer()
{
    std::u16string installDir;
    if (!ReadInstallSetting(std::u16string(u"Player"), std::u16string(u"InstallDir"), installDir))
        return false;
    const QString dir = QString::fromStdU16String(installDir);
    if (dir.isEmpty() || !QFileInfo::exists(dir))
        return false;
    const QString executable = dir + QStringLiteral("/Kavo Plus Player");
    if (!QFileInfo::exists(executable))
        return false;
    // Raising another program's window has no portable equivalent; the player raises itself.
    return QProcess::startDetached(executable, {QStringLiteral("-ovsregisterdevice")});
}

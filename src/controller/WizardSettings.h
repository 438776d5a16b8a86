#pragma once

#include <QDir>
#include <QString>

// The wizard's own settings (Settings/TransferWizard): the folder the user browsed last, the
// folder converted files go to, tracing, and the ping of a start. Read once when the
// controller is made; the folders are process-wide, as the service interface hands them out.
class WizardSettings
{
public:
    // Reads both folders, storing the default for one that names no existing folder.
    static void readFolders();
    // The directory converted files go to, and the one the user browsed last.
    static QDir tempDir();
    static QDir lastBrowsedDir();
    static bool setLastBrowsedDir(const QDir& dir);
    // Converted files go to this folder from now on.
    static void setTempDir(const QString& path);
    // The user's private cache folder for this program (mode 0700); the default temporary
    // directory and the trace file live here.
    static QString privateTempPath();

    // Whether the wizard traces (the setting's bit 2; the setting is written when missing).
    static bool tracing();
    // "StartAfterInstall" the first time, "Start" after that.
    static void sendStartPing();
    // Starts the player installed beside the wizard (install setting Player/InstallDir) to
    // register the device; false when there is none.
    static bool registerDeviceWithPlayer();
};

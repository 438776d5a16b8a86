#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include "TransferOutcome.h"
#include "TransferPrompts.h"

class TransferWizardController;
class TransferWizardDlg;
class QSocketNotifier;

// A transfer without clicks, for scripts, file-manager actions and tests: the wizard shows its
// window and walks its own pages (profile, files and their analysis, the destination and its
// checks exactly as Start makes them), then the transfer's session runs and the window follows
// it. A conversion error is answered with "continue with the remaining files"; message boxes
// are closed as they appear. When the session has ended it prints one line per file to
// standard output, tab-separated: the source, the outcome ("arrived", "failed", "cancelled",
// "not started") and the destination path or the reason, and closes the wizard. SIGINT and
// SIGTERM cancel the transfer; after the end they change nothing.
class UnattendedTransfer : public QObject, public TransferPrompts
{
    Q_OBJECT

public:
    enum ExitCode
    {
        AllArrived = 0,
        SomeFailed = 1,
        Cancelled = 2,
        NotStarted = 3
    };

    // destination: a mount point, an "ExtraDrives" folder or an image burner's path. profile:
    // a transcode profile code, -1 for the remembered or preselected one.
    UnattendedTransfer(TransferWizardController& controller, const QString& destination,
                       int profile);
    ~UnattendedTransfer() override;

    // Starts the wizard for the device and walks it once the event loop runs.
    void start(const QStringList& files, unsigned int deviceID, bool activationFiles);
    int exitCode() const { return m_exitCode; }

    // Prints the reason on standard error and "not started" lines for the files.
    static void refuse(const QStringList& files, const QString& reason);
    // One line of standard output: the fields with tab, newline, carriage return and
    // backslash escaped as \t, \n, \r and \\, joined by tabs.
    static QString outputLine(const QStringList& fields);

    bool continueAfterConversionError(int error, const QString& file, bool othersLeft) override;

public slots:
    void cancel();

private slots:
    void walk();
    void dismissMessageBoxes();
    void onSignal();
    void conclude(const TransferResult& result);

private:
    void stopBeforeStart(const QString& reason);
    void finish(int code);
    QStringList fileLine(const QString& source, const TransferResult& result, int& code) const;
    bool chooseProfile(QString& reason);
    bool chooseDestination(QString& reason);
    void installSignalHandlers();

    TransferWizardController& m_controller;
    TransferWizardDlg& m_dialog;
    QString m_destination;
    int m_profile = -1;
    QStringList m_files;
    bool m_activation = false;
    bool m_started = false;
    bool m_done = false;
    int m_exitCode = NotStarted;
    QTimer m_boxes;
    QSocketNotifier* m_signals = nullptr;
};

#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <map>
#include <string>

#include "AnalysisResults.h"
#include "FileInfoModel.h"

class QWidget;
class TransferWizardServericeInterface;
namespace kvqs {
class ProgressDialog;
}

// Runs one analysis of video files on the controller's worker for the wizard dialog: shows the
// "Analyzing..." progress window, keeps the event loop turning while it polls for the results,
// and lets the user cancel. Also knows which files the engine cannot read by their extension.
class FileAnalysisRunner : public QObject
{
    Q_OBJECT

public:
    using FileTypeMap = std::map<std::string, std::string>;

    FileAnalysisRunner(TransferWizardServericeInterface* service, QWidget* progressParent);
    ~FileAnalysisRunner() override;

    // Analyses files for profile. False when the controller did not start (no files, or its
    // worker is busy); then the results are empty. With showProgress the progress window stays
    // up for at least a second so it does not flash.
    bool run(const QStringList& files, int profile, bool showProgress, AnalysisResults& results);
    bool isRunning() const { return m_running; }
    // How long the progress window stays up at least, so it does not flash (1 s; a run
    // nobody watches sets 0).
    void setMinimumShowTime(int milliseconds) { m_minimumShowMs = milliseconds; }
    // The progress window while an analysis runs, else null.
    kvqs::ProgressDialog* progressDialog() const { return m_progress; }

    // The controller reached file index of total.
    void showItem(int index, int total);
    // The user cancelled: the controller stops after the current file; the results so far
    // are used.
    void cancel();

    // What the file list takes from an analysis of paths: the usable files in the model's
    // lists, and the paths that failed with their result codes. Only the first count paths
    // are looked at (a cancelled analysis has results for fewer files). Result codes 0 and 154
    // are usable. A failed path whose file name is in unknownTypes (an extension the engine
    // does not list) goes to unsupported instead of errors; one of those that the engine read
    // after all is added like any other.
    struct ModelLists
    {
        QList<FileInfoModel::SourceFile> sources;
        QStringList outputPaths;
        QList<FileInfoModel::Estimate> estimates;
        QStringList directFiles;
        QList<QPair<QString, int>> errors;
        QStringList unsupported;
    };
    // With a profile (not negative) each source also says why it is converted for it.
    static ModelLists modelLists(const QStringList& paths, const AnalysisResults& results,
                                 int count, const QStringList& unknownTypes, int profile = -1);

    // "*.ext" patterns of the engine's file types: the first entry's list, used only when the
    // map has two or more entries (the first is then the list of all types). Empty: any type.
    static QStringList patterns(const FileTypeMap& fileTypes);
    // Whether path's extension is one of patterns (compared without case); any with none.
    static bool isSupported(const QString& path, const QStringList& patterns);

signals:
    // The progress window's Cancel.
    void canceled();

private:
    TransferWizardServericeInterface* m_service = nullptr;
    QPointer<QWidget> m_progressParent;
    kvqs::ProgressDialog* m_progress = nullptr;
    bool m_running = false;
    int m_minimumShowMs = 1000;
};

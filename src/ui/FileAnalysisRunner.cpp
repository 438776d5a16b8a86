#include "FileAnalysisRunner.h"

#include <QCoreApplication>
#include <QDebug>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>
#include <QWidget>

#include "DialogStyleSheet.h"
#include "ISourceMedia.h"
#include "ProgressDialog.h"
#include "TransferWizardServericeInterface.h"
#include "UiLogging.h"

namespace {

// Lets queued signals (progress, cancel) through for a short while instead of spinning.
void turnEventLoop(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

FileAnalysisRunner::FileAnalysisRunner(TransferWizardServericeInterface* service,
                                       QWidget* progressParent)
    : m_service(service), m_progressParent(progressParent)
{
}

FileAnalysisRunner::~FileAnalysisRunner()
{
    delete m_progress;
}

bool FileAnalysisRunner::run(const QStringList& files, int profile, bool showProgress,
                             AnalysisResults& results)
{
    results.clear();
    // One analysis at a time: a second request while the first polls is refused.
    if (!m_service || m_running)
        return false;
    m_running = true;
    QElapsedTimer clock;
    clock.start();
    m_progress = new kvqs::ProgressDialog(m_progressParent, false, true);
    m_progress->setStyleSheet(dialogStyleSheet());
    connect(m_progress, &kvqs::ProgressDialog::canceled, this, &FileAnalysisRunner::canceled);
    if (showProgress) {
        m_progress->setWindowTitle(tr("Portavo"));
        m_progress->setText(tr("Analyzing..."));
        m_progress->setPos(-1);
        m_progress->show();
    }
    QCoreApplication::processEvents();

    bool started = m_service->startAnalysis(files, profile);
    if (started) {
        while (!m_service->getAnalysisResults(results.estimates, results.outputPaths,
                                              results.sources, results.directFiles,
                                              results.resultCodes))
            turnEventLoop(20);
        qCDebug(lcUi) << "stop anaysis-waiting UI";
        // Keep the progress window up long enough to be read.
        while (showProgress && clock.elapsed() < m_minimumShowMs)
            turnEventLoop(int(qMax<qint64>(1, m_minimumShowMs - clock.elapsed())));
    }
    // The keyboard goes back to the wizard, as a window manager would do it; a platform without
    // one (offscreen, some kiosks) leaves no window active and every key press lost.
    const bool hadFocus = m_progress->isActiveWindow();
    m_progress->hide();
    delete m_progress;
    m_progress = nullptr;
    if (hadFocus && m_progressParent && m_progressParent->window()->isVisible())
        m_progressParent->window()->activateWindow();
    m_running = false;
    return started;
}

void FileAnalysisRunner::showItem(int index, int total)
{
    if (m_progress)
        m_progress->setText(tr("Analyzing... %1/%2").arg(index + 1).arg(total));
}

void FileAnalysisRunner::cancel()
{
    if (m_service)
        m_service->cancelAnalysis();
    if (m_progress)
        m_progress->hide();
}

QStringList FileAnalysisRunner::patterns(const FileTypeMap& fileTypes)
{
    if (fileTypes.size() < 2)
        return {};
    return QString::fromUtf8(fileTypes.begin()->second.c_str())
        .split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

bool FileAnalysisRunner::isSupported(const QString& path, const QStringList& patterns)
{
    if (patterns.isEmpty())
        return true;
    const QString pattern = QStringLiteral("*.") + QFileInfo(path).suffix();
    return patterns.contains(pattern, Qt::CaseInsensitive);
}

FileAnalysisRunner::ModelLists
FileAnalysisRunner::modelLists(const QStringList& paths, const AnalysisResults& results, int count,
                               const QStringList& unknownTypes, int profile)
{
    ModelLists lists;
    const int n = qMin<int>(count, int(paths.size()));
    for (int i = 0; i < n; ++i) {
        const QString& path = paths[i];
        const bool complete = i < results.resultCodes.size() && i < results.estimates.size() &&
                              i < results.outputPaths.size() && i < results.sources.size();
        const int code = i < results.resultCodes.size() ? results.resultCodes[i] : -1;
        if (!complete || (code != 0 && code != 154)) {
            const QString name = QFileInfo(path).fileName();
            if (unknownTypes.contains(name))
                lists.unsupported << name;
            else
                lists.errors.append({path, code});
            continue;
        }
        lists.sources << FileInfoModel::SourceFile::fromSources(
            results.sources[i], path, results.outputPaths[i].isEmpty() ? -1 : profile);
        lists.outputPaths << results.outputPaths[i];
        FileInfoModel::Estimate estimate;
        estimate.conversionSeconds = int(results.estimates[i].transcodeTime);
        estimate.outputBytes = results.estimates[i].outputSize;
        lists.estimates << estimate;
        if (results.directFiles.contains(path))
            lists.directFiles << path;
    }
    return lists;
}

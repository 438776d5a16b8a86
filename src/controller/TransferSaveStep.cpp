#include "TransferSaveStep.h"

#include <QCoreApplication>
#include <QDebug>
#include <QElapsedTimer>
#include <QMutexLocker>

#include "KavoMediaBurner.h"
#include "TransferState.h"
#include "TransferWizardController.h"
#include "USBDriveLister.h"
#include "USBFileCopier.h"

namespace {

QString toQString(const std::u16string& s)
{
    return QString::fromUtf16(s.data(), qsizetype(s.size()));
}

QString tr(const char* text)
{
    return QCoreApplication::translate("TransferWizardController", text);
}

// A failed conversion leaves only its partial ".temp" output in the list of files to write;
// the conversion error has been reported already.
bool isFailedConversion(const QString& path)
{
    return path.endsWith(QLatin1String(".temp"));
}

} // namespace

unsigned int TransferSaveStep::rateFromSeconds(quint64 bytes, qint64 seconds)
{
    return seconds > 0 ? unsigned(bytes / quint64(seconds)) : 0;
}

unsigned int TransferSaveStep::rateFromMilliseconds(quint64 bytes, qint64 milliseconds)
{
    return milliseconds > 0 ? unsigned(bytes * 1000 / quint64(milliseconds)) : 0;
}

QString TransferSaveStep::burnerReason(quint32 code)
{
    switch (code) {
    case KavoMediaBurner::NoRecorder:
        return tr("the recorder could not be found");
    case KavoMediaBurner::DiscFull:
        return tr("the disc is full");
    case KavoMediaBurner::NoDiscReady:
        return tr("no writable disc is ready in the drive");
    case KavoMediaBurner::EmptyDrive:
        return tr("no recorder was chosen");
    default:
        return tr("the recorder reported error %1").arg(code);
    }
}

void TransferSaveStep::begin(const QList<QFileInfo>& files)
{
    QMutexLocker lock(&m_mutex);
    m_outcomes.clear();
    for (int i = 0; i < files.size(); ++i) {
        FileOutcome outcome;
        outcome.index = i;
        outcome.source = files[i].filePath();
        m_outcomes.append(outcome);
    }
}

void TransferSaveStep::setOutcome(int index, FileOutcome::State state, const QString& detail)
{
    QMutexLocker lock(&m_mutex);
    if (index < 0 || index >= m_outcomes.size())
        return;
    m_outcomes[index].state = state;
    if (state == FileOutcome::Arrived)
        m_outcomes[index].destination = detail;
    else
        m_outcomes[index].reason = detail;
}

void TransferSaveStep::failFile(int index, const QString& reason)
{
    setOutcome(index, FileOutcome::Failed, reason);
    emit m_controller.fileSaveFailed(index, reason);
}

QList<TransferSaveStep::FileOutcome> TransferSaveStep::outcomes() const
{
    QMutexLocker lock(&m_mutex);
    return m_outcomes;
}

QString TransferSaveStep::failureText() const
{
    QMutexLocker lock(&m_mutex);
    for (const FileOutcome& outcome : m_outcomes) {
        if (outcome.state == FileOutcome::Failed)
            return tr("Transfer failed. %1 could not be written: %2.")
                .arg(QFileInfo(outcome.source).fileName(), outcome.reason);
    }
    return {};
}

bool TransferSaveStep::fatDrive(const std::u16string& drive) const
{
    const QString root = toQString(drive);
    const QList<USBDriveData> drives = USBDriveLister::fromEnvironment().list(
        USBDriveLister::extraDrivesSetting(), std::string(), 0);
    for (const USBDriveData& d : drives) {
        if (toQString(d.root) == root)
            return d.fileSystem == FS_FAT || d.fileSystem == FS_FAT32;
    }
    return false;
}

void TransferSaveStep::run(const QList<QFileInfo>& files, const std::u16string& drive, bool toUSB)
{
    m_controller.m_workerIdle.Reset();
    const unsigned int rate =
        toUSB ? copyFilesToUSB(files, drive) : writeVideoFileToBurner(files, drive);
    const bool cancelled = m_controller.isCancelled();
    const QString failure = failureText();
    if (!cancelled && !failure.isEmpty()) {
        m_controller.completeWorkerStep(false, 0);
        m_controller.setTransferState(TransferState::Stopped);
        emit m_controller.saveFailed(failure);
        return;
    }
    m_controller.completeWorkerStep(!cancelled, cancelled ? 0 : rate);
}

unsigned int TransferSaveStep::copyFilesToUSB(const QList<QFileInfo>& files,
                                              const std::u16string& drive)
{
    begin(files);
    const QString root = toQString(drive);
    const bool fat = fatDrive(drive);
    quint64 totalBytes = 0;
    qint64 totalSeconds = 0;
    for (int i = 0; i < files.size(); ++i) {
        const QFileInfo& file = files[i];
        const QString source = file.filePath();
        if (!file.exists()) {
            qDebug().noquote().nospace() << "copy USB: file not found " << source;
            if (!isFailedConversion(source))
                failFile(i, tr("the file was not found"));
            continue;
        }
        qDebug().noquote().nospace()
            << "copy file to USB: " << source << " " << root + QLatin1Char('/') + file.fileName();
        emit m_controller.fileSaveStarted(i);
        QElapsedTimer timer;
        timer.start();
        const USBFileCopier::Result result = USBFileCopier::copy(
            source, root,
            [this](quint64 transferred, quint64 total) {
                qDebug().noquote().nospace()
                    << "USB copy progress: transfered bytes: " << transferred
                    << ", total size: " << total;
                emit m_controller.writeFileProgress(transferred, total, 0, QString());
                return !m_controller.isCancelled();
            },
            fat);
        totalSeconds += timer.elapsed() / 1000;

        if (result.outcome == USBFileCopier::Outcome::Failed) {
            qDebug().noquote().nospace() << "copy USB: " << source << " failed: " << result.reason;
            failFile(i, result.reason);
            // The drive is full, gone or refusing: the files after it are not tried.
            break;
        }
        if (result.outcome == USBFileCopier::Outcome::Copied) {
            totalBytes += quint64(file.size());
            setOutcome(i, FileOutcome::Arrived, result.destination);
        } else {
            setOutcome(i, FileOutcome::Cancelled, QString());
        }
        if (m_controller.isCancelled()) {
            emit m_controller.fileSaveCanceled(i);
            break;
        }
        emit m_controller.fileSaveFinished(i);
    }
    const unsigned int rate = rateFromSeconds(totalBytes, totalSeconds);
    qDebug().noquote().nospace() << "USB transfer rate " << rate << " (bytes/sec)"
                                 << ", total bytes " << totalBytes << ", total time "
                                 << totalSeconds;
    return rate;
}

unsigned int TransferSaveStep::writeVideoFileToBurner(const QList<QFileInfo>& files,
                                                      const std::u16string& drive)
{
    begin(files);
    const char* const prefix = "TransferWizardController::writeVideoFileToBurner: ";
    const QString name = toQString(drive);
    KavoMediaBurner& burner = m_controller.m_burner;
    const auto failAll = [&](const QString& reason) {
        for (int i = 0; i < files.size(); ++i) {
            if (files[i].exists())
                failFile(i, reason);
        }
        return 0u;
    };

    const auto found = m_controller.m_burnerDrives.find(drive);
    if (found == m_controller.m_burnerDrives.end()) {
        qDebug().noquote().nospace() << prefix << "could not find drive " << name;
        return failAll(tr("the recorder %1 is not available").arg(name));
    }
    const quint32 selected = burner.SetCurrentDrive(found->second);
    if (selected != KavoMediaBurner::Success) {
        qDebug().noquote().nospace() << prefix << "failed to set current drive " << name;
        return failAll(burnerReason(selected));
    }

    // Each write burns its own files only, never those of an earlier transfer.
    burner.ClearFiles();
    quint64 totalBytes = 0;
    QList<int> added;
    for (int i = 0; i < files.size(); ++i) {
        const QString path = files[i].filePath();
        if (!files[i].exists()) {
            if (!isFailedConversion(path))
                failFile(i, tr("the file was not found"));
            continue;
        }
        const quint32 rc = burner.AddFile(path.toStdU16String());
        if (rc == KavoMediaBurner::Success) {
            qDebug().noquote().nospace() << prefix << "add file " << path;
            emit m_controller.fileSaveStarted(i);
            added << i;
            totalBytes += quint64(files[i].size());
        } else {
            qDebug().noquote().nospace() << prefix << "failed to add file " << path;
            failFile(i, burnerReason(rc));
        }
    }
    if (!burner.HasFiles())
        return 0;

    // Names can change on the disc (two files of one name): report the ones used.
    const std::vector<std::u16string> discNames = burner.FileNamesOnDisc();
    emit m_controller.writeFileProgress(0, 100, 0, QString());
    {
        QMutexLocker lock(&m_controller.m_stateMutex);
        m_controller.m_burnDestination = drive;
    }
    QElapsedTimer timer;
    timer.start();
    quint32 result = burner.WriteToDisc(std::u16string());
    if (result != KavoMediaBurner::Success) {
        qDebug().noquote().nospace() << prefix << "WriteToDisc() failed";
    } else {
        qDebug().noquote().nospace() << prefix << "Start burning disc....";
        result = burner.Run();
        if (result == KavoMediaBurner::Success || result == KavoMediaBurner::BurnComplete)
            qDebug().noquote().nospace() << prefix << "Run() success!";
        else
            qDebug().noquote().nospace() << prefix << "Run() failed " << result;
    }
    {
        QMutexLocker lock(&m_controller.m_stateMutex);
        m_controller.m_burnDestination.clear();
    }
    const qint64 elapsed = timer.elapsed();
    const bool written =
        result == KavoMediaBurner::Success || result == KavoMediaBurner::BurnComplete;
    const unsigned int rate = written ? rateFromMilliseconds(totalBytes, elapsed) : 0;
    qDebug().noquote().nospace() << prefix << "CD/DVD transfer rate " << rate << " (bytes/sec)"
                                 << ", total bytes " << totalBytes << ", total time " << elapsed;

    const bool cancelled = m_controller.isCancelled();
    // The storage library's own words say more than a status code.
    const std::u16string libraryReason = written ? std::u16string() : burner.LastFailureReason();
    const QString failure =
        libraryReason.empty() ? burnerReason(result) : QString::fromStdU16String(libraryReason);
    for (int k = 0; k < added.size(); ++k) {
        const int index = added[k];
        if (cancelled) {
            setOutcome(index, FileOutcome::Cancelled, QString());
            emit m_controller.fileSaveCanceled(index);
        } else if (!written) {
            failFile(index, failure);
        } else {
            setOutcome(index, FileOutcome::Arrived,
                       name + QLatin1Char('/') + QString::fromStdU16String(discNames[size_t(k)]));
            emit m_controller.fileSaveFinished(index);
        }
    }
    burner.ClearFiles();
    return rate;
}

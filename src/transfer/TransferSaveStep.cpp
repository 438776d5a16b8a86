#include "TransferSaveStep.h"

#include <QCoreApplication>
#include <QDebug>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMutexLocker>
#include <chrono>
#include <functional>

#include "DestinationVolume.h"
#include "FileNameMapper.h"
#include "IKavoMediaBurnerCallback.h"
#include "KavoMediaBurner.h"
#include "USBDriveData.h"
#include "USBFileCopier.h"

namespace {

// The texts keep the wizard's translation context; each is marked where it stands so lupdate
// finds it.
QString text(const char* source)
{
    return QCoreApplication::translate("TransferWizardController", source);
}

// A failed conversion leaves only its partial ".temp" output in the list of files to write;
// the conversion error has been reported already.
bool isFailedConversion(const QString& path)
{
    return path.endsWith(QLatin1String(".temp"));
}

// The burner's progress, for the length of one burn.
class BurnProgress final : public kvtl::RefCountedImpl<IKavoMediaBurnerCallback>
{
public:
    BurnProgress(std::function<void(quint64, quint64)> report,
                 std::function<void(quint32, quint64, quint64)> phase)
        : m_report(std::move(report)), m_phase(std::move(phase))
    {
    }
    void OnProgress(quint64 current, quint64 total) override { m_report(current, total); }
    void OnBurnPhase(quint32 phase, quint64 current, quint64 total) override
    {
        m_phase(phase, current, total);
    }

private:
    std::function<void(quint64, quint64)> m_report;
    std::function<void(quint32, quint64, quint64)> m_phase;
};

} // namespace

TransferSaveStep::TransferSaveStep(const std::atomic<bool>& cancelled, KavoMediaBurner& burner,
                                   const TransferDestination& destination, const QList<File>& files,
                                   QObject* parent)
    : TransferStep(cancelled, parent), m_burner(burner), m_destination(destination), m_files(files)
{
    for (const File& file : m_files) {
        FileOutcome outcome;
        outcome.index = file.index;
        outcome.source = file.source;
        m_outcomes.append(outcome);
        m_feed.push_back(file.ready ? Feed::Ready : Feed::Waiting);
    }
}

TransferSaveStep::~TransferSaveStep()
{
    // Nothing the worker uses may go before it has ended; a copy waiting for a file stops.
    cancel();
    halt();
    join();
}

unsigned int TransferSaveStep::rateFromNanoseconds(quint64 bytes, qint64 nanoseconds)
{
    return nanoseconds > 0 ? unsigned(qMin(double(bytes) * 1e9 / double(nanoseconds), 4294967295.0))
                           : 0;
}

QString TransferSaveStep::burnerReason(quint32 code)
{
    switch (code) {
    case KavoMediaBurner::NoRecorder:
        return text(
            QT_TRANSLATE_NOOP("TransferWizardController", "the recorder could not be found"));
    case KavoMediaBurner::DiscFull:
        return text(QT_TRANSLATE_NOOP("TransferWizardController", "the disc is full"));
    case KavoMediaBurner::NoDiscReady:
        return text(QT_TRANSLATE_NOOP("TransferWizardController",
                                      "no writable disc is ready in the drive"));
    case KavoMediaBurner::EmptyDrive:
        return text(QT_TRANSLATE_NOOP("TransferWizardController", "no recorder was chosen"));
    case KavoMediaBurner::BurnCancelled:
        return text(QT_TRANSLATE_NOOP("TransferWizardController", "the burn was stopped"));
    case KavoMediaBurner::StorageBusy:
        return text(QT_TRANSLATE_NOOP("TransferWizardController",
                                      "the recorder is in use by another program"));
    default:
        return text(QT_TRANSLATE_NOOP("TransferWizardController", "the disc could not be written"));
    }
}

void TransferSaveStep::start()
{
    m_thread = std::thread([this] {
        run();
        // Joined on the session's thread; finished only after that.
        QMetaObject::invokeMethod(
            this,
            [this] {
                join();
                finish(failureText().isEmpty());
            },
            Qt::QueuedConnection);
    });
}

void TransferSaveStep::cancel()
{
    if (!m_destination.toUSB() && m_thread.joinable())
        m_burner.Cancel();
    // A copy waiting for a converted file wakes to see the cancel.
    std::lock_guard<std::mutex> lock(m_feedMutex);
    m_feedChanged.notify_all();
}

void TransferSaveStep::release(int index, bool ok)
{
    std::lock_guard<std::mutex> lock(m_feedMutex);
    for (size_t row = 0; row < m_feed.size(); ++row) {
        if (m_files[int(row)].index == index && m_feed[row] == Feed::Waiting)
            m_feed[row] = ok ? Feed::Ready : Feed::Dropped;
    }
    m_feedChanged.notify_all();
}

void TransferSaveStep::closeFeed()
{
    std::lock_guard<std::mutex> lock(m_feedMutex);
    m_feedOpen = false;
    m_feedChanged.notify_all();
}

void TransferSaveStep::halt()
{
    m_halted = true;
    std::lock_guard<std::mutex> lock(m_feedMutex);
    m_feedChanged.notify_all();
}

int TransferSaveStep::takeNext()
{
    std::unique_lock<std::mutex> lock(m_feedMutex);
    for (;;) {
        if (stopping())
            return -1;
        bool waiting = false;
        for (size_t row = 0; row < m_feed.size(); ++row) {
            if (m_feed[row] == Feed::Ready) {
                m_feed[row] = Feed::Taken;
                return int(row);
            }
            waiting = waiting || m_feed[row] == Feed::Waiting;
        }
        if (!waiting || !m_feedOpen)
            return -1;
        // The cancel flag is set without this lock: look again now and then.
        m_feedChanged.wait_for(lock, std::chrono::milliseconds(200));
    }
}

void TransferSaveStep::join()
{
    if (m_thread.joinable())
        m_thread.join();
}

void TransferSaveStep::wait()
{
    join();
    finish(failureText().isEmpty());
}

void TransferSaveStep::run()
{
    m_rate = m_destination.toUSB() ? copyFilesToUSB() : writeVideoFileToBurner();
    // A file that could not be written because the drive went away.
    if (m_destination.toUSB() && !failureText().isEmpty() && !QFileInfo(m_destination.root).isDir())
        m_driveLost = true;
}

void TransferSaveStep::setOutcome(int row, FileOutcome::State state, const QString& detail,
                                  int code)
{
    QMutexLocker lock(&m_mutex);
    FileOutcome& outcome = m_outcomes[row];
    outcome.state = state;
    outcome.code = code;
    if (state == FileOutcome::Arrived)
        outcome.destination = detail;
    else
        outcome.reason = detail;
}

void TransferSaveStep::failFile(int row, const QString& reason, int code)
{
    setOutcome(row, FileOutcome::Failed, reason, code);
    emit fileEnded(outcomes().at(row));
}

QList<FileOutcome> TransferSaveStep::outcomes() const
{
    QMutexLocker lock(&m_mutex);
    return m_outcomes;
}

QString TransferSaveStep::failureText() const
{
    QMutexLocker lock(&m_mutex);
    for (const FileOutcome& outcome : m_outcomes) {
        if (outcome.state == FileOutcome::Failed)
            return text(QT_TRANSLATE_NOOP("TransferWizardController",
                                          "Transfer failed. %1 could not be written: %2."))
                .arg(QFileInfo(outcome.source).fileName(), outcome.reason);
    }
    return {};
}

unsigned int TransferSaveStep::copyFilesToUSB()
{
    const QString& root = m_destination.root;
    const bool fat = m_destination.fileSystem == FS_FAT || m_destination.fileSystem == FS_FAT32;
    const FileNameMapper names = FileNameMapper::forDrive(m_destination.fileSystem, root);
    const DestinationVolume volume(root);
    quint64 totalBytes = 0;
    // The copies' own time, finely: whole seconds per file made a copy of 0.9 s count for
    // nothing and one of 1.9 s for 1 s.
    qint64 totalNanoseconds = 0;
    for (;;) {
        const int row = takeNext();
        if (row < 0)
            break;
        const File& file = m_files[row];
        const QFileInfo info(file.path);
        if (!info.exists()) {
            qDebug().noquote().nospace() << "copy USB: file not found " << file.path;
            if (!isFailedConversion(file.path))
                failFile(row, text(QT_TRANSLATE_NOOP("TransferWizardController",
                                                     "the file was not found")));
            continue;
        }
        qDebug().noquote().nospace() << "copy file to USB: " << file.path << " "
                                     << root + QLatin1Char('/') + info.fileName();
        emit fileStarted(file.index);
        QElapsedTimer timer;
        timer.start();
        const USBFileCopier::Result result = USBFileCopier::copy(
            file.path, root,
            [this](quint64 transferred, quint64 total) {
                emit progress(transferred, total, 0, QString());
                return !stopping();
            },
            fat, names);
        const qint64 copyNanoseconds = timer.nsecsElapsed();

        if (result.outcome == USBFileCopier::Outcome::Failed) {
            qDebug().noquote().nospace()
                << "copy USB: " << file.path << " failed: " << result.reason;
            failFile(row, result.reason, result.error);
            // A full, read-only or vanished drive takes no further file; a file that failed
            // for a reason of its own does not keep the others off the drive.
            if (volume.endsTransfer(result.error)) {
                m_endedEarly = true;
                break;
            }
            continue;
        }
        if (result.outcome == USBFileCopier::Outcome::Copied) {
            totalBytes += quint64(info.size());
            totalNanoseconds += copyNanoseconds;
            setOutcome(row, FileOutcome::Arrived, result.destination);
        } else {
            setOutcome(row, FileOutcome::Cancelled, QString());
        }
        emit fileEnded(outcomes().at(row));
    }
    const unsigned int rate = rateFromNanoseconds(totalBytes, totalNanoseconds);
    qDebug().noquote().nospace() << "USB transfer rate " << rate << " (bytes/sec)"
                                 << ", total bytes " << totalBytes << ", total time "
                                 << totalNanoseconds / 1000000000;
    return rate;
}

unsigned int TransferSaveStep::writeVideoFileToBurner()
{
    const char* const prefix = "TransferSaveStep::writeVideoFileToBurner: ";
    const QString& name = m_destination.root;
    const auto failAll = [&](const QString& reason, quint32 code) {
        for (int row = 0; row < m_files.size(); ++row) {
            if (QFileInfo::exists(m_files[row].path))
                failFile(row, reason, int(code));
        }
        return 0u;
    };

    if (m_destination.drive.isEmpty()) {
        qDebug().noquote().nospace() << prefix << "no recorder for " << name;
        return failAll(
            text(QT_TRANSLATE_NOOP("TransferWizardController", "the recorder %1 is not available"))
                .arg(name),
            KavoMediaBurner::NoRecorder);
    }
    const quint32 selected = m_burner.SetCurrentDrive(m_destination.drive);
    if (selected != KavoMediaBurner::Success) {
        qDebug().noquote().nospace() << prefix << "failed to set current drive " << name;
        return failAll(burnerReason(selected), selected);
    }

    // Each write burns its own files only, never those of an earlier transfer.
    m_burner.ClearFiles();
    quint64 totalBytes = 0;
    QList<int> added;
    for (int row = 0; row < m_files.size(); ++row) {
        const QString& path = m_files[row].path;
        if (!QFileInfo::exists(path)) {
            if (!isFailedConversion(path))
                failFile(row, text(QT_TRANSLATE_NOOP("TransferWizardController",
                                                     "the file was not found")));
            continue;
        }
        const quint32 rc = m_burner.AddFile(path.toStdU16String());
        if (rc == KavoMediaBurner::Success) {
            qDebug().noquote().nospace() << prefix << "add file " << path;
            emit fileStarted(m_files[row].index);
            added << row;
            totalBytes += quint64(QFileInfo(path).size());
        } else {
            qDebug().noquote().nospace() << prefix << "failed to add file " << path;
            failFile(row, burnerReason(rc), int(rc));
        }
    }
    if (!m_burner.HasFiles() || cancelled()) {
        m_burner.ClearFiles();
        return 0;
    }

    // Names can change on the disc (two files of one name): report the ones used.
    const std::vector<std::u16string> discNames = m_burner.FileNamesOnDisc();
    emit progress(0, 100, 0, QString());
    kvtl::RefCountedPtr<IKavoMediaBurnerCallback> callback(new BurnProgress(
        [this](quint64 current, quint64 total) { emit progress(current, total, 0, QString()); },
        [this](quint32 phase, quint64 current, quint64 total) {
            emit burnPhase(int(phase), current, total);
        }));
    m_burner.SetCallback(callback.get());
    QElapsedTimer timer;
    timer.start();
    quint32 result = m_burner.WriteToDisc(std::u16string());
    if (result != KavoMediaBurner::Success) {
        qDebug().noquote().nospace() << prefix << "WriteToDisc() failed";
    } else {
        qDebug().noquote().nospace() << prefix << "Start burning disc....";
        result = m_burner.Run();
        qDebug().noquote().nospace() << prefix << "Run() ended " << result;
    }
    m_burner.SetCallback(nullptr);
    const qint64 elapsed = timer.elapsed();
    const bool written =
        result == KavoMediaBurner::Success || result == KavoMediaBurner::BurnComplete;
    const unsigned int rate = written ? rateFromNanoseconds(totalBytes, timer.nsecsElapsed()) : 0;
    qDebug().noquote().nospace() << prefix << "CD/DVD transfer rate " << rate << " (bytes/sec)"
                                 << ", total bytes " << totalBytes << ", total time " << elapsed;

    // What the burn says counts, not when the cancel came: a disc written and verified before
    // a late cancel holds the files.
    for (int k = 0; k < added.size(); ++k) {
        const int row = added[k];
        if (written) {
            setOutcome(row, FileOutcome::Arrived,
                       name + QLatin1Char('/') + QString::fromStdU16String(discNames[size_t(k)]));
        } else if (result == KavoMediaBurner::BurnCancelled || cancelled()) {
            setOutcome(row, FileOutcome::Cancelled, QString());
        } else {
            // The drive's reason in words when it gave one, else what the result code says.
            const QString why = m_burner.FailureReason();
            failFile(row, why.isEmpty() ? burnerReason(result) : why, int(result));
            continue;
        }
        emit fileEnded(outcomes().at(row));
    }
    m_burner.ClearFiles();
    m_burner.SetCurrentDrive(Drive());
    return rate;
}

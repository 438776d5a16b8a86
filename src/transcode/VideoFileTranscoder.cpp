#include "VideoFileTranscoder.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QMutexLocker>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>

#include "EngineSpeedCalibration.h"
#include "ITranscodeOutputProperties.h"
#include "ITranscodeOutputSettings.h"
#include "PingManager.h"
#include "SettingsAccessors.h"
#include "TranscodeEngine.h"
#include "TranscodeEnums.h"
#include "TranscodeEstimator.h"
#include "TranscodeLogging.h"

namespace {

const char* const EngineSettingsPath = "TranscodeEngine";

QString toQString(const std::u16string& s)
{
    return QString::fromStdU16String(s);
}

QString sourceName(kvt::ISourceMedia* source)
{
    std::u16string name;
    if (!source || source->GetFileName(name) != 0)
        return QString();
    return toQString(name);
}

// Engine log settings from the install group; values that cannot be read keep their defaults.
kvt::LoggerSettings readLoggerSettings()
{
    kvt::LoggerSettings logger;
    bool enable = false;
    if (ReadInstallSetting(EngineSettingsPath, "LoggerEnable", enable))
        logger.enable = enable;
    std::string path;
    if (ReadInstallSetting(EngineSettingsPath, "LoggerPath", path))
        logger.logDirectory = path;
    int32_t level = 0;
    if (ReadInstallSetting(EngineSettingsPath, "LoggerLevel", level))
        logger.level = level;
    if (logger.enable && logger.logDirectory.empty()) {
        QDir movies(QStandardPaths::writableLocation(QStandardPaths::MoviesLocation));
        movies.mkpath(QStringLiteral("Kavo Logs"));
        logger.logDirectory = QFileInfo(movies.filePath(QStringLiteral("Kavo Logs")))
                                  .absoluteFilePath()
                                  .toStdString();
    }
    if (logger.enable && logger.level == 0)
        logger.level = 1;
    return logger;
}

} // namespace

VideoFileTranscoder::VideoFileTranscoder(QObject* parent)
    : QObject(parent), m_callback(new ProgressCallback)
{
}

VideoFileTranscoder::~VideoFileTranscoder()
{
    // Releasing the sessions stops their workers; only then may the callback they report to go.
    cancelAnalysis();
    clearQueue();
    if (m_callback)
        disconnect(m_callback.get(), nullptr, this, nullptr);
    m_callback.reset();
}

void VideoFileTranscoder::clearQueue()
{
    std::vector<TranscodeJob> jobs;
    {
        QMutexLocker lock(&m_queueMutex);
        jobs.swap(m_jobs);
    }
    // Released outside the lock: a session's release waits for its worker to stop.
}

int VideoFileTranscoder::reportError(int code, const char* text) const
{
    qCDebug(lcTranscode).noquote().nospace()
        << "VideoFileTranscoder " << text << " error: " << code;
    return code;
}

QString VideoFileTranscoder::profileName(int profile)
{
    switch (profile) {
    case 1:
        return QStringLiteral("HD1080");
    case 3:
        return QStringLiteral("HomeTheater576");
    case 4:
        return QStringLiteral("KavoPlusHD1080");
    default:
        return QString();
    }
}

bool VideoFileTranscoder::initEngine()
{
    clearQueue();
    // A new run: what the last one converted has been written or was given up.
    m_folder.clear();
    m_nextJob = 0;
    m_state = Idle;
    // The engine's speed on this machine, as the last measured conversion found it.
    EngineSpeedCalibration::load();
    if (m_engineReady)
        return true;

    connect(m_callback.get(), &ProgressCallback::progress, this,
            &VideoFileTranscoder::progressSlot);
    connect(m_callback.get(), &ProgressCallback::done, this, &VideoFileTranscoder::doneSlot);
    connect(m_callback.get(), &ProgressCallback::cancel, this, &VideoFileTranscoder::cancelSlot);
    connect(m_callback.get(), &ProgressCallback::fatalError, this,
            &VideoFileTranscoder::fatalErrorSlot);

    // An installed engine is named by the install setting; without one (a build tree, or an
    // install that puts the worker beside the program) it is looked for beside the program.
    std::u16string installDir;
    ReadInstallSetting(std::u16string(u"TranscodeEngine"), std::u16string(u"InstallDir"),
                       installDir);
    const std::u16string enginePath = installDir.empty()
                                          ? kvt::LocateTranscodeEngine(std::u16string())
                                          : kvt::LocateTranscodeEngine(installDir + u"/KavoEngine");
    if (enginePath.empty()) {
        qCDebug(lcTranscode).noquote().nospace()
            << "VideoFileTranscoder no transcode engine found in '" << toQString(installDir) << "'";
        disconnect(m_callback.get(), nullptr, this, nullptr);
        return false;
    }

    const kvt::LoggerSettings logger = readLoggerSettings();
    const int32_t result = kvt::InitTranscodeEngine(enginePath, &logger, m_engineInfo);
    m_engineReady = result == kvt::SUCCESS && m_engineInfo;
    qCDebug(lcTranscode).noquote().nospace() << "VideoFileTranscoder InitTranscodeEngine() "
                                             << toQString(enginePath) << " returns " << result;
    if (!m_engineReady)
        disconnect(m_callback.get(), nullptr, this, nullptr);
    return m_engineReady;
}

int VideoFileTranscoder::analyzeFile(const QString& sourcePath, const QString& outputPath,
                                     int profile, SourceList& sources, quint32& estimatedTime,
                                     quint64& estimatedSize, bool& needsConversion)
{
    TranscodeJob job;
    const int result = prepareConversion(sourcePath, profile, sources, estimatedTime, estimatedSize,
                                         needsConversion, job);
    if (job.session) {
        job.outputPath = outputPath;
        queueJob(sourcePath, std::move(job));
    } else if (m_engineReady) {
        removeJob(sourcePath);
    }
    return result;
}

int VideoFileTranscoder::prepareConversion(const QString& sourcePath, int profile,
                                           SourceList& sources, quint32& estimatedTime,
                                           quint64& estimatedSize, bool& needsConversion,
                                           TranscodeJob& job, const std::atomic<bool>* stop)
{
    kvtl::RefCountedPtr<kvt::ITranscodeSession> analysis;
    {
        QMutexLocker lock(&m_analysisMutex);
        if (!m_engineReady)
            return kvt::ENG_ERR;
        const int32_t created = kvt::CreateTranscodeSession(analysis);
        if (created != kvt::SUCCESS || !analysis)
            return reportError(created != kvt::SUCCESS ? created : kvt::ENG_ERR,
                               "CreateMediaSource() failed");
        // Listed under the lock: a cancel from now on reaches this analysis.
        m_analyses[analysis.get()] = false;
        // One that came before is seen here.
        if (stop && stop->load()) {
            m_analyses.erase(analysis.get());
            return kvt::ENG_ERR;
        }
    }

    int32_t streamCount = 0;
    int32_t flags = 0;
    int32_t result = analysis->CreateMediaSource(sourcePath.toStdU16String(), streamCount, flags,
                                                 std::u16string(), sources);
    bool cancelled;
    {
        QMutexLocker lock(&m_analysisMutex);
        cancelled = m_analyses[analysis.get()];
        m_analyses.erase(analysis.get());
    }
    analysis.reset();
    if (cancelled)
        return kvt::ENG_ERR;

    qCDebug(lcTranscode).noquote()
        << "VideoFileTranscoder CreateMediaSource():" << sourcePath << "returns" << result
        << "SourceMediaPointer" << (sources.empty() ? "invalid" : "valid");
    if (result != kvt::SUCCESS) {
        reportError(result, "CreateMediaSource() failed");
        if (sources.empty())
            return result;
    }
    kvt::ISourceMedia* first = sources.front().get();
    if (!first)
        return reportError(kvt::ENG_ERR, "CreateMediaSource() failed");

    bool compatible = false;
    if (first->IsCompatible(profile, compatible) == kvt::SUCCESS)
        needsConversion = !compatible;

    kvtl::RefCountedPtr<kvt::ITranscodeOutputSettings> settings;
    result = kvt::CreateDefaultTranscodeOutputSettings(profile, settings);
    if (!settings)
        return reportError(result != kvt::SUCCESS ? result : kvt::ENG_ERR,
                           "CreateDefaultTranscodeOutputSettings() failed");

    kvtl::RefCountedPtr<kvt::ITranscodeSession> session;
    result = kvt::CreateTranscodeSession(session);
    if (!session)
        return reportError(result != kvt::SUCCESS ? result : kvt::ENG_ERR,
                           "CreateTranscodeSession() failed");

    result = session->AddSource(first);
    if (result != kvt::SUCCESS)
        return reportError(result, "AddSource() failed");

    int32_t videoTracks = 0;
    if (first->GetVideoTrackCount(videoTracks) == kvt::SUCCESS && videoTracks == 1) {
        kvtl::RefCountedPtr<kvt::ISourceMediaVideoTrack> track;
        int32_t width = 0;
        int32_t height = 0;
        if (first->GetVideoTrack(0, track) == kvt::SUCCESS && track) {
            track->GetWidth(width);
            track->GetHeight(height);
        }
        if (width != 0 && height != 0)
            settings->SetResolution(width, height);
    }

    result = session->SetOutputSettings(settings.get());
    if (result != kvt::SUCCESS)
        return reportError(result, "SetOutputSettings() failed");
    result = session->SetTranscodeEngineInfo(m_engineInfo.get());
    if (result != kvt::SUCCESS)
        return reportError(result, "SetTranscodeEngineInfo() failed");

    kvtl::RefCountedPtr<kvt::ITranscodeOutputProperties> properties;
    result = session->GetOutputProperties(properties);
    if (!properties)
        return reportError(result != kvt::SUCCESS ? result : kvt::ENG_ERR,
                           "GetOutputProperties() failed");

    uint32_t seconds = 0;
    result = properties->GetEstimatedTranscodeTime(seconds);
    if (result != kvt::SUCCESS)
        return reportError(result, "GetEstimatedTranscodeTime() failed");
    estimatedTime = needsConversion ? seconds : 0;

    uint64_t bytes = 0;
    result = properties->GetEstimatedOutputSize(bytes);
    if (result != kvt::SUCCESS)
        return reportError(result, "GetEstimatedOutputSize() failed");
    estimatedSize = bytes;

    qCDebug(lcTranscode).noquote().nospace()
        << "VideoFileTranscoder transcodeTime(): " << sourcePath
        << ", transcode time: " << estimatedTime << ", transcode file size: " << estimatedSize;

    int32_t width = 0;
    int32_t height = 0;
    properties->GetResolution(width, height);
    result = settings->SetResolution(width, height);

    job.session = session;
    job.sources = sources;
    job.settings = settings;
    job.properties = properties;
    job.profile = profile;
    return result;
}

void VideoFileTranscoder::queueJob(const QString& sourcePath, TranscodeJob job)
{
    // Released after the lock, as in removeJob.
    TranscodeJob replaced;
    QMutexLocker lock(&m_queueMutex);
    replaced = takeJobLocked(findJobLocked(sourcePath));
    m_jobs.push_back(std::move(job));
}

void VideoFileTranscoder::cancelAnalysis()
{
    QMutexLocker lock(&m_analysisMutex);
    for (auto& analysis : m_analyses) {
        analysis.first->Cancel();
        analysis.second = true;
    }
}

int VideoFileTranscoder::queueLength() const
{
    QMutexLocker lock(&m_queueMutex);
    return int(m_jobs.size());
}

int VideoFileTranscoder::prepareRetry()
{
    std::vector<TranscodeJob> jobs;
    {
        QMutexLocker lock(&m_queueMutex);
        jobs.swap(m_jobs);
    }
    // The converted files first, already passed; their jobs stay so that their outputs are
    // found for writing.
    std::vector<TranscodeJob> queue;
    for (const TranscodeJob& job : jobs) {
        if (!job.outputPath.isEmpty() && QFileInfo::exists(job.outputPath))
            queue.push_back(job);
    }
    const int converted = int(queue.size());
    std::vector<TranscodeJob> left;
    for (TranscodeJob& job : jobs) {
        if (!job.outputPath.isEmpty() && QFileInfo::exists(job.outputPath))
            continue;
        int32_t status = kvt::TS_Pending;
        if (job.session && job.session->GetStatus(status) == kvt::SUCCESS &&
            status != kvt::TS_Pending) {
            kvtl::RefCountedPtr<kvt::ITranscodeSession> fresh;
            if (kvt::CreateTranscodeSession(fresh) != kvt::SUCCESS || !fresh ||
                job.sources.empty() ||
                fresh->AddSource(job.sources.front().get()) != kvt::SUCCESS ||
                fresh->SetOutputSettings(job.settings.get()) != kvt::SUCCESS ||
                fresh->SetTranscodeEngineInfo(m_engineInfo.get()) != kvt::SUCCESS) {
                reportError(kvt::ENG_ERR, "prepareRetry() could not renew a session");
            } else {
                job.session = fresh;
                kvtl::RefCountedPtr<kvt::ITranscodeOutputProperties> properties;
                if (fresh->GetOutputProperties(properties) == kvt::SUCCESS && properties)
                    job.properties = properties;
            }
        }
        left.push_back(job);
    }
    const int count = int(left.size());
    queue.insert(queue.end(), left.begin(), left.end());
    {
        QMutexLocker lock(&m_queueMutex);
        m_jobs.swap(queue);
        m_nextJob = converted;
    }
    m_state = Idle;
    // The sessions let go here (outside the lock) stop their workers first.
    return count;
}

int VideoFileTranscoder::pendingCount() const
{
    QMutexLocker lock(&m_queueMutex);
    return qMax(0, int(m_jobs.size()) - m_nextJob);
}

int VideoFileTranscoder::findJobLocked(const QString& fileName) const
{
    for (size_t i = 0; i < m_jobs.size(); ++i) {
        for (const auto& source : m_jobs[i].sources) {
            if (sourceName(source.get()).compare(fileName, Qt::CaseInsensitive) == 0)
                return int(i);
        }
    }
    return -1;
}

int VideoFileTranscoder::findJob(const QString& fileName) const
{
    QMutexLocker lock(&m_queueMutex);
    return findJobLocked(fileName);
}

bool VideoFileTranscoder::findJob(const QString& fileName, TranscodeJob& job) const
{
    QMutexLocker lock(&m_queueMutex);
    const int index = findJobLocked(fileName);
    if (index < 0)
        return false;
    job = m_jobs[size_t(index)];
    return true;
}

bool VideoFileTranscoder::jobSources(const QString& fileName, SourceList& sources) const
{
    sources.clear();
    QMutexLocker lock(&m_queueMutex);
    const int index = findJobLocked(fileName);
    if (index < 0)
        return false;
    sources = m_jobs[size_t(index)].sources;
    return true;
}

TranscodeJob VideoFileTranscoder::takeJobLocked(int index)
{
    if (index < 0)
        return {};
    TranscodeJob taken = std::move(m_jobs[size_t(index)]);
    m_jobs.erase(m_jobs.begin() + index);
    // Keep the running job's index pointing at the same job.
    if (index < m_nextJob)
        --m_nextJob;
    return taken;
}

void VideoFileTranscoder::removeJob(const QString& fileName)
{
    TranscodeJob removed;
    QMutexLocker lock(&m_queueMutex);
    removed = takeJobLocked(findJobLocked(fileName));
}

QString VideoFileTranscoder::uniqueOutputPath(const QString& wanted, const QString& sourcePath,
                                              const QStringList& reserved) const
{
    QStringList taken = reserved;
    {
        QMutexLocker lock(&m_queueMutex);
        for (const TranscodeJob& job : m_jobs) {
            bool same = false;
            for (const auto& source : job.sources)
                same =
                    same || sourceName(source.get()).compare(sourcePath, Qt::CaseInsensitive) == 0;
            if (!same)
                taken << job.outputPath;
        }
    }
    const QFileInfo info(wanted);
    const QString dir = info.path();
    const QString base = info.completeBaseName();
    const QString suffix = info.suffix().isEmpty() ? QString() : "." + info.suffix();
    QString candidate = wanted;
    for (int n = 2; taken.contains(candidate, Qt::CaseInsensitive); ++n)
        candidate = dir + "/" + base + QStringLiteral(" (%1)").arg(n) + suffix;
    return candidate;
}

std::string VideoFileTranscoder::engineText() const
{
    std::string text;
    if (m_engineInfo)
        m_engineInfo->GetEngineText(text);
    return text;
}

VideoFileTranscoder::FileTypeMap VideoFileTranscoder::engineFileTypes() const
{
    FileTypeMap types;
    if (m_engineInfo)
        m_engineInfo->GetFileTypes(types);
    return types;
}

uint32_t VideoFileTranscoder::runningEstimate() const
{
    uint32_t seconds = 0;
    QMutexLocker lock(&m_queueMutex);
    const int running = m_nextJob - 1;
    if (running >= 0 && running < int(m_jobs.size()) && m_jobs[size_t(running)].properties)
        m_jobs[size_t(running)].properties->GetEstimatedTranscodeTime(seconds);
    return seconds;
}

void VideoFileTranscoder::progressSlot(quint32 position, quint32 maximum, QString sourceFileName)
{
    if (m_state == Cancelled) {
        qCDebug(lcTranscode).noquote().nospace()
            << "VideoFileTranscoder::progressSlot canceled, no transcoderProgress()";
        return;
    }
    uint32_t seconds = runningEstimate();
    if (seconds == 0)
        seconds = 1;
    if (maximum > 0)
        m_calibration.sample(double(position) * 100.0 / maximum, m_jobClock.elapsed(), seconds,
                             m_jobFactor);
    qCDebug(lcTranscode).noquote().nospace()
        << "VideoFileTranscoder::progressSlot: position " << position << ", max " << maximum
        << ", transcode time " << seconds;
    emit transcoderProgress(position, maximum, seconds, sourceFileName);
}

void VideoFileTranscoder::doneSlot(QString sourceFileName)
{
    qCDebug(lcTranscode).noquote().nospace() << "VideoFileTranscoder::doneSlot";
    if (m_state == Cancelled)
        return;
    // A conversion shorter than the sampling time is measured whole.
    if (!m_calibration.measured())
        m_calibration.sample(100.0, m_jobClock.elapsed(), runningEstimate(), m_jobFactor);
    emit transcoderDone(sourceFileName);
    startNextTranscodeSession();
}

void VideoFileTranscoder::cancelSlot(QString sourceFileName)
{
    qCDebug(lcTranscode).noquote().nospace() << "VideoFileTranscoder::cancelSlot";
    emit transcoderCancel(sourceFileName);
}

void VideoFileTranscoder::fatalErrorSlot(int err, QString sourceFileName)
{
    qCDebug(lcTranscode).noquote().nospace()
        << "VideoFileTranscoder:fatalErrorSlot. file:" << sourceFileName << "error code:" << err;
    if (m_state == Cancelled)
        return;
    emit transcoderFatalError(err, sourceFileName);
}

void VideoFileTranscoder::startNextTranscodeSession()
{
    kvtl::RefCountedPtr<kvt::ITranscodeSession> session;
    QString outputPath;
    QString fileName;
    int profile = 0;
    {
        QMutexLocker lock(&m_queueMutex);
        if (m_nextJob < int(m_jobs.size())) {
            const TranscodeJob& job = m_jobs[size_t(m_nextJob)];
            session = job.session;
            outputPath = job.outputPath;
            profile = job.profile;
            if (!job.sources.empty())
                fileName = sourceName(job.sources.front().get());
        }
    }
    if (!session) {
        emit transcoderAllFinished();
        return;
    }

    session->SetPriority(kvt::TP_Low);
    m_jobFactor = kvt::TranscodeEstimator::speedFactor();
    m_jobClock.start();
    const int32_t result = session->StartTranscode(outputPath.toStdU16String(), m_callback.get());
    if (result != kvt::SUCCESS) {
        reportError(result, "startNextTranscodeSession() failed");
        // No completion arrives for a conversion that never started: report it as that file's
        // failure, after this call has advanced to the next job, so the user can go on.
        QTimer::singleShot(0, this, [this, result, fileName] { fatalErrorSlot(result, fileName); });
    }

    const QByteArray base = PingManager::transcodeProfileBaseUrl();
    if (!base.isEmpty()) {
        const QUrl url(QString::fromUtf8(base) + profileName(profile), QUrl::TolerantMode);
        qCDebug(lcTranscode).noquote().nospace() << "VideoFileTranscoder " << url.toString();
        pingManager()->ping(url, true);
    }

    {
        QMutexLocker lock(&m_queueMutex);
        ++m_nextJob;
    }
    m_state = Running;
}

void VideoFileTranscoder::cancelTranscodeSlot()
{
    qCDebug(lcTranscode).noquote().nospace() << "VideoFileTranscoder:cancelTranscodeSlot";
    m_state = Cancelled;
    kvtl::RefCountedPtr<kvt::ITranscodeSession> session;
    {
        QMutexLocker lock(&m_queueMutex);
        if (m_nextJob >= 1 && m_nextJob <= int(m_jobs.size()))
            session = m_jobs[size_t(m_nextJob - 1)].session;
    }
    int32_t status = kvt::TS_Pending;
    if (session && session->GetStatus(status) == kvt::SUCCESS && status == kvt::TS_Running) {
        if (session->Cancel() == kvt::SUCCESS) {
            qCDebug(lcTranscode).noquote().nospace()
                << "VideoFileTranscoder:cancelTranscodeSlot transcode Cancel() called";
            return;
        }
    }
    // Nothing was converting (between files, or a failed start): no engine cancellation will
    // arrive, so report it here, or the transfer would wait for it for ever.
    QTimer::singleShot(0, this, [this] { cancelSlot(QString()); });
}

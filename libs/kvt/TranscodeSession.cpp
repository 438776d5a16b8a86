#include "TranscodeSession.h"

#include "EngineLog.h"
#include "LocalPath.h"
#include "MediaLibrary.h"
#include "ProfileTable.h"
#include "SourceMedia.h"
#include "TranscodeEngine.h"
#include "TranscodeEnumNames.h"
#include "TranscodeEnums.h"
#include "TranscodeOutputProperties.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace kvt {

namespace {

bool startsWith(const std::string& s, const char* prefix)
{
    return s.compare(0, std::strlen(prefix), prefix) == 0;
}

} // namespace

TranscodeSession::~TranscodeSession()
{
    if (m_process && !m_process->isFinished()) {
        m_silent = true;
        m_cancelRequested = true;
    }
    m_process.reset(); // stops the worker and joins its reader
}

int32_t TranscodeSession::AddSource(ISourceMedia* source)
{
    if (!source)
        return ENG_INVALID_INPUT_ERR;
    if (m_status != TS_Pending)
        return Working;
    m_source = source;
    return SUCCESS;
}

int32_t TranscodeSession::SetOutputSettings(ITranscodeOutputSettings* settings)
{
    if (!settings)
        return ENG_INVALID_INPUT_ERR;
    if (m_status != TS_Pending)
        return Working;
    int32_t profile = -1;
    if (settings->GetProfile(profile) != SUCCESS || !findDeviceProfile(profile))
        return ENG_OUTOFRANGE_ERR;
    m_settings = settings;
    m_profile = profile;
    return SUCCESS;
}

int32_t TranscodeSession::SetTranscodeEngineInfo(ITranscodeEngineInfo* info)
{
    if (!info)
        return ENG_INVALID_INPUT_ERR;
    m_engineInfo = info;
    return SUCCESS;
}

int32_t TranscodeSession::sourceInfo(MediaInfo& info)
{
    if (auto* ours = dynamic_cast<SourceMedia*>(m_source.get())) {
        info = ours->info();
        return SUCCESS;
    }
    // A source the program made itself: analyse the file it names.
    std::u16string name;
    int32_t rc = m_source->GetFileName(name);
    if (rc != SUCCESS)
        return rc;
    MediaLibrary::probe(name, info, &m_analysisCancel);
    return info.video.empty() ? info.resultCode : SUCCESS;
}

int32_t TranscodeSession::makePlan()
{
    if (!m_source || !m_settings)
        return ENG_INVALID_INPUT_ERR;
    const DeviceProfileSpec* spec = findDeviceProfile(m_profile);
    if (!spec)
        return ENG_OUTOFRANGE_ERR;
    MediaInfo info;
    int32_t rc = sourceInfo(info);
    if (rc != SUCCESS)
        return rc;
    if (info.video.empty())
        return ENG_INVALID_VID_STREAM;
    int32_t w = 0, h = 0;
    m_settings->GetResolution(w, h);
    m_plan = TranscodeEstimator::plan(info, *spec, w, h);
    return SUCCESS;
}

int32_t
TranscodeSession::GetOutputProperties(kvtl::RefCountedPtr<ITranscodeOutputProperties>& properties)
{
    properties.reset();
    // Settings may have changed since an earlier call: plan afresh.
    const int32_t rc = makePlan();
    if (rc != SUCCESS)
        return rc;
    properties = new TranscodeOutputProperties(m_plan);
    return SUCCESS;
}

std::string TranscodeSession::enginePath()
{
    std::u16string path;
    if (m_engineInfo)
        m_engineInfo->GetEnginePath(path);
    if (path.empty())
        path = LocateTranscodeEngine(std::u16string());
    return toLocalPath(path);
}

int TranscodeSession::niceFor(int32_t priority)
{
    switch (priority) {
    case TP_Idle:
        return 19;
    case TP_Low:
        return 10;
    case TP_High:
        return -5;
    default:
        return 0;
    }
}

int32_t TranscodeSession::StartTranscode(const std::u16string& outputPath,
                                         ITranscodeProgressCB* callback)
{
    if (m_status == TS_Running)
        return Working;
    if (m_status != TS_Pending)
        return ENG_CONTROLLER_ERR; // a session converts once
    if (outputPath.empty())
        return ENG_INVALID_INPUT_ERR;
    // Plan again: the settings may have changed since the last estimate.
    const int32_t planned = makePlan();
    if (planned != SUCCESS)
        return planned;
    std::u16string sourceName;
    m_source->GetFileName(sourceName);
    const std::string sourceLocal = toLocalPath(sourceName);
    const std::string outputLocal = toLocalPath(outputPath);
    // Writing over the source would destroy it before it is read.
    struct stat srcStat = {}, outStat = {};
    if (::stat(sourceLocal.c_str(), &srcStat) == 0 && ::stat(outputLocal.c_str(), &outStat) == 0 &&
        srcStat.st_dev == outStat.st_dev && srcStat.st_ino == outStat.st_ino)
        return ENG_DUPLICATE_FILE_ERR;

    const std::string program = enginePath();
    if (program.empty() || ::access(program.c_str(), X_OK) != 0) {
        EngineLog::write(KAVO_ERROR_MSG, "KavoEngine not found: " + program);
        return ENG_RES_NOTFOUND_ERR;
    }

    std::vector<std::string> args = {"--input",   sourceLocal, "--output",
                                     outputLocal, "--profile", std::to_string(m_profile)};
    int32_t reqW = 0, reqH = 0;
    m_settings->GetResolution(reqW, reqH);
    if (reqW > 0 && reqH > 0 && m_plan.width > 0 && m_plan.height > 0) {
        args.insert(args.end(), {"--width", std::to_string(m_plan.width), "--height",
                                 std::to_string(m_plan.height)});
    }

    m_outputLocal = outputLocal;
    m_outputExisted = ::stat(outputLocal.c_str(), &m_outputStat) == 0;
    m_lastProgress = -1.0;
    m_sawDone = false;
    m_reportedError = SUCCESS;
    m_reportedMessage.clear();
    m_cancelRequested = false;
    m_callback = callback;
    m_status = TS_Running;

    std::string line = "StartTranscode " + program;
    for (const std::string& a : args)
        line += " '" + a + "'";
    EngineLog::write(KAVO_INFO_MSG, line);

    m_process = std::make_unique<EngineProcess>();
    const int err = m_process->start(
        program, args, EngineLog::workerLogPath(), niceFor(m_priority),
        [this](const std::string& l) { onWorkerLine(l); },
        [this](const EngineProcess::ExitStatus& e) { onWorkerExit(e); });
    if (err != 0) {
        m_process.reset();
        m_callback = nullptr;
        m_status = TS_Failed;
        EngineLog::write(KAVO_ERROR_MSG,
                         "cannot start KavoEngine: " + std::string(std::strerror(err)));
        return err == ENOENT || err == EACCES ? ENG_RES_NOTFOUND_ERR : ENG_CONTROLLER_ERR;
    }
    return SUCCESS;
}

int32_t TranscodeSession::SetPriority(int32_t priority)
{
    if (priority < TP_Idle || priority > TP_High)
        return ENG_OUTOFRANGE_ERR;
    m_priority = priority;
    if (m_process && !m_process->isFinished())
        m_process->setNice(niceFor(priority));
    return SUCCESS;
}

int32_t TranscodeSession::GetStatus(int32_t& status)
{
    status = m_status;
    return SUCCESS;
}

int32_t TranscodeSession::Cancel()
{
    m_analysisCancel = true;
    std::lock_guard<std::mutex> lock(m_cancelMutex);
    if (!m_process || m_process->isFinished())
        return SUCCESS;
    m_cancelRequested = true;
    m_process->terminate();
    if (!m_process->waitForFinished(kCancelGrace)) {
        EngineLog::write(KAVO_WARNING_MSG, "KavoEngine ignored the stop request; killing it");
        m_process->kill();
        m_process->waitForFinished(std::chrono::seconds(30));
    }
    return SUCCESS;
}

int32_t TranscodeSession::CreateMediaSource(const std::u16string& path, int32_t& streamCount,
                                            int32_t& flags, const std::u16string& options,
                                            std::vector<kvtl::RefCountedPtr<ISourceMedia>>& sources)
{
    (void)options; // reserved
    sources.clear();
    streamCount = 0;
    flags = 0;
    MediaInfo info;
    const int32_t rc = MediaLibrary::probe(path, info, &m_analysisCancel);
    streamCount = info.streamCount;
    if (!info.video.empty())
        sources.emplace_back(new SourceMedia(info));
    if (rc != SUCCESS)
        EngineLog::write(KAVO_WARNING_MSG, "CreateMediaSource " + toLocalPath(path) + ": " +
                                               resultCodeName(rc) + " (" + info.details + ")");
    return rc;
}

void TranscodeSession::onWorkerLine(const std::string& line)
{
    if (startsWith(line, "PROGRESS ")) {
        char* end = nullptr;
        double pct = std::strtod(line.c_str() + 9, &end);
        if (end == line.c_str() + 9 || !(pct >= 0.0)) // also rejects NaN
            return;
        pct = std::min(pct, 100.0);
        // Report only forward steps: the callers draw a bar.
        if (pct <= m_lastProgress)
            return;
        m_lastProgress = pct;
        if (m_callback && !m_silent && !m_cancelRequested)
            m_callback->OnProgress(m_source.get(), opProgress, 0, 0, pct);
    } else if (line == "DONE") {
        m_sawDone = true;
    } else if (startsWith(line, "ERROR ")) {
        char* end = nullptr;
        const long code = std::strtol(line.c_str() + 6, &end, 10);
        m_reportedError = code != 0 ? int32_t(code) : ENG_ERR;
        m_reportedMessage = end && *end == ' ' ? std::string(end + 1) : std::string();
        EngineLog::write(KAVO_ERROR_MSG, "KavoEngine: " + line);
    } else if (startsWith(line, "DURATION ")) {
        EngineLog::write(KAVO_DEBUG_MSG, "KavoEngine: " + line);
    } else {
        EngineLog::write(KAVO_DEBUG_MSG, "KavoEngine says: " + line);
    }
}

void TranscodeSession::removeOutputs(bool includingOutput)
{
    ::unlink((m_outputLocal + ".temp").c_str());
    if (!includingOutput)
        return;
    struct stat now = {};
    if (::stat(m_outputLocal.c_str(), &now) != 0)
        return;
    // Never delete a file this conversion did not write.
    const bool ours = !m_outputExisted || now.st_ino != m_outputStat.st_ino ||
                      now.st_dev != m_outputStat.st_dev ||
                      now.st_mtim.tv_sec != m_outputStat.st_mtim.tv_sec ||
                      now.st_mtim.tv_nsec != m_outputStat.st_mtim.tv_nsec;
    if (ours)
        ::unlink(m_outputLocal.c_str());
}

void TranscodeSession::onWorkerExit(const EngineProcess::ExitStatus& exit)
{
    ITranscodeProgressCB* cb = m_silent ? nullptr : m_callback;
    ISourceMedia* source = m_source.get();

    if (m_cancelRequested) {
        removeOutputs(true);
        m_status = TS_Failed;
        EngineLog::write(KAVO_INFO_MSG, "transcode cancelled: " + m_outputLocal);
        if (cb)
            cb->OnCancel();
        return;
    }

    struct stat st = {};
    const bool outputThere = ::stat(m_outputLocal.c_str(), &st) == 0 && st.st_size > 0;
    if (!exit.crashed && exit.code == 0 && m_sawDone && outputThere) {
        m_status = TS_Done;
        EngineLog::write(KAVO_INFO_MSG, "transcode done: " + m_outputLocal);
        if (cb) {
            if (m_lastProgress < 100.0)
                cb->OnProgress(source, opProgress, 0, 0, 100.0);
            cb->OnDone(source, 0);
        }
        return;
    }

    int32_t code = m_reportedError;
    std::string why = m_reportedMessage;
    if (exit.crashed) {
        // A decoder that crashes on a malformed file ends this conversion only.
        code = exit.code == SIGXFSZ ? ENG_WRITING_ERROR : ENG_DECODER;
        why = "KavoEngine ended by signal " + std::to_string(exit.code);
    } else if (code == SUCCESS) {
        if (exit.code != 0) {
            code = exit.code;
            why = "KavoEngine exit status " + std::to_string(exit.code);
        } else {
            code = ENG_WRITING_ERROR;
            why = "KavoEngine finished without output";
        }
    }
    if (isTranscodeSuccess(code) || code == Aborted)
        code = ENG_ERR; // a failed run must never read as success or as a cancel
    removeOutputs(true);
    m_status = TS_Failed;
    EngineLog::write(KAVO_ERROR_MSG, "transcode failed: " + m_outputLocal + ": " +
                                         resultCodeName(code) + " (" + why + ")");
    if (cb)
        cb->OnFatalError(source, code);
}

} // namespace kvt

#pragma once

#include "EngineProcess.h"
#include "ITranscodeSession.h"
#include "MediaInfo.h"
#include "TranscodeEstimator.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <sys/stat.h>

namespace kvt {

// One analysis or one conversion. A conversion runs in its own KavoEngine
// worker process; its reader thread parses the worker's report lines and
// calls the progress callback. Exactly one final callback (OnDone, OnCancel
// or OnFatalError) ends every started conversion.
class TranscodeSession : public kvtl::RefCountedImpl<ITranscodeSession>
{
public:
    TranscodeSession() = default;
    // Stops a running worker without calling back: whoever released the
    // session no longer listens. Its output is removed.
    ~TranscodeSession() override;

    int32_t AddSource(ISourceMedia* source) override;
    int32_t SetOutputSettings(ITranscodeOutputSettings* settings) override;
    int32_t SetTranscodeEngineInfo(ITranscodeEngineInfo* info) override;
    int32_t
    GetOutputProperties(kvtl::RefCountedPtr<ITranscodeOutputProperties>& properties) override;
    int32_t StartTranscode(const std::u16string& outputPath,
                           ITranscodeProgressCB* callback) override;
    int32_t SetPriority(int32_t priority) override;
    int32_t GetStatus(int32_t& status) override;
    int32_t Cancel() override;
    int32_t CreateMediaSource(const std::u16string& path, int32_t& streamCount, int32_t& flags,
                              const std::u16string& options,
                              std::vector<kvtl::RefCountedPtr<ISourceMedia>>& sources) override;

    // How long Cancel waits for the worker to stop before killing it.
    static constexpr std::chrono::seconds kCancelGrace{10};

private:
    // The source's analysis: ours when it came from this engine, else a new probe.
    int32_t sourceInfo(MediaInfo& info);
    int32_t makePlan();
    std::string enginePath();
    void onWorkerLine(const std::string& line);
    void onWorkerExit(const EngineProcess::ExitStatus& exit);
    void removeOutputs(bool includingOutput);
    static int niceFor(int32_t priority);

    kvtl::RefCountedPtr<ISourceMedia> m_source;
    kvtl::RefCountedPtr<ITranscodeOutputSettings> m_settings;
    kvtl::RefCountedPtr<ITranscodeEngineInfo> m_engineInfo;
    // Not counted: counts are not atomic, and the reader thread must never be
    // the one to release the program's object. The program keeps it alive.
    ITranscodeProgressCB* m_callback = nullptr;
    int32_t m_profile = -1;
    TranscodePlan m_plan;

    std::unique_ptr<EngineProcess> m_process;
    std::string m_outputLocal; // output path in the local encoding
    bool m_outputExisted = false;
    struct stat m_outputStat = {};

    std::atomic<int32_t> m_status{TS_Pending};
    std::atomic<int32_t> m_priority{TP_Normal};
    std::atomic<bool> m_analysisCancel{false};
    std::atomic<bool> m_cancelRequested{false};
    std::atomic<bool> m_silent{false};
    std::mutex m_cancelMutex; // one Cancel at a time

    // Reader-thread state.
    double m_lastProgress = -1.0;
    bool m_sawDone = false;
    int32_t m_reportedError = SUCCESS;
    std::string m_reportedMessage;
};

} // namespace kvt

#include "TransferAnalysis.h"

#include <QDebug>
#include <QFileInfo>
#include <QThread>
#include <algorithm>
#include <vector>

#include "DummySourceMedia.h"
#include "VideoFileTranscoder.h"

TransferAnalysis::TransferAnalysis(VideoFileTranscoder& transcoder, QObject* parent)
    : QObject(parent), m_transcoder(transcoder)
{
}

TransferAnalysis::~TransferAnalysis()
{
    cancel();
    join();
}

QString TransferAnalysis::convertedFilePath(const QString& folder, const QString& source,
                                            int profile)
{
    const QString extension = profile == 4 ? QStringLiteral(".mkv") : QStringLiteral(".kavo");
    return folder + QLatin1Char('/') + QFileInfo(source).completeBaseName() + extension;
}

bool TransferAnalysis::start(const QStringList& files, int profile, const QString& outputFolder)
{
    if (files.isEmpty() || !m_idle.Wait(0))
        return false;
    join();
    m_cancel = false;
    m_idle.Reset();
    m_thread = std::thread([this, files, profile, outputFolder] {
        qDebug().noquote() << "start file analysis...";
        run(files, profile, outputFolder);
        qDebug().noquote() << "file analysis done";
        m_idle.Set();
    });
    return true;
}

void TransferAnalysis::cancel()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_cancel = true;
    }
    m_ready.notify_all();
    m_transcoder.cancelAnalysis();
}

void TransferAnalysis::join()
{
    if (m_thread.joinable())
        m_thread.join();
}

bool TransferAnalysis::wait(unsigned int timeoutMs)
{
    if (!m_idle.Wait(timeoutMs))
        return false;
    join();
    return true;
}

bool TransferAnalysis::results(AnalysisResults& out)
{
    if (!wait(0))
        return false;
    if (!m_cancel && (m_results.outputPaths.isEmpty() || m_results.sources.isEmpty()))
        return false;
    out = m_results;
    return true;
}

// What a worker found out about one file.
struct TransferAnalysis::Finding
{
    bool ready = false;
    bool exists = false;
    int resultCode = 0;
    bool needsConversion = true;
    SourceMediaList sources;
    TranscodeEstimate estimate;
    TranscodeJob job;
};

void TransferAnalysis::examine(const QString& file, int profile, Finding& finding)
{
    finding.exists = QFileInfo::exists(file);
    if (!finding.exists)
        return;
    if (m_transcoder.findJob(file) >= 0)
        qDebug().noquote().nospace() << "TransferAnalysis: analysing a queued file again: " << file;
    finding.resultCode = m_transcoder.prepareConversion(
        file, profile, finding.sources, finding.estimate.transcodeTime, finding.estimate.outputSize,
        finding.needsConversion, finding.job, &m_cancel);
}

void TransferAnalysis::run(const QStringList& files, int profile, const QString& outputFolder)
{
    m_results.clear();
    const int total = int(files.size());
    std::vector<Finding> findings(static_cast<size_t>(total));
    std::atomic<int> next{0};
    const auto work = [&] {
        for (int i = next++; i < total && !m_cancel; i = next++) {
            Finding found;
            examine(files[i], profile, found);
            std::lock_guard<std::mutex> lock(m_mutex);
            findings[size_t(i)] = std::move(found);
            findings[size_t(i)].ready = true;
            m_ready.notify_all();
        }
    };
    const int cores = m_workers > 0 ? m_workers : std::max(1, QThread::idealThreadCount());
    std::vector<std::thread> workers;
    for (int w = 0; w < std::min(cores, total); ++w)
        workers.emplace_back(work);

    // Output names given in this analysis: two sources with the same base name in different
    // folders must not be converted into the same file.
    QStringList reserved;
    for (int i = 0; i < total && !m_cancel; ++i) {
        const QString& file = files[i];
        emit analyzeItem(i, total);
        Finding found;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_ready.wait(lock, [&] { return findings[size_t(i)].ready || m_cancel; });
            if (m_cancel)
                break;
            found = std::move(findings[size_t(i)]);
        }
        QString outputPath;
        SourceMediaList sources;
        bool direct = false;
        int resultCode = found.resultCode;
        if (found.exists) {
            outputPath = m_transcoder.uniqueOutputPath(
                convertedFilePath(outputFolder, file, profile), file, reserved);
            sources = found.sources;
            if (!found.needsConversion) {
                m_transcoder.removeJob(file);
                // The file is written as it is: one pass-through source stands for it (the
                // engine's source as well would count its size twice).
                sources.clear();
                sources.push_back(
                    kvtl::RefCountedPtr<kvt::ISourceMedia>(new DummySourceMedia(file)));
                direct = true;
                resultCode = 0;
            } else if (found.job.session) {
                found.job.outputPath = outputPath;
                m_transcoder.queueJob(file, std::move(found.job));
            } else {
                m_transcoder.removeJob(file);
            }
        } else {
            m_transcoder.removeJob(file);
            sources.push_back(kvtl::RefCountedPtr<kvt::ISourceMedia>(new DummySourceMedia(file)));
        }
        if (!direct && !outputPath.isEmpty())
            reserved << outputPath;
        m_results.estimates.append(found.estimate);
        m_results.resultCodes.append(resultCode);
        m_results.outputPaths.append(outputPath);
        m_results.sources.append(sources);
        if (direct)
            m_results.directFiles.append(file);
    }
    for (std::thread& worker : workers)
        worker.join();
}

#include "TransferAnalysis.h"

#include <QDebug>
#include <QFileInfo>

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
    m_cancel = true;
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

void TransferAnalysis::run(const QStringList& files, int profile, const QString& outputFolder)
{
    m_results.clear();
    // Output names given in this analysis: two sources with the same base name in different
    // folders must not be converted into the same file.
    QStringList reserved;
    const int total = int(files.size());
    for (int i = 0; i < total; ++i) {
        const QString& file = files[i];
        emit analyzeItem(i, total);
        int resultCode = 0;
        QString outputPath;
        SourceMediaList sources;
        TranscodeEstimate estimate;
        bool direct = false;
        if (QFileInfo::exists(file)) {
            outputPath = m_transcoder.uniqueOutputPath(
                convertedFilePath(outputFolder, file, profile), file, reserved);
            if (m_transcoder.findJob(file) >= 0)
                qDebug().noquote().nospace()
                    << "TransferAnalysis: analysing a queued file again: " << file;
            bool needsConversion = true;
            resultCode =
                m_transcoder.analyzeFile(file, outputPath, profile, sources, estimate.transcodeTime,
                                         estimate.outputSize, needsConversion);
            if (!needsConversion) {
                m_transcoder.removeJob(file);
                // The file is written as it is: one pass-through source stands for it (the
                // engine's source as well would count its size twice).
                sources.clear();
                sources.push_back(
                    kvtl::RefCountedPtr<kvt::ISourceMedia>(new DummySourceMedia(file)));
                direct = true;
                resultCode = 0;
            }
        } else {
            m_transcoder.removeJob(file);
            sources.push_back(kvtl::RefCountedPtr<kvt::ISourceMedia>(new DummySourceMedia(file)));
        }
        if (m_cancel) {
            m_transcoder.removeJob(file);
            return;
        }
        if (!direct && !outputPath.isEmpty())
            reserved << outputPath;
        m_results.estimates.append(estimate);
        m_results.resultCodes.append(resultCode);
        m_results.outputPaths.append(outputPath);
        m_results.sources.append(sources);
        if (direct)
            m_results.directFiles.append(file);
    }
}

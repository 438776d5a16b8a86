#pragma once

#include <QHash>
#include <QStringList>

#include "TransferStep.h"

class TransferPrompts;
class VideoFileTranscoder;

// The conversion step: runs the converter's prepared conversions one after another. A file
// that cannot be converted is put to the prompts; going on leaves it failed, stopping ends the
// step not ok. The engine's workers report on this thread, and the step ends only once the
// converter has said that the last one ended.
class TransferConversionStep : public TransferStep
{
    Q_OBJECT

public:
    // sources: the transfer's files in their order, to name each outcome's row.
    TransferConversionStep(const std::atomic<bool>& cancelled, VideoFileTranscoder& transcoder,
                           TransferPrompts& prompts, const QStringList& sources,
                           QObject* parent = nullptr);

    void start() override;
    void cancel() override;
    void wait() override;
    QList<FileOutcome> outcomes() const override { return m_failed.values(); }
    // Whether the user chose to stop after a conversion error.
    bool stopped() const { return m_stopped; }
    int conversions() const { return m_conversions; }
    // The row of source among the transfer's files, or -1.
    int rowOf(const QString& source) const;

signals:
    void converted(QString source);

private:
    void onFatalError(int error, const QString& source);

    VideoFileTranscoder& m_transcoder;
    TransferPrompts& m_prompts;
    const QStringList m_sources;
    QHash<int, FileOutcome> m_failed;
    int m_conversions = 0;
    bool m_stopped = false;
    bool m_asking = false;
};

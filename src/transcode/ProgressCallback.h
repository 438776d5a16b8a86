#pragma once

#include "ITranscodeProgressCB.h"

#include <QObject>
#include <QString>

Q_DECLARE_INTERFACE(kvt::ITranscodeProgressCB, "kvt::ITranscodeProgressCB")

// Turns the engine's callbacks, which arrive on engine threads, into signals;
// connected with the default connection type they reach the receiver's thread
// queued.
class ProgressCallback : public QObject, public kvtl::RefCountedImpl<kvt::ITranscodeProgressCB>
{
    Q_OBJECT
    Q_INTERFACES(kvt::ITranscodeProgressCB)

public:
    explicit ProgressCallback(QObject* parent = nullptr);
    ~ProgressCallback() override;

    int32_t OnProgress(kvt::ISourceMedia* source, int32_t operation, int32_t value1, int32_t value2,
                       double progress) override;
    int32_t OnDone(kvt::ISourceMedia* source, int32_t value) override;
    int32_t OnCancel() override;
    int32_t OnFatalError(kvt::ISourceMedia* source, int32_t errorCode) override;

    // Progress percentage to the position reported over a maximum of 100000.
    static quint32 positionFor(double progress);

signals:
    void progress(quint32 position, quint32 maximum, QString sourceFileName);
    void done(QString sourceFileName);
    void cancel(QString sourceFileName);
    void fatalError(int err, QString sourceFileName);

private:
    static QString fileNameOf(kvt::ISourceMedia* source);
};

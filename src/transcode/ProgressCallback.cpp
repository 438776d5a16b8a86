#include "ProgressCallback.h"

#include "ISourceMedia.h"

ProgressCallback::ProgressCallback(QObject* parent) : QObject(parent) {}

ProgressCallback::~ProgressCallback() = default;

QString ProgressCallback::fileNameOf(kvt::ISourceMedia* source)
{
    if (!source)
        return QString();
    std::u16string name;
    source->GetFileName(name);
    return QString::fromStdU16String(name);
}

quint32 ProgressCallback::positionFor(double progress)
{
    // Truncate toward zero; out-of-range and NaN values would make the
    // conversion undefined, so they are held to the bar's ends.
    const double scaled = progress * 1000.0;
    if (!(scaled > 0.0))
        return 0;
    if (scaled >= 100000.0)
        return 100000;
    return quint32(scaled);
}

int32_t ProgressCallback::OnProgress(kvt::ISourceMedia* source, int32_t, int32_t, int32_t,
                                     double progressValue)
{
    emit progress(positionFor(progressValue), 100000, fileNameOf(source));
    return 0;
}

int32_t ProgressCallback::OnDone(kvt::ISourceMedia* source, int32_t)
{
    emit done(fileNameOf(source));
    return 0;
}

int32_t ProgressCallback::OnCancel()
{
    emit cancel(QString());
    return 0;
}

int32_t ProgressCallback::OnFatalError(kvt::ISourceMedia* source, int32_t errorCode)
{
    emit fatalError(errorCode, fileNameOf(source));
    return 0;
}

#include "ConversionReasonText.h"

#include "ConversionReason.h"

QString ConversionReasonText::what(int reason)
{
    switch (reason) {
    case kvt::CR_ANALYSIS:
        return tr("part of the file could not be read");
    case kvt::CR_TRACKS:
        return tr("its number of video tracks");
    case kvt::CR_CONTAINER:
        return tr("its file type");
    case kvt::CR_VIDEO_CODEC:
        return tr("its video format");
    case kvt::CR_PICTURE_SIZE:
        return tr("its picture size");
    case kvt::CR_FRAME_RATE:
        return tr("its frame rate");
    case kvt::CR_PIXEL_FORMAT:
        return tr("its colour format");
    case kvt::CR_VIDEO_BITRATE:
        return tr("its video bit rate");
    case kvt::CR_VIDEO_PROFILE:
        return tr("its H.264 profile or level");
    case kvt::CR_AUDIO_CODEC:
        return tr("its audio format");
    case kvt::CR_AUDIO_CHANNELS:
        return tr("its number of audio channels");
    case kvt::CR_AUDIO_BITRATE:
        return tr("its audio bit rate");
    default:
        return QString();
    }
}

QString ConversionReasonText::sentence(int reason, const QString& details)
{
    const QString why = what(reason);
    if (why.isEmpty())
        return tr("Converted for your device.");
    const QString text = reason == kvt::CR_ANALYSIS
                             ? tr("Converted for your device: %1.").arg(why)
                             : tr("Converted for your device because of %1.").arg(why);
    return details.isEmpty() ? text : text + QStringLiteral(" (") + details + QLatin1Char(')');
}

#pragma once

#include <QCoreApplication>
#include <QString>

// The words for why a video is converted for the device, from the analysis's reason code.
class ConversionReasonText
{
    Q_DECLARE_TR_FUNCTIONS(FileInfoModel)

public:
    // "its video format" and the like; empty for a file that plays as it is.
    static QString what(int reason);
    // The sentence for a converted video: what does not suit the device, with the engine's
    // details in brackets when there are any.
    static QString sentence(int reason, const QString& details);
};

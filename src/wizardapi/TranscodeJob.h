#pragma once

#include <QString>
#include <vector>

#include "ISourceMedia.h"
#include "ITranscodeOutputProperties.h"
#include "ITranscodeOutputSettings.h"
#include "ITranscodeSession.h"
#include "RefCountedPtr.h"

// One prepared conversion: the engine session for a file, its sources, the output settings and
// properties the analysis settled on, and where the result goes.
struct TranscodeJob
{
    kvtl::RefCountedPtr<kvt::ITranscodeSession> session;
    std::vector<kvtl::RefCountedPtr<kvt::ISourceMedia>> sources;
    kvtl::RefCountedPtr<kvt::ITranscodeOutputSettings> settings;
    kvtl::RefCountedPtr<kvt::ITranscodeOutputProperties> properties;
    QString outputPath;
    // Device profile, a DP_ value.
    int profile = 0;
};

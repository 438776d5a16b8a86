#pragma once

#include "IRefCounted.h"
#include "ISourceMedia.h"
#include "ITranscodeEngineInfo.h"
#include "ITranscodeOutputProperties.h"
#include "ITranscodeOutputSettings.h"
#include "ITranscodeProgressCB.h"
#include "RefCountedPtr.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kvt {

// One conversion (or one analysis). Results are engine codes (TranscodeEnums.h).
class ITranscodeSession : public kvtl::IRefCounted
{
public:
    virtual int32_t AddSource(ISourceMedia* source) = 0;
    virtual int32_t SetOutputSettings(ITranscodeOutputSettings* settings) = 0;
    virtual int32_t SetTranscodeEngineInfo(ITranscodeEngineInfo* info) = 0;
    virtual int32_t
    GetOutputProperties(kvtl::RefCountedPtr<ITranscodeOutputProperties>& properties) = 0;
    // Returns at once; the outcome arrives through the callback, exactly one of
    // OnDone, OnCancel or OnFatalError after any number of OnProgress. The
    // session takes no reference on the callback: keep it alive until the
    // final callback has arrived or the session has been released (a released
    // session stops its worker and calls back no more).
    virtual int32_t StartTranscode(const std::u16string& outputPath,
                                   ITranscodeProgressCB* callback) = 0;
    // TP_ value; applies to a running conversion at once, else at its start.
    virtual int32_t SetPriority(int32_t priority) = 0;
    // TS_ value.
    virtual int32_t GetStatus(int32_t& status) = 0;
    // Stops a running conversion or analysis. A conversion is reported through
    // OnCancel before this returns; its output does not remain.
    virtual int32_t Cancel() = 0;
    // Analyses a file. streamCount receives the number of streams in the
    // file, flags is reserved (0); options is reserved and should be empty.
    // On failure the vector may still hold the source when the file can be
    // converted anyway.
    virtual int32_t CreateMediaSource(const std::u16string& path, int32_t& streamCount,
                                      int32_t& flags, const std::u16string& options,
                                      std::vector<kvtl::RefCountedPtr<ISourceMedia>>& sources) = 0;
};

} // namespace kvt

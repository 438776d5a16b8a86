#pragma once

#include "ITranscodeOutputProperties.h"
#include "TranscodeEstimator.h"

namespace kvt {

// The estimates of a prepared conversion, fixed when the session made them.
class TranscodeOutputProperties : public kvtl::RefCountedImpl<ITranscodeOutputProperties>
{
public:
    explicit TranscodeOutputProperties(const TranscodePlan& plan) : m_plan(plan) {}

    int32_t GetEstimatedOutputSize(uint64_t& bytes) override;
    int32_t GetResolution(int32_t& width, int32_t& height) override;
    int32_t GetEstimatedTranscodeTime(uint32_t& seconds) override;
    int32_t GetFrameRate(int32_t& numerator, int32_t& denominator) override;
    int32_t GetVideoBitrate(int64_t& bitsPerSecond) override;
    int32_t IsPassThrough(bool& passThrough) override;

private:
    const TranscodePlan m_plan;
};

} // namespace kvt

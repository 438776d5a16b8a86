#pragma once

#include "ITranscodeOutputProperties.h"
#include "ReportValue.h"
#include "TranscodeEstimator.h"

namespace kvt {

// The estimates of a prepared conversion, fixed when the session made them.
class TranscodeOutputProperties : public kvtl::RefCountedImpl<ITranscodeOutputProperties>
{
public:
    explicit TranscodeOutputProperties(const TranscodePlan& plan) : m_plan(plan) {}

    int32_t GetEstimatedOutputSize(uint64_t& bytes) override
    {
        return reportValue(bytes, m_plan.estimatedBytes);
    }
    int32_t GetResolution(int32_t& width, int32_t& height) override
    {
        return reportValue(width, m_plan.width, height, m_plan.height);
    }
    int32_t GetEstimatedTranscodeTime(uint32_t& seconds) override
    {
        return reportValue(seconds, m_plan.estimatedSeconds);
    }
    int32_t GetFrameRate(int32_t& numerator, int32_t& denominator) override
    {
        return reportValue(numerator, m_plan.fpsNum, denominator, m_plan.fpsDen);
    }
    int32_t GetVideoBitrate(int64_t& bitsPerSecond) override
    {
        return reportValue(bitsPerSecond, m_plan.videoBitrate);
    }
    int32_t IsPassThrough(bool& passThrough) override
    {
        return reportValue(passThrough, m_plan.passThrough);
    }

private:
    const TranscodePlan m_plan;
};

} // namespace kvt

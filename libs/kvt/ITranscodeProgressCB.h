#pragma once

#include "IRefCounted.h"

#include <cstdint>

namespace kvt {

class ISourceMedia;

// Implemented by the program. The engine calls these on its own threads;
// each returns 0.
class ITranscodeProgressCB : public kvtl::IRefCounted
{
public:
    // operation is an op value (opProgress), the two values after it are 0;
    // progress runs from 0 to 100.
    virtual int32_t OnProgress(ISourceMedia* source, int32_t operation, int32_t value1,
                               int32_t value2, double progress) = 0;
    virtual int32_t OnDone(ISourceMedia* source, int32_t value) = 0;
    virtual int32_t OnCancel() = 0;
    virtual int32_t OnFatalError(ISourceMedia* source, int32_t errorCode) = 0;
};

} // namespace kvt

#pragma once

#include "TranscodeEnums.h"

namespace kvt {

// The getters over analysed or planned data cannot fail: they copy what is held and succeed.
template <class Out, class In> int32_t reportValue(Out& out, const In& value)
{
    out = value;
    return SUCCESS;
}

template <class Out1, class In1, class Out2, class In2>
int32_t reportValue(Out1& first, const In1& firstValue, Out2& second, const In2& secondValue)
{
    first = firstValue;
    second = secondValue;
    return SUCCESS;
}

} // namespace kvt

#pragma once

#include <memory>
#include <type_traits>

namespace kvt {

// Releases an FFmpeg object with its own free function, whichever form it takes: the pointer
// (avformat_free_context) or its address (avcodec_free_context, av_frame_free...).
template <auto Free> struct FfmpegDeleter
{
    template <typename T> void operator()(T* object) const
    {
        if constexpr (std::is_invocable_v<decltype(Free), T**>)
            Free(&object);
        else
            Free(object);
    }
};

// An owning pointer to an FFmpeg object, released on every path out of its scope.
template <typename T, auto Free> using FfmpegPtr = std::unique_ptr<T, FfmpegDeleter<Free>>;

} // namespace kvt

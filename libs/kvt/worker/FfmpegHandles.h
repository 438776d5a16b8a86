#pragma once

// Owning handles for the FFmpeg objects the worker uses; every one is released
// on every path, including the early returns of error handling.

#include "FfmpegPtr.h"
#include "LocalInput.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavfilter/avfilter.h>
#include <libavformat/avformat.h>
#include <libavutil/frame.h>
#include <libswresample/swresample.h>
}

namespace kvt::worker {

using kvt::InputFormatContextPtr;
// The I/O context is owned by OutputFile, which closes it itself.
using OutputFormatContextPtr = FfmpegPtr<AVFormatContext, avformat_free_context>;
using CodecContextPtr = FfmpegPtr<AVCodecContext, avcodec_free_context>;
using FramePtr = FfmpegPtr<AVFrame, av_frame_free>;
using PacketPtr = FfmpegPtr<AVPacket, av_packet_free>;
using FilterGraphPtr = FfmpegPtr<AVFilterGraph, avfilter_graph_free>;
using FilterInOutPtr = FfmpegPtr<AVFilterInOut, avfilter_inout_free>;
using SwrContextPtr = FfmpegPtr<SwrContext, swr_free>;

inline FramePtr makeFrame()
{
    return FramePtr(av_frame_alloc());
}

inline PacketPtr makePacket()
{
    return PacketPtr(av_packet_alloc());
}

} // namespace kvt::worker

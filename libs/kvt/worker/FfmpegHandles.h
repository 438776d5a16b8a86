#pragma once

// Owning handles for the FFmpeg objects the worker uses; every one is released
// on every path, including the early returns of error handling.

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavfilter/avfilter.h>
#include <libavformat/avformat.h>
#include <libavutil/frame.h>
#include <libswresample/swresample.h>
}

#include <memory>

namespace kvt::worker {

struct AVInputFormatContextDeleter
{
    void operator()(AVFormatContext* ctx) const { avformat_close_input(&ctx); }
};

struct AVOutputFormatContextDeleter
{
    // The I/O context is owned by OutputFile, which closes it itself.
    void operator()(AVFormatContext* ctx) const { avformat_free_context(ctx); }
};

struct AVCodecContextDeleter
{
    void operator()(AVCodecContext* ctx) const { avcodec_free_context(&ctx); }
};

struct AVFrameDeleter
{
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};

struct AVPacketDeleter
{
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};

struct AVFilterGraphDeleter
{
    void operator()(AVFilterGraph* graph) const { avfilter_graph_free(&graph); }
};

struct AVFilterInOutDeleter
{
    void operator()(AVFilterInOut* io) const { avfilter_inout_free(&io); }
};

struct SwrContextDeleter
{
    void operator()(SwrContext* ctx) const { swr_free(&ctx); }
};

using InputFormatContextPtr = std::unique_ptr<AVFormatContext, AVInputFormatContextDeleter>;
using OutputFormatContextPtr = std::unique_ptr<AVFormatContext, AVOutputFormatContextDeleter>;
using CodecContextPtr = std::unique_ptr<AVCodecContext, AVCodecContextDeleter>;
using FramePtr = std::unique_ptr<AVFrame, AVFrameDeleter>;
using PacketPtr = std::unique_ptr<AVPacket, AVPacketDeleter>;
using FilterGraphPtr = std::unique_ptr<AVFilterGraph, AVFilterGraphDeleter>;
using FilterInOutPtr = std::unique_ptr<AVFilterInOut, AVFilterInOutDeleter>;
using SwrContextPtr = std::unique_ptr<SwrContext, SwrContextDeleter>;

inline FramePtr makeFrame()
{
    return FramePtr(av_frame_alloc());
}

inline PacketPtr makePacket()
{
    return PacketPtr(av_packet_alloc());
}

} // namespace kvt::worker

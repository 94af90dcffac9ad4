#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <memory>

// Owners of libav objects, each freed by its own libav call.
struct AvCodecContextFree {
    void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};
struct AvFrameFree {
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct AvPacketFree {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
// An opened input: closed together with its file.
struct AvInputFree {
    void operator()(AVFormatContext* format) const { avformat_close_input(&format); }
};
// An output: its file is closed, then the context freed.
struct AvOutputFree {
    void operator()(AVFormatContext* format) const
    {
        avio_closep(&format->pb);
        avformat_free_context(format);
    }
};
struct SwsContextFree {
    void operator()(SwsContext* scaler) const { sws_freeContext(scaler); }
};
struct SwrContextFree {
    void operator()(SwrContext* resampler) const { swr_free(&resampler); }
};

using AvCodecContextPtr = std::unique_ptr<AVCodecContext, AvCodecContextFree>;
using AvFramePtr = std::unique_ptr<AVFrame, AvFrameFree>;
using AvPacketPtr = std::unique_ptr<AVPacket, AvPacketFree>;
using AvInputPtr = std::unique_ptr<AVFormatContext, AvInputFree>;
using AvOutputPtr = std::unique_ptr<AVFormatContext, AvOutputFree>;
using SwsContextPtr = std::unique_ptr<SwsContext, SwsContextFree>;
using SwrContextPtr = std::unique_ptr<SwrContext, SwrContextFree>;

#include "VideoProbe.h"

#include <memory>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

namespace {

struct InputCloser
{
    void operator()(AVFormatContext* c) const { avformat_close_input(&c); }
};
struct CodecFreer
{
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct FrameFreer
{
    void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct PacketFreer
{
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};

QImage toImage(const AVFrame* frame)
{
    QImage image(frame->width, frame->height, QImage::Format_RGB32);
    SwsContext* scaler = sws_getContext(frame->width, frame->height, AVPixelFormat(frame->format),
                                        frame->width, frame->height, AV_PIX_FMT_RGB32, SWS_POINT,
                                        nullptr, nullptr, nullptr);
    // As a player would: by the frame's colour tags.
    if (frame->colorspace == AVCOL_SPC_BT709) {
        int* inverseTable = nullptr;
        int* table = nullptr;
        int sourceRange = 0, destinationRange = 0, brightness = 0, contrast = 0, saturation = 0;
        sws_getColorspaceDetails(scaler, &inverseTable, &sourceRange, &table, &destinationRange,
                                 &brightness, &contrast, &saturation);
        sws_setColorspaceDetails(scaler, sws_getCoefficients(SWS_CS_ITU709), sourceRange, table,
                                 destinationRange, brightness, contrast, saturation);
    }
    uint8_t* planes[] = {image.bits()};
    const int strides[] = {static_cast<int>(image.bytesPerLine())};
    sws_scale(scaler, frame->data, frame->linesize, 0, frame->height, planes, strides);
    sws_freeContext(scaler);
    return image;
}

// Takes every frame the decoder has ready.
void receiveFrames(AVCodecContext* decoder, AVFrame* frame, QList<QImage>& frames)
{
    while (avcodec_receive_frame(decoder, frame) >= 0) {
        frames.append(toImage(frame));
        av_frame_unref(frame);
    }
}

} // namespace

VideoProbe VideoProbe::read(const QString& path)
{
    VideoProbe probe;
    AVFormatContext* raw = nullptr;
    if (avformat_open_input(&raw, path.toUtf8().constData(), nullptr, nullptr) < 0)
        return probe;
    std::unique_ptr<AVFormatContext, InputCloser> input(raw);
    if (avformat_find_stream_info(input.get(), nullptr) < 0)
        return probe;
    const int index = av_find_best_stream(input.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (index < 0)
        return probe;
    const AVStream* stream = input->streams[index];
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    std::unique_ptr<AVCodecContext, CodecFreer> decoder(avcodec_alloc_context3(codec));
    if (!codec || !decoder || avcodec_parameters_to_context(decoder.get(), stream->codecpar) < 0
        || avcodec_open2(decoder.get(), codec, nullptr) < 0)
        return probe;

    probe.codecId = stream->codecpar->codec_id;
    probe.pixelFormat = stream->codecpar->format;
    probe.size = QSize(stream->codecpar->width, stream->codecpar->height);
    probe.rateNum = stream->r_frame_rate.num;
    probe.rateDen = stream->r_frame_rate.den;
    if (input->duration != AV_NOPTS_VALUE)
        probe.durationSeconds = input->duration / double(AV_TIME_BASE);

    std::unique_ptr<AVPacket, PacketFreer> packet(av_packet_alloc());
    std::unique_ptr<AVFrame, FrameFreer> frame(av_frame_alloc());
    while (av_read_frame(input.get(), packet.get()) >= 0) {
        if (packet->stream_index == index && avcodec_send_packet(decoder.get(), packet.get()) >= 0)
            receiveFrames(decoder.get(), frame.get(), probe.frames);
        av_packet_unref(packet.get());
    }
    avcodec_send_packet(decoder.get(), nullptr);
    receiveFrames(decoder.get(), frame.get(), probe.frames);
    probe.ok = true;
    return probe;
}

bool colorsClose(QRgb a, QRgb b, int tolerance)
{
    return qAbs(qRed(a) - qRed(b)) <= tolerance && qAbs(qGreen(a) - qGreen(b)) <= tolerance
        && qAbs(qBlue(a) - qBlue(b)) <= tolerance;
}

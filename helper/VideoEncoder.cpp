#include "helper/VideoEncoder.h"

#include <QImage>
#include <QMutexLocker>
#include <QThread>

#include <algorithm>
#include <cstring>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

namespace {

constexpr AVPixelFormat kPictureFormat = AV_PIX_FMT_YUV420P;
constexpr int kCodecThreads = 3;
// The scaler's slices: more threads, beside the codec's, cost more in wake-ups than they save.
constexpr int kScalerThreads = 4;

// A two-colour table of black and white; anything else has no FFmpeg counterpart.
AVPixelFormat monoFormat(const QImage& image)
{
    if (image.colorCount() != 2)
        return AV_PIX_FMT_NONE;
    const QRgb first = image.color(0) & RGB_MASK;
    const QRgb second = image.color(1) & RGB_MASK;
    if (first == 0 && second == RGB_MASK)
        return AV_PIX_FMT_MONOBLACK;
    if (first == RGB_MASK && second == 0)
        return AV_PIX_FMT_MONOWHITE;
    return AV_PIX_FMT_NONE;
}

AVPixelFormat sourcePixelFormat(const QImage& image)
{
    switch (image.format()) {
    case QImage::Format_Mono:
        return monoFormat(image);
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
        return AV_PIX_FMT_RGB32;
    case QImage::Format_RGB16:
        return AV_PIX_FMT_RGB565;
    case QImage::Format_RGB888:
        return AV_PIX_FMT_RGB24;
    default:
        // Also MonoLSB: libswscale reads bits most significant first only.
        return AV_PIX_FMT_NONE;
    }
}

// The encoder for a container's default codec. WebM always gets VP8. H.264 is found
// by id, which gives libx264 on this platform.
const AVCodec* findEncoder(AVCodecID& id)
{
    if (id == AV_CODEC_ID_MJPEG)
        return avcodec_find_encoder_by_name("mjpeg");
    if (id == AV_CODEC_ID_VP9)
        id = AV_CODEC_ID_VP8;
    return avcodec_find_encoder(id);
}

// Marks the scaler's YUV output as full range (0 to 255), as JPEG pictures are.
void setFullRangeOutput(SwsContext* scaler)
{
    int* inverseTable = nullptr;
    int* table = nullptr;
    int sourceRange = 0;
    int destinationRange = 0;
    int brightness = 0;
    int contrast = 0;
    int saturation = 0;
    sws_getColorspaceDetails(scaler, &inverseTable, &sourceRange, &table, &destinationRange, &brightness,
                             &contrast, &saturation);
    sws_setColorspaceDetails(scaler, inverseTable, sourceRange, table, 1, brightness, contrast, saturation);
}

// A scaler that converts in slices on several threads: the same pixels as one thread
// gives, in a fraction of the time.
SwsContext* createScaler(const QSize& source, AVPixelFormat sourceFormat, const QSize& target)
{
    SwsContext* scaler = sws_alloc_context();
    if (!scaler)
        return nullptr;
    const bool set = av_opt_set_int(scaler, "srcw", source.width(), 0) >= 0
        && av_opt_set_int(scaler, "srch", source.height(), 0) >= 0
        && av_opt_set_int(scaler, "src_format", sourceFormat, 0) >= 0
        && av_opt_set_int(scaler, "dstw", target.width(), 0) >= 0
        && av_opt_set_int(scaler, "dsth", target.height(), 0) >= 0
        && av_opt_set_int(scaler, "dst_format", kPictureFormat, 0) >= 0
        && av_opt_set_int(scaler, "sws_flags", SWS_BICUBIC, 0) >= 0
        && av_opt_set_int(scaler, "threads", std::min(QThread::idealThreadCount(), kScalerThreads), 0) >= 0;
    if (!set || sws_init_context(scaler, nullptr, nullptr) < 0) {
        sws_freeContext(scaler);
        return nullptr;
    }
    return scaler;
}

void keepPixels(void*, uint8_t*) {}

// The scaler reads a row of odd width one pixel further: it takes pixels two at a time. A copy
// of the image's pixels in which every row is followed by its last pixel once more, so that
// the scaler finds that pixel there rather than the next row's first or, after the last row,
// whatever memory follows the image. Its rows are `stride` bytes apart.
uint8_t* withEdgePixels(const QImage& image, std::vector<uint8_t>& copy, int& stride)
{
    const size_t pixelBytes = size_t(image.depth() / 8);
    const size_t rowBytes = size_t(image.width()) * pixelBytes;
    stride = int(rowBytes + pixelBytes);
    copy.resize(size_t(stride) * size_t(image.height()));
    for (int y = 0; y < image.height(); ++y) {
        uint8_t* row = copy.data() + size_t(y) * size_t(stride);
        std::memcpy(row, image.constScanLine(y), rowBytes);
        std::memcpy(row + rowBytes, row + rowBytes - pixelBytes, pixelBytes);
    }
    return copy.data();
}

void setThreads(AVCodecContext* context, AVDictionary** options)
{
    context->thread_count = kCodecThreads;
    av_dict_set_int(options, "threads", kCodecThreads, 0);
}

} // namespace

VideoEncoder::~VideoEncoder()
{
    close();
}

qint64 VideoEncoder::bitRateForHeight(int height)
{
    if (height <= 360)
        return 1000000;
    if (height <= 480)
        return 2500000;
    if (height <= 720)
        return 6500000;
    if (height <= 1080)
        return 10000000;
    if (height <= 1440)
        return 20000000;
    if (height <= 2160)
        return 44000000;
    return 56000000;
}

bool VideoEncoder::open()
{
    QMutexLocker locker(&m_writeLock);
    if (m_formatContext)
        return false;
    const QByteArray fileName = m_fileName.toUtf8();
    if (avformat_alloc_output_context2(&m_formatContext, nullptr, nullptr, fileName.constData()) < 0)
        return false;
    if (isVideoMode() && (!addStream() || !openCodec()))
        return false;
    if (!(m_formatContext->oformat->flags & AVFMT_NOFILE)
        && avio_open(&m_formatContext->pb, fileName.constData(), AVIO_FLAG_WRITE) < 0)
        return false;
    if (avformat_write_header(m_formatContext, nullptr) < 0)
        return false;
    m_headerWritten = true;
    m_frameCounter = 0;
    av_dump_format(m_formatContext, 0, fileName.constData(), 1);
    return true;
}

bool VideoEncoder::addStream()
{
    AVCodecID id = m_formatContext->oformat->video_codec;
    m_codec = findEncoder(id);
    if (!m_codec)
        return false;
    m_stream = avformat_new_stream(m_formatContext, nullptr);
    if (!m_stream)
        return false;
    m_codecContext = avcodec_alloc_context3(m_codec);
    if (!m_codecContext)
        return false;

    m_codecContext->codec_id = id;
    m_codecContext->codec_type = AVMEDIA_TYPE_VIDEO;
    m_codecContext->width = m_width;
    m_codecContext->height = m_height;
    m_codecContext->pix_fmt = kPictureFormat;

    AVRational rate = av_d2q(m_fps, 1001000);
    if (m_codec->supported_framerates)
        rate = m_codec->supported_framerates[av_find_nearest_q_idx(rate, m_codec->supported_framerates)];
    m_stream->time_base = av_inv_q(rate);
    m_codecContext->time_base = m_stream->time_base;
    m_codecContext->framerate = rate;
    m_stream->avg_frame_rate = rate;

    if (id == AV_CODEC_ID_MPEG4) {
        m_codecContext->max_b_frames = 2;
    } else if (id == AV_CODEC_ID_MSMPEG4V3) {
        m_codecContext->max_b_frames = 0;
        m_codecContext->mb_decision = FF_MB_DECISION_RD;
        m_codecContext->trellis = 2;
    }
    if (m_formatContext->oformat->flags & AVFMT_GLOBALHEADER)
        m_codecContext->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    return true;
}

void VideoEncoder::setCodecOptions(AVDictionary** options)
{
    AVCodecContext* c = m_codecContext;
    switch (c->codec_id) {
    case AV_CODEC_ID_MJPEG:
        c->qmin = 4;
        c->qmax = 4;
        c->bit_rate = 0;
        // Without a bit rate the rate control aborts; quantiser 4 is fixed instead.
        c->flags |= AV_CODEC_FLAG_QSCALE;
        c->global_quality = 4 * FF_QP2LAMBDA;
        c->color_range = AVCOL_RANGE_JPEG;
        c->strict_std_compliance = FF_COMPLIANCE_EXPERIMENTAL;
        setThreads(c, options);
        av_dict_set(options, "thread_type", "slice", 0);
        break;
    case AV_CODEC_ID_H264:
        c->me_range = 16;
        c->qcompress = 0.6f;
        c->qmin = 30;
        c->qmax = 40;
        if (static_cast<float>(c->width) / static_cast<float>(c->height) < 10.0f)
            setThreads(c, options);
        break;
    case AV_CODEC_ID_VP8:
    case AV_CODEC_ID_VP9:
        setThreads(c, options);
        c->bit_rate_tolerance = static_cast<int>(c->bit_rate);
        c->qmin = 0;
        c->qmax = 50;
        av_dict_set(options, "pass", "1", 0);
        av_dict_set(options, "speed", "6", 0);
        av_dict_set(options, "tile-columns", "6", 0);
        av_dict_set(options, "crf", "20", 0);
        break;
    default:
        break;
    }
}

bool VideoEncoder::openCodec()
{
    m_codecContext->bit_rate = bitRateForHeight(m_codecContext->height);
    m_codecContext->bit_rate_tolerance = 0;
    AVDictionary* options = nullptr;
    setCodecOptions(&options);
    if (m_formatContext->oformat->flags & AVFMT_GLOBALHEADER)
        m_codecContext->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if (m_codec->capabilities & AV_CODEC_CAP_EXPERIMENTAL)
        m_codecContext->strict_std_compliance = FF_COMPLIANCE_EXPERIMENTAL;

    const int opened = avcodec_open2(m_codecContext, m_codec, &options);
    av_dict_free(&options);
    if (opened < 0 || avcodec_parameters_from_context(m_stream->codecpar, m_codecContext) < 0)
        return false;

    m_picture = av_frame_alloc();
    m_source = av_frame_alloc();
    m_packet = av_packet_alloc();
    return m_picture && m_source && m_packet && allocatePicture();
}

bool VideoEncoder::allocatePicture()
{
    m_picture->format = kPictureFormat;
    m_picture->width = m_codecContext->width;
    m_picture->height = m_codecContext->height;
    return av_frame_get_buffer(m_picture, 0) >= 0;
}

bool VideoEncoder::encodeFrame(const QImage& image)
{
    QMutexLocker locker(&m_writeLock);
    if (!isVideoMode() || !m_headerWritten || !m_codecContext)
        return false;
    const AVPixelFormat source = sourcePixelFormat(image);
    if (source == AV_PIX_FMT_NONE)
        return false;
    if (!prepareScaler(image.size(), source))
        return false;
    // The codec may still hold the last picture; take fresh planes rather than copy it.
    if (!av_frame_is_writable(m_picture)) {
        av_frame_unref(m_picture);
        if (!allocatePicture())
            return false;
    }

    if (!scale(image))
        return false;
    m_picture->pts = m_frameCounter++;
    if (avcodec_send_frame(m_codecContext, m_picture) < 0)
        return false;
    return writePendingPackets();
}

bool VideoEncoder::prepareScaler(const QSize& size, int format)
{
    if (m_scaler && size == m_sourceSize && format == m_sourceFormat)
        return true;
    sws_freeContext(m_scaler);
    m_scaler = createScaler(size, AVPixelFormat(format), QSize(m_codecContext->width, m_codecContext->height));
    if (!m_scaler)
        return false;
    if (m_codecContext->color_range == AVCOL_RANGE_JPEG)
        setFullRangeOutput(m_scaler);
    m_sourceSize = size;
    m_sourceFormat = format;
    return true;
}

bool VideoEncoder::scale(const QImage& image)
{
    // The frame lends its pixels to the scaler; only an odd width needs a copy.
    const bool copy = image.width() % 2 && image.depth() >= 16;
    AVFrame* source = m_source;
    source->format = m_sourceFormat;
    source->width = image.width();
    source->height = image.height();
    source->linesize[0] = int(image.bytesPerLine());
    source->data[0] = copy ? withEdgePixels(image, m_edgePixels, source->linesize[0])
                           : const_cast<uint8_t*>(image.constBits());
    const size_t bytes = copy ? m_edgePixels.size() : size_t(image.sizeInBytes());
    source->buf[0] = av_buffer_create(source->data[0], bytes, &keepPixels, nullptr, AV_BUFFER_FLAG_READONLY);
    const bool scaled = source->buf[0] && sws_scale_frame(m_scaler, m_picture, source) >= 0;
    av_frame_unref(source);
    return scaled;
}

bool VideoEncoder::writePendingPackets()
{
    for (;;) {
        const int received = avcodec_receive_packet(m_codecContext, m_packet);
        if (received == AVERROR(EAGAIN) || received == AVERROR_EOF)
            return true;
        if (received < 0)
            return false;
        m_packet->stream_index = m_stream->index;
        av_packet_rescale_ts(m_packet, m_codecContext->time_base, m_stream->time_base);
        if (av_interleaved_write_frame(m_formatContext, m_packet) < 0)
            return false;
    }
}

bool VideoEncoder::close()
{
    QMutexLocker locker(&m_writeLock);
    const bool written = release();
    m_fps = 15;
    m_mode = 1;
    m_fileName.clear();
    m_width = 640;
    m_height = 480;
    return written;
}

bool VideoEncoder::release()
{
    bool written = true;
    if (m_headerWritten) {
        // Codecs with delay keep the last frames until they are flushed.
        if (m_codecContext && avcodec_send_frame(m_codecContext, nullptr) >= 0)
            written = writePendingPackets();
        // The trailer also reports a failed write of the buffered data.
        written = av_write_trailer(m_formatContext) >= 0 && written;
    }
    m_headerWritten = false;
    avcodec_free_context(&m_codecContext);
    av_frame_free(&m_picture);
    av_frame_free(&m_source);
    av_packet_free(&m_packet);
    sws_freeContext(m_scaler);
    m_scaler = nullptr;
    std::vector<uint8_t>().swap(m_edgePixels);
    if (m_formatContext && avio_closep(&m_formatContext->pb) < 0)
        written = false;
    avformat_free_context(m_formatContext);
    m_formatContext = nullptr;
    m_stream = nullptr;
    m_codec = nullptr;
    return written;
}

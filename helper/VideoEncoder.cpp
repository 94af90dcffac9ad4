#include "helper/VideoEncoder.h"

#include "av/AvError.h"

#include <QImage>
#include <QMutexLocker>
#include <QThread>

#include <algorithm>
#include <cstring>

extern "C" {
#include <libavutil/opt.h>
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

// Pictures of this many lines and more are HD: BT.709, as players take untagged HD video;
// smaller ones BT.601.
constexpr int kHdLines = 720;

// Tags the stream's colours, so that players convert them back as they were made.
void setColourTags(AVCodecContext* c)
{
    const bool hd = c->height >= kHdLines;
    c->colorspace = hd ? AVCOL_SPC_BT709 : AVCOL_SPC_SMPTE170M;
    c->color_primaries = hd ? AVCOL_PRI_BT709 : AVCOL_PRI_SMPTE170M;
    c->color_trc = hd ? AVCOL_TRC_BT709 : AVCOL_TRC_SMPTE170M;
    c->color_range = AVCOL_RANGE_MPEG;
}

// Makes the scaler's YUV output follow the stream's tags: its matrix and its range.
void setOutputColours(SwsContext* scaler, const AVCodecContext* c)
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
    table = const_cast<int*>(
        sws_getCoefficients(c->colorspace == AVCOL_SPC_BT709 ? SWS_CS_ITU709 : SWS_CS_ITU601));
    const int fullRange = c->color_range == AVCOL_RANGE_JPEG ? 1 : 0;
    sws_setColorspaceDetails(scaler, inverseTable, sourceRange, table, fullRange, brightness, contrast,
                             saturation);
}

// A scaler that converts in slices on several threads: the same pixels as one thread
// gives, in a fraction of the time.
SwsContextPtr createScaler(const QSize& source, AVPixelFormat sourceFormat, const QSize& target)
{
    SwsContextPtr scaler(sws_alloc_context());
    SwsContext* s = scaler.get();
    if (!s)
        return nullptr;
    const bool set = av_opt_set_int(s, "srcw", source.width(), 0) >= 0
        && av_opt_set_int(s, "srch", source.height(), 0) >= 0
        && av_opt_set_int(s, "src_format", sourceFormat, 0) >= 0
        && av_opt_set_int(s, "dstw", target.width(), 0) >= 0
        && av_opt_set_int(s, "dsth", target.height(), 0) >= 0
        && av_opt_set_int(s, "dst_format", kPictureFormat, 0) >= 0
        && av_opt_set_int(s, "sws_flags", SWS_BICUBIC, 0) >= 0
        && av_opt_set_int(s, "threads", std::min(QThread::idealThreadCount(), kScalerThreads), 0) >= 0;
    if (!set || sws_init_context(s, nullptr, nullptr) < 0)
        return nullptr;
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
    m_error.clear();
    const QByteArray fileName = m_settings.fileName.toUtf8();
    AVFormatContext* format = nullptr;
    const int allocated = avformat_alloc_output_context2(&format, nullptr, nullptr, fileName.constData());
    if (allocated < 0)
        return fail(QStringLiteral("No video format for \"%1\"").arg(m_settings.fileName), allocated);
    m_formatContext.reset(format);
    if (isVideoMode() && (!addStream() || !openCodec()))
        return false;
    if (!(format->oformat->flags & AVFMT_NOFILE)) {
        const int opened = avio_open(&format->pb, fileName.constData(), AVIO_FLAG_WRITE);
        if (opened < 0)
            return fail(QStringLiteral("Cannot create \"%1\"").arg(m_settings.fileName), opened);
    }
    const int written = avformat_write_header(format, nullptr);
    if (written < 0)
        return writeFailed(written);
    m_headerWritten = true;
    m_frameCounter = 0;
    av_dump_format(format, 0, fileName.constData(), 1);
    return true;
}

bool VideoEncoder::fail(const QString& what, int code)
{
    if (m_error.isEmpty())
        m_error = what + QStringLiteral(": ") + QString::fromStdString(avErrorText(code));
    return false;
}

bool VideoEncoder::writeFailed(int code)
{
    return fail(QStringLiteral("Cannot write to \"%1\"").arg(m_settings.fileName), code);
}

bool VideoEncoder::addStream()
{
    AVCodecID id = m_formatContext->oformat->video_codec;
    m_codec = findEncoder(id);
    if (!m_codec)
        return fail(QStringLiteral("No video encoder"), AVERROR_ENCODER_NOT_FOUND);
    m_stream = avformat_new_stream(m_formatContext.get(), nullptr);
    m_codecContext.reset(avcodec_alloc_context3(m_codec));
    if (!m_stream || !m_codecContext)
        return fail(QStringLiteral("No video stream"), AVERROR(ENOMEM));

    AVCodecContext* c = m_codecContext.get();
    c->codec_id = id;
    c->codec_type = AVMEDIA_TYPE_VIDEO;
    c->width = m_settings.width;
    c->height = m_settings.height;
    c->pix_fmt = kPictureFormat;
    setColourTags(c);

    AVRational rate = av_d2q(m_settings.fps, 1001000);
    if (m_codec->supported_framerates)
        rate = m_codec->supported_framerates[av_find_nearest_q_idx(rate, m_codec->supported_framerates)];
    m_stream->time_base = av_inv_q(rate);
    c->time_base = m_stream->time_base;
    c->framerate = rate;
    m_stream->avg_frame_rate = rate;

    if (id == AV_CODEC_ID_MPEG4) {
        c->max_b_frames = 2;
    } else if (id == AV_CODEC_ID_MSMPEG4V3) {
        c->max_b_frames = 0;
        c->mb_decision = FF_MB_DECISION_RD;
        c->trellis = 2;
    }
    return true;
}

void VideoEncoder::setCodecOptions(AVDictionary** options)
{
    AVCodecContext* c = m_codecContext.get();
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

    int opened = avcodec_open2(m_codecContext.get(), m_codec, &options);
    av_dict_free(&options);
    if (opened >= 0)
        opened = avcodec_parameters_from_context(m_stream->codecpar, m_codecContext.get());
    if (opened < 0)
        return fail(QStringLiteral("Cannot open the video encoder %1").arg(QLatin1String(m_codec->name)), opened);

    m_picture.reset(av_frame_alloc());
    m_source.reset(av_frame_alloc());
    m_packet.reset(av_packet_alloc());
    if (!m_picture || !m_source || !m_packet)
        return fail(QStringLiteral("No video frame"), AVERROR(ENOMEM));
    return allocatePicture();
}

bool VideoEncoder::allocatePicture()
{
    m_picture->format = kPictureFormat;
    m_picture->width = m_codecContext->width;
    m_picture->height = m_codecContext->height;
    const int allocated = av_frame_get_buffer(m_picture.get(), 0);
    return allocated >= 0 || fail(QStringLiteral("No video frame"), allocated);
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
    if (!av_frame_is_writable(m_picture.get())) {
        av_frame_unref(m_picture.get());
        if (!allocatePicture())
            return false;
    }

    if (!scale(image))
        return false;
    m_picture->pts = m_frameCounter++;
    const int sent = avcodec_send_frame(m_codecContext.get(), m_picture.get());
    if (sent < 0)
        return fail(QStringLiteral("Cannot encode a frame"), sent);
    return writePendingPackets();
}

bool VideoEncoder::prepareScaler(const QSize& size, int format)
{
    if (m_scaler && size == m_sourceSize && format == m_sourceFormat)
        return true;
    m_scaler = createScaler(size, AVPixelFormat(format), QSize(m_codecContext->width, m_codecContext->height));
    if (!m_scaler)
        return fail(QStringLiteral("No scaler for frames of %1x%2").arg(size.width()).arg(size.height()),
                    AVERROR(EINVAL));
    setOutputColours(m_scaler.get(), m_codecContext.get());
    m_sourceSize = size;
    m_sourceFormat = format;
    return true;
}

bool VideoEncoder::scale(const QImage& image)
{
    // The frame lends its pixels to the scaler; only an odd width needs a copy.
    const bool copy = image.width() % 2 && image.depth() >= 16;
    AVFrame* source = m_source.get();
    source->format = m_sourceFormat;
    source->width = image.width();
    source->height = image.height();
    source->linesize[0] = int(image.bytesPerLine());
    source->data[0] = copy ? withEdgePixels(image, m_edgePixels, source->linesize[0])
                           : const_cast<uint8_t*>(image.constBits());
    const size_t bytes = copy ? m_edgePixels.size() : size_t(image.sizeInBytes());
    source->buf[0] = av_buffer_create(source->data[0], bytes, &keepPixels, nullptr, AV_BUFFER_FLAG_READONLY);
    const int scaled = source->buf[0] ? sws_scale_frame(m_scaler.get(), m_picture.get(), source) : AVERROR(ENOMEM);
    av_frame_unref(source);
    return scaled >= 0 || fail(QStringLiteral("Cannot scale a frame"), scaled);
}

bool VideoEncoder::writePendingPackets()
{
    for (;;) {
        const int received = avcodec_receive_packet(m_codecContext.get(), m_packet.get());
        if (received == AVERROR(EAGAIN) || received == AVERROR_EOF)
            return true;
        if (received < 0)
            return fail(QStringLiteral("Cannot encode a frame"), received);
        m_packet->stream_index = m_stream->index;
        av_packet_rescale_ts(m_packet.get(), m_codecContext->time_base, m_stream->time_base);
        const int written = av_interleaved_write_frame(m_formatContext.get(), m_packet.get());
        if (written < 0)
            return writeFailed(written);
    }
}

bool VideoEncoder::close()
{
    QMutexLocker locker(&m_writeLock);
    const bool written = release();
    m_settings = Settings();
    return written;
}

bool VideoEncoder::release()
{
    bool written = true;
    if (m_headerWritten) {
        // Codecs with delay keep the last frames until they are flushed.
        if (m_codecContext && avcodec_send_frame(m_codecContext.get(), nullptr) >= 0)
            written = writePendingPackets();
        // The trailer also reports a failed write of the buffered data.
        const int finished = av_write_trailer(m_formatContext.get());
        if (finished < 0)
            written = writeFailed(finished);
    }
    m_headerWritten = false;
    m_codecContext.reset();
    m_picture.reset();
    m_source.reset();
    m_packet.reset();
    m_scaler.reset();
    std::vector<uint8_t>().swap(m_edgePixels);
    if (m_formatContext) {
        const int closed = avio_closep(&m_formatContext->pb);
        if (closed < 0)
            written = writeFailed(closed);
    }
    m_formatContext.reset();
    m_stream = nullptr;
    m_codec = nullptr;
    return written;
}

#include "app/audio/AudioProbe.h"

#include "av/AvError.h"
#include "av/AvHolders.h"

#include <QFileInfo>
#include <QLoggingCategory>

#include <algorithm>

namespace {

Q_LOGGING_CATEGORY(lcProbe, "ty.audio.probe", QtWarningMsg)

constexpr AVCodecID kMediaFoundationCodecs[] = {
    AV_CODEC_ID_MP3,   AV_CODEC_ID_AAC,    AV_CODEC_ID_WMAV1,      AV_CODEC_ID_WMAV2,
    AV_CODEC_ID_WMAVOICE, AV_CODEC_ID_WMAPRO, AV_CODEC_ID_WMALOSSLESS,
};

// A length in the given time base as whole milliseconds, truncated; 0 when unknown.
qint64 toMs(int64_t duration, AVRational timeBase)
{
    if (duration == AV_NOPTS_VALUE || duration <= 0 || timeBase.num <= 0 || timeBase.den <= 0)
        return 0;
    return av_rescale_q_rnd(duration, timeBase, AVRational {1, 1000}, AV_ROUND_ZERO);
}

} // namespace

struct AudioProbe::Private
{
    QString path;
    AvInputPtr format;
    bool valid = false;
    AVCodecID codecId = AV_CODEC_ID_NONE;

    const AVStream* firstStream() const
    {
        return valid && format->nb_streams > 0 ? format->streams[0] : nullptr;
    }
};

AudioProbe::AudioProbe(const QString& path) : d(new Private)
{
    d->path = path;
    // A pipe or device could block the open for ever.
    if (!QFileInfo(path).isFile()) {
        qCDebug(lcProbe) << "not a regular file:" << path;
        return;
    }
    // The open frees a context it fails on, so only an opened one is owned.
    AVFormatContext* opened = nullptr;
    const int result = avformat_open_input(&opened, path.toUtf8().constData(), nullptr, nullptr);
    if (result != 0) {
        qCDebug(lcProbe) << path << avErrorText(result).c_str();
        return;
    }
    d->format.reset(opened);
    const int info = avformat_find_stream_info(opened, nullptr);
    d->valid = info >= 0;
    if (!d->valid) {
        qCDebug(lcProbe) << path << avErrorText(info).c_str();
        return;
    }
    if (const AVStream* stream = d->firstStream())
        d->codecId = stream->codecpar->codec_id;
}

AudioProbe::~AudioProbe() = default;

bool AudioProbe::isValid() const
{
    return d->valid;
}

qint64 AudioProbe::durationMs() const
{
    const AVStream* stream = d->firstStream();
    if (!stream)
        return 0;
    const qint64 own = toMs(stream->duration, stream->time_base);
    return own > 0 ? own : toMs(d->format->duration, AVRational {1, AV_TIME_BASE});
}

bool AudioProbe::isMediaFoundationCodec() const
{
    return d->valid
        && std::find(std::begin(kMediaFoundationCodecs), std::end(kMediaFoundationCodecs), d->codecId)
        != std::end(kMediaFoundationCodecs);
}

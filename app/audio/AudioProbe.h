#pragma once

#include <QString>
#include <QtGlobal>

#include <memory>

// One audio file opened with libavformat: whether it opens, how long its first stream
// lasts and whether its codec is one the ty_convert program decodes. Used by one thread.
class AudioProbe
{
public:
    explicit AudioProbe(const QString& path);
    ~AudioProbe();
    AudioProbe(const AudioProbe&) = delete;
    AudioProbe& operator=(const AudioProbe&) = delete;

    bool isValid() const;
    // 0 when not valid, when the file has no stream or no length is known.
    qint64 durationMs() const;
    // MP3, AAC and the WMA family; false when not valid.
    bool isMediaFoundationCodec() const;

private:
    struct Private;
    std::unique_ptr<Private> d;
};

#include "support/AudioFixture.h"

#include "support/MediaTools.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

namespace AudioFixture {

bool makeTone(const QString& path, double seconds)
{
    static const QHash<QString, QString> codecs = {
        {"mp3", "libmp3lame"}, {"m4a", "aac"}, {"ogg", "libvorbis"},
        {"flac", "flac"},      {"wav", "pcm_s16le"},
    };
    const QString codec = codecs.value(QFileInfo(path).suffix());
    if (codec.isEmpty())
        return false;
    const QString tone = QStringLiteral("sine=frequency=440:sample_rate=44100:duration=%1").arg(seconds);
    return MediaTools::makeMedia({"-f", "lavfi", "-i", tone, "-c:a", codec}, path);
}

bool writeProgram(const QString& path, const QString& body)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const bool written = file.write("#!/bin/sh\n" + body.toUtf8() + '\n') > 0;
    file.close();
    return written
        && file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

} // namespace AudioFixture

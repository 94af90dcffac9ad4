#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// Small media made and measured with the ffmpeg and ffprobe programs.
namespace SoundFixture {

QString ffmpeg();

// A 44.1 kHz WAV of the given channels: a 440 Hz tone at half scale, or silence
// before silentUntil seconds.
bool makeTone(const QString& path, double seconds, int channels = 2, double silentUntil = 0);
// A small test picture video; the container follows the file's extension.
bool makeVideo(const QString& path, double seconds);

struct AudioStream
{
    double duration = 0; // of the whole file, seconds
    int channels = 0;    // 0 when there is no sound stream
    QString codec;
};
AudioStream probe(const QString& path);

// Root mean square of the sound between two times, 0 to 1.
double level(const QString& path, double from, double to);

} // namespace SoundFixture

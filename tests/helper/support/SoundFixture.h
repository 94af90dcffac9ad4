#pragma once

#include <QString>
#include <QTemporaryDir>
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
    int sampleRate = 0;
    QString codec;
};
AudioStream probe(const QString& path);

// A render's folders in a temporary root, with a space and an apostrophe in
// every name: cache "cache it's" (where the programs run) holds "WavTempDir"
// and the job folder "job 'one'" with its "video" folder.
struct WorkFolders
{
    WorkFolders();
    QString file(const QString& name) const { return dir.filePath(name); }

    QTemporaryDir dir;
    bool valid = false;
    QString root;
    QString cache;
    QString job;
};

// Root mean square of the sound between two times, 0 to 1.
double level(const QString& path, double from, double to);

} // namespace SoundFixture

#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Runs programs and the ffmpeg tools for media tests.
namespace MediaTools {

constexpr int Failed = -1000;

// Exit code of the program, or Failed when it did not start or end in time.
int run(const QString& program, const QStringList& arguments, const QString& workDir = {},
        QByteArray* output = nullptr);
// Makes a file with `ffmpeg -y <arguments> <output>`.
bool makeMedia(const QStringList& arguments, const QString& output);

struct AudioInfo
{
    QString codec;
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;
    qint64 samples = -1;
};
// The first audio stream as ffprobe sees it; empty codec when none.
AudioInfo probeAudio(const QString& path);
// The first audio stream decoded by ffmpeg as interleaved 16-bit PCM.
QByteArray decodePcm(const QString& path, int channels, int sampleRate);

} // namespace MediaTools

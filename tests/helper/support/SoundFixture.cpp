#include "SoundFixture.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>

#include <cmath>

namespace SoundFixture {

namespace {

constexpr int LevelRate = 8000;

QByteArray output(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(program, arguments);
    process.waitForFinished(-1);
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return QByteArray();
    return process.readAllStandardOutput();
}

bool run(const QStringList& arguments)
{
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(ffmpeg(), QStringList{"-v", "error", "-y"} + arguments);
    return process.waitForFinished(-1) && process.exitStatus() == QProcess::NormalExit
        && process.exitCode() == 0;
}

} // namespace

WorkFolders::WorkFolders()
    : root(dir.path()), cache(dir.filePath("cache it's")), job(cache + "/job 'one'")
{
    valid = dir.isValid() && QDir().mkpath(job + "/video") && QDir().mkpath(cache + "/WavTempDir");
}

QString ffmpeg()
{
    return QStandardPaths::findExecutable("ffmpeg");
}

bool makeTone(const QString& path, double seconds, int channels, double silentUntil)
{
    const QString source = QString("aevalsrc=exprs='if(gte(t,%1),0.5*sin(2*PI*440*t),0)'"
                                   ":s=44100:d=%2:c=%3")
                               .arg(silentUntil)
                               .arg(seconds)
                               .arg(channels == 1 ? "mono" : "stereo");
    return run({"-f", "lavfi", "-i", source, "-c:a", "pcm_s16le", path});
}

bool makeVideo(const QString& path, double seconds)
{
    const QString source = QString("testsrc=size=64x48:rate=10:duration=%1").arg(seconds);
    return run({"-f", "lavfi", "-i", source, "-pix_fmt", "yuv420p", path});
}

AudioStream probe(const QString& path)
{
    const QString ffprobe = QStandardPaths::findExecutable("ffprobe");
    AudioStream stream;
    const QStringList lines = QString::fromUtf8(
        output(ffprobe, {"-v", "error", "-select_streams", "a:0", "-show_entries",
                         "stream=codec_name,channels,sample_rate:format=duration", "-of", "default=nw=1", path}))
                                  .split('\n', Qt::SkipEmptyParts);
    for (const QString& line : lines) {
        const QString key = line.section('=', 0, 0);
        const QString value = line.section('=', 1);
        if (key == "duration")
            stream.duration = value.toDouble();
        else if (key == "channels")
            stream.channels = value.toInt();
        else if (key == "sample_rate")
            stream.sampleRate = value.toInt();
        else if (key == "codec_name")
            stream.codec = value;
    }
    return stream;
}

double level(const QString& path, double from, double to)
{
    const QByteArray raw = output(ffmpeg(), {"-v", "error", "-i", path, "-f", "s16le", "-ac", "1",
                                             "-ar", QString::number(LevelRate), "-"});
    const auto* samples = reinterpret_cast<const qint16*>(raw.constData());
    const int count = raw.size() / 2;
    const int first = qBound(0, int(from * LevelRate), count);
    const int last = qBound(first, int(to * LevelRate), count);
    if (last == first)
        return 0;
    double sum = 0;
    for (int i = first; i < last; ++i)
        sum += double(samples[i]) * samples[i];
    return std::sqrt(sum / (last - first)) / 32768.0;
}

} // namespace SoundFixture

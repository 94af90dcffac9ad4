#include "MediaTools.h"

#include <QProcess>

namespace MediaTools {

int run(const QString& program, const QStringList& arguments, const QString& workDir,
        QByteArray* output)
{
    QProcess process;
    if (!workDir.isEmpty())
        process.setWorkingDirectory(workDir);
    process.start(program, arguments);
    if (!process.waitForStarted())
        return Failed;
    process.closeWriteChannel();
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return Failed;
    }
    if (output)
        *output = process.readAllStandardOutput();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : Failed;
}

bool makeMedia(const QStringList& arguments, const QString& output)
{
    const QStringList all = QStringList {"-v", "error", "-y"} + arguments + QStringList {output};
    return run("ffmpeg", all) == 0;
}

AudioInfo probeAudio(const QString& path)
{
    QByteArray text;
    AudioInfo info;
    const QStringList arguments = {"-v", "error", "-select_streams", "a:0", "-show_entries",
                                   "stream=codec_name,channels,sample_rate,bits_per_sample,duration_ts",
                                   "-of", "default=nw=1", path};
    if (run("ffprobe", arguments, {}, &text) != 0)
        return info;
    for (const QByteArray& line : text.split('\n')) {
        const QString key = QString::fromUtf8(line).section('=', 0, 0);
        const QString value = QString::fromUtf8(line).section('=', 1);
        if (key == "codec_name")
            info.codec = value;
        else if (key == "channels")
            info.channels = value.toInt();
        else if (key == "sample_rate")
            info.sampleRate = value.toInt();
        else if (key == "bits_per_sample")
            info.bitsPerSample = value.toInt();
        else if (key == "duration_ts")
            info.samples = value.toLongLong();
    }
    return info;
}

QByteArray decodePcm(const QString& path, int channels, int sampleRate)
{
    QByteArray pcm;
    const QStringList arguments = {"-v", "error", "-i", path, "-map", "0:a:0",
                                   "-ac", QString::number(channels), "-ar", QString::number(sampleRate),
                                   "-f", "s16le", "-"};
    return run("ffmpeg", arguments, {}, &pcm) == 0 ? pcm : QByteArray();
}

} // namespace MediaTools

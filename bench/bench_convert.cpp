// Audio conversion speed: decoding alone against the whole conversion to WAV.
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include "convert/AudioSource.h"
#include "convert/ConvertFile.h"

extern "C" {
#include <libavutil/log.h>
}

namespace {

constexpr int kSeconds = 300;

bool makeInput(const QString& file, int channels, const QString& codec)
{
    const QStringList arguments = {"-v", "error", "-y", "-f", "lavfi", "-i",
                                   QString("sine=frequency=440:sample_rate=48000:duration=%1").arg(kSeconds),
                                   "-ac", QString::number(channels), "-c:a", codec, file};
    return QProcess::execute("ffmpeg", arguments) == 0;
}

// Decoding and resampling only, into one reused buffer.
double decodeMs(const QString& file)
{
    QElapsedTimer timer;
    timer.start();
    AudioSource source;
    if (!source.open(file.toStdString()))
        return -1;
    source.setOutput(std::min(source.channels(), 2), source.sampleRate());
    MediaBuffer buffer;
    while (source.read(buffer) == AudioSource::Result::Data) {
    }
    return timer.nsecsElapsed() / 1e6;
}

double convertMs(const QString& file, const QString& output)
{
    QElapsedTimer timer;
    timer.start();
    if (!convertFile(file.toStdString(), output.toStdString()))
        return -1;
    return timer.nsecsElapsed() / 1e6;
}

} // namespace

int main()
{
    av_log_set_level(AV_LOG_QUIET);
    QTemporaryDir dir;
    struct Input
    {
        const char* name;
        int channels;
        const char* codec;
    };
    for (const Input& input : {Input {"stereo.m4a", 2, "aac"}, Input {"surround.m4a", 6, "aac"},
                               Input {"stereo.mp3", 2, "libmp3lame"}, Input {"stereo.wma", 2, "wmav2"}}) {
        const QString file = dir.filePath(input.name);
        if (!makeInput(file, input.channels, input.codec)) {
            QTextStream(stdout) << input.name << ": input not made\n";
            continue;
        }
        const double decode = decodeMs(file);
        const double convert = convertMs(file, dir.filePath("out.wav"));
        QTextStream(stdout) << QString("%1 %2 s: decode %3 ms, convert to WAV %4 ms (%5x real time), "
                                       "sink overhead %6 %\n")
                                   .arg(input.name, -13)
                                   .arg(kSeconds)
                                   .arg(decode, 0, 'f', 0)
                                   .arg(convert, 0, 'f', 0)
                                   .arg(kSeconds * 1000.0 / convert, 0, 'f', 0)
                                   .arg((convert - decode) * 100.0 / decode, 0, 'f', 1);
    }
    return 0;
}

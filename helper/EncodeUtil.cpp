#include "helper/EncodeUtil.h"

#include "helper/AudioFileInfo.h"
#include "platform/ToolRun.h"
#include "model/AppPaths.h"
#include "platform/ToolPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

// Absolute paths are never read by ffmpeg as a protocol or an option.
QString absolute(const QString& path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

bool hasContent(const QString& path)
{
    return QFileInfo(path).size() > 0;
}

void removeFile(const QString& path)
{
    if (QFileInfo::exists(path))
        QFile::remove(path);
}

// The concat demuxer resolves a relative entry as a URL against the list's own
// path, which misreads these characters; such entries are written absolute.
bool resolvesAsUrl(const QString& path)
{
    static const QRegularExpression urlSyntax(QStringLiteral("[%:?#]"));
    return path.contains(urlSyntax);
}

QString listEntry(const QString& file, const QString& listFolder)
{
    const QString path = absolute(file);
    QString folder = absolute(listFolder);
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    QString entry = path;
    if (path.startsWith(folder) && !resolvesAsUrl(path))
        entry = path.mid(folder.size());
    // Inside quotes only the quote itself needs escaping: close, escaped quote, reopen.
    entry.replace(QLatin1String("'"), QLatin1String("'\\''"));
    return QStringLiteral("file '%1'\n").arg(entry);
}

bool listable(const QString& file)
{
    return !file.isEmpty() && !file.contains(QLatin1Char('\n')) && !file.contains(QLatin1Char('\r'));
}

} // namespace

EncodeUtil::EncodeUtil(const QString& workFolder)
    : m_workFolder(absolute(workFolder))
    , m_ffmpeg(ToolPaths::ffmpeg())
    , m_converter(ToolPaths::convert())
{
}

bool EncodeUtil::executeUtility(const QStringList& arguments, const QString& outputFile) const
{
    return ToolRun::run(m_ffmpeg, arguments, m_workFolder, ToolRun::NoLimit, nullptr, m_stop) == 0
        && hasContent(outputFile);
}

bool EncodeUtil::writeConcatList(const QString& listFile, const QStringList& files) const
{
    QFile list(listFile);
    if (!list.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        return false;
    const QByteArray text = concatList(files, m_workFolder).toUtf8();
    return list.write(text) == text.size();
}

bool EncodeUtil::concatFiles(const QStringList& files, const QString& outputFile,
                             qint64 lengthMs) const
{
    const QString listFile = m_workFolder + QStringLiteral("/merge-files.txt");
    if (!writeConcatList(listFile, files))
        return false;
    return executeUtility(concatArguments(listFile, outputFile, lengthMs), outputFile);
}

bool EncodeUtil::loopConcat(const QString& file, int count, const QString& outputFile,
                            qint64 lengthMs) const
{
    const QString listFile = m_workFolder + QStringLiteral("/merge-loop-audio.txt");
    QStringList files;
    for (int i = 0; i < count; ++i)
        files << file;
    if (!writeConcatList(listFile, files))
        return false;
    return executeUtility(loopConcatArguments(listFile, outputFile, lengthMs), outputFile);
}

bool EncodeUtil::muxVideoAndAudio(const QString& outputFile, const QString& video,
                                  const QString& audio, qint64 lengthMs, int loops) const
{
    return executeUtility(muxArguments(outputFile, video, audio, lengthMs, loops), outputFile);
}

QString EncodeUtil::buildAudioStream(const QStringList& wavFiles, const QString& folder,
                                     int offset, qint64 lengthMs) const
{
    const QString result = absolute(folder + QStringLiteral("/video/audio_stream.wav"));
    removeFile(result);
    // A track whose conversion failed has no file; it is left out rather than
    // making the whole join fail.
    QStringList usable;
    std::copy_if(wavFiles.cbegin(), wavFiles.cend(), std::back_inserter(usable), hasContent);
    if (usable.isEmpty())
        return result;

    QString source = usable.first();
    if (usable.size() > 1) {
        source = absolute(folder + QStringLiteral("/audio.wav"));
        removeFile(source);
        // Skipped music is joined too, so that the cut still finds the show's length.
        const qint64 skippedMs = offset < 0 ? -qint64(offset) * 1000 : 0;
        if (!concatFiles(usable, source, std::min(lengthMs, LLONG_MAX - skippedMs) + skippedMs))
            return result;
    }
    const QString uncut = absolute(folder + QStringLiteral("/video/audio_no_fade.wav"));
    removeFile(uncut);
    if (executeUtility(cutArguments(source, offset, lengthMs, uncut), uncut))
        QFile::rename(uncut, result);
    return result;
}

QString EncodeUtil::loopToLength(const QString& file, qint64 lengthMs, const QString& loopedFile) const
{
    const qint64 duration = AudioFileInfo(file, m_stop).durationMs();
    if (duration <= 0 || duration >= lengthMs)
        return file;
    // The list may hold no more entries than an int counts.
    const qint64 count = (lengthMs + duration - 1) / duration;
    if (count > INT_MAX)
        return file;
    // The joining run never overwrites.
    removeFile(loopedFile);
    return loopConcat(file, int(count), loopedFile, lengthMs) ? loopedFile : file;
}

QString EncodeUtil::applyDelayAndFades(const QString& file, qint64 lengthMs, int fade,
                                       int offset, const QString& folder) const
{
    const QString filter = delayAndFadeFilter(lengthMs / 1000, fade, offset);
    if (filter.isEmpty())
        return file;
    const QString output =
        absolute(QStringLiteral("%1/video/%2.wav").arg(folder, createUniqueToken()));
    removeFile(output);
    return executeUtility(filterArguments(file, filter, lengthMs, output), output) ? output : file;
}

bool EncodeUtil::convertToWav(const QString& source, const QString& wavFile) const
{
    static const QRegularExpression converted(QStringLiteral("\\.(m4a|wma)$"),
                                              QRegularExpression::CaseInsensitiveOption);
    // A pipe or device named as music would block the reading program for ever.
    if (!QFileInfo(source).isFile())
        return false;
    if (!source.contains(converted))
        return ffmpegTranscode(source, wavFile);
    // Joined tracks must share one format: the converter keeps the source's rate, so
    // anything but 44.1 kHz stereo goes through a WAV of its own, then ffmpeg makes it so.
    const AudioFileInfo info(source, m_stop);
    if (info.isStereo() && info.sampleRate() == 44100)
        return runConverter(source, wavFile);
    const QString decoded = QStringLiteral("%1/%2.wav")
                                .arg(QFileInfo(wavFile).absolutePath(), createUniqueToken());
    return runConverter(source, decoded) && ffmpegTranscode(decoded, wavFile);
}

bool EncodeUtil::ffmpegTranscode(const QString& source, const QString& wavFile) const
{
    return executeUtility(transcodeArguments(source, wavFile), wavFile);
}

bool EncodeUtil::runConverter(const QString& source, const QString& wavFile) const
{
    // The converter ends with 0 even when it failed, so its file decides.
    return ToolRun::run(m_converter, converterArguments(source, wavFile), m_workFolder,
                        ToolRun::NoLimit, nullptr, m_stop)
        == 0
        && hasContent(wavFile);
}

void EncodeUtil::audioCodecArgs(QStringList& arguments, const QString& outputFile)
{
    const QString extension = QFileInfo(outputFile).suffix().toLower();
    if (extension == QLatin1String("webm")) {
        arguments << QStringLiteral("-c:a") << QStringLiteral("vorbis") << QStringLiteral("-ar")
                  << QStringLiteral("44100") << QStringLiteral("-strict") << QStringLiteral("-2");
    } else if (extension == QLatin1String("mp4") || extension == QLatin1String("avi")
               || extension == QLatin1String("mov")) {
        // No system MP3 encoder here: LAME takes its place.
        arguments << QStringLiteral("-c:a") << QStringLiteral("libmp3lame");
    } else if (extension == QLatin1String("wmv")) {
        arguments << QStringLiteral("-c:a") << QStringLiteral("wmav2");
    }
}

QString EncodeUtil::lengthText(qint64 lengthMs)
{
    const QString seconds = QString::number(lengthMs / 1000);
    const int ms = int(lengthMs % 1000);
    if (ms == 0)
        return seconds;
    return QStringLiteral("%1.%2").arg(seconds).arg(ms, 3, 10, QLatin1Char('0'));
}

QString EncodeUtil::delayAndFadeFilter(qint64 lengthSeconds, int fade, int offset)
{
    const int delay = std::max(offset, 0);
    QString filter;
    if (offset > 0)
        filter = QStringLiteral("adelay=delays=%1s:all=1").arg(delay);
    if (fade > 0) {
        if (!filter.isEmpty())
            filter += QLatin1Char(',');
        // ffmpeg refuses a negative start, which would drop the delay too.
        const qint64 fadeOutStart = std::max<qint64>(lengthSeconds - fade, 0);
        filter += QStringLiteral("afade=t=in:st=%3s:d=%1,afade=t=out:st=%2:d=%1")
                      .arg(fade)
                      .arg(fadeOutStart)
                      .arg(delay);
    }
    return filter;
}

QString EncodeUtil::concatList(const QStringList& files, const QString& listFolder)
{
    QString text;
    for (const QString& file : files) {
        if (listable(file))
            text += listEntry(file, listFolder);
    }
    return text;
}

QStringList EncodeUtil::muxArguments(const QString& outputFile, const QString& video,
                                     const QString& audio, qint64 lengthMs, int loops)
{
    QStringList arguments;
    if (loops > 1)
        arguments << QStringLiteral("-stream_loop") << QString::number(loops - 1);
    arguments << QStringLiteral("-i") << absolute(video);
    if (!audio.isEmpty())
        arguments << QStringLiteral("-i") << absolute(audio);
    audioCodecArgs(arguments, outputFile);
    arguments << QStringLiteral("-c:v") << QStringLiteral("copy") << QStringLiteral("-y")
              << QStringLiteral("-t") << lengthText(lengthMs) << absolute(outputFile);
    return arguments;
}

QStringList EncodeUtil::concatArguments(const QString& listFile, const QString& outputFile,
                                        qint64 lengthMs)
{
    QStringList arguments{QStringLiteral("-f"), QStringLiteral("concat"), QStringLiteral("-safe"),
                          QStringLiteral("0"),  QStringLiteral("-i"),     absolute(listFile)};
    audioCodecArgs(arguments, outputFile);
    arguments << QStringLiteral("-t") << lengthText(lengthMs) << QStringLiteral("-y")
              << absolute(outputFile);
    return arguments;
}

QStringList EncodeUtil::loopConcatArguments(const QString& listFile, const QString& outputFile,
                                            qint64 lengthMs)
{
    return {QStringLiteral("-safe"), QStringLiteral("0"),    QStringLiteral("-f"),
            QStringLiteral("concat"), QStringLiteral("-i"),  absolute(listFile),
            QStringLiteral("-c"),    QStringLiteral("copy"), QStringLiteral("-t"),
            lengthText(lengthMs),    absolute(outputFile)};
}

QStringList EncodeUtil::cutArguments(const QString& source, int offset, qint64 lengthMs,
                                     const QString& outputFile)
{
    QStringList arguments;
    if (offset < 0)
        arguments << QStringLiteral("-ss") << QString::number(-qint64(offset));
    arguments << QStringLiteral("-t") << lengthText(lengthMs) << QStringLiteral("-i")
              << absolute(source) << QStringLiteral("-y") << absolute(outputFile);
    return arguments;
}

QStringList EncodeUtil::filterArguments(const QString& file, const QString& filter,
                                        qint64 lengthMs, const QString& outputFile)
{
    return {QStringLiteral("-i"),  absolute(file),       QStringLiteral("-filter_complex"),
            filter,                QStringLiteral("-t"), lengthText(lengthMs),
            QStringLiteral("-y"),  absolute(outputFile)};
}

QStringList EncodeUtil::transcodeArguments(const QString& source, const QString& wavFile)
{
    return {QStringLiteral("-i"),  absolute(source),         QStringLiteral("-ac"),
            QStringLiteral("2"),   QStringLiteral("-ar"),    QStringLiteral("44100"),
            absolute(wavFile)};
}

QStringList EncodeUtil::converterArguments(const QString& source, const QString& wavFile)
{
    return {absolute(source), absolute(wavFile)};
}

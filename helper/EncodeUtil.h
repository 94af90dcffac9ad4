#pragma once

#include "platform/ToolRun.h"

#include <QString>
#include <QStringList>

// The ffmpeg and converter runs that make the sound track and the final file.
// Each run gets its arguments from a pure builder below, every path in them
// absolute, and counts as done when the program ended with 0 and left a
// non-empty output file.
class EncodeUtil
{
public:
    // workFolder: where the programs run and the concat lists are written.
    // ffmpeg and the converter are found by ToolPaths.
    explicit EncodeUtil(const QString& workFolder);

    // Every run ends at once, without its output, once stop says so.
    void setStopCheck(const ToolRun::StopCheck& stop) { m_stop = stop; }

    bool executeUtility(const QStringList& arguments, const QString& outputFile) const;
    // Joins the files in order (see concatList), no longer than lengthMs.
    bool concatFiles(const QStringList& files, const QString& outputFile, qint64 lengthMs) const;
    // The file count times over, no longer than lengthMs.
    bool loopConcat(const QString& file, int count, const QString& outputFile, qint64 lengthMs) const;
    // Copies the video (repeated loops times) and encodes the sound when given, cut to lengthMs.
    bool muxVideoAndAudio(const QString& outputFile, const QString& video, const QString& audio,
                          qint64 lengthMs, int loops) const;
    // The music cut to lengthMs into "<folder>/video/audio_stream.wav"; offset below 0 skips
    // into it. Returns that path, which does not exist when no sound could be made.
    QString buildAudioStream(const QStringList& wavFiles, const QString& folder, int offset,
                             qint64 lengthMs) const;
    // The file repeated into loopedFile to cover seconds, or the file itself when it
    // needs no repeat or cannot be repeated.
    QString loopToLength(const QString& file, qint64 lengthMs, const QString& loopedFile) const;
    // The file delayed by a positive offset and faded in and out, or the file itself.
    QString applyDelayAndFades(const QString& file, qint64 lengthMs, int fade, int offset,
                               const QString& folder) const;
    // False at once for anything but a regular file.
    bool convertToWav(const QString& source, const QString& wavFile) const;
    bool ffmpegTranscode(const QString& source, const QString& wavFile) const;
    bool runConverter(const QString& source, const QString& wavFile) const;

    static void audioCodecArgs(QStringList& arguments, const QString& outputFile);
    // Whole seconds, then "." and three digits of milliseconds when there are any.
    static QString lengthText(qint64 lengthMs);
    // Empty when there is neither a delay nor a fade.
    static QString delayAndFadeFilter(qint64 lengthSeconds, int fade, int offset);
    // Text of an ffmpeg concat list written in listFolder; paths that cannot be
    // listed (empty, or holding a line break) are left out.
    static QString concatList(const QStringList& files, const QString& listFolder);

    static QStringList muxArguments(const QString& outputFile, const QString& video,
                                    const QString& audio, qint64 lengthMs, int loops);
    static QStringList concatArguments(const QString& listFile, const QString& outputFile,
                                       qint64 lengthMs);
    static QStringList loopConcatArguments(const QString& listFile, const QString& outputFile,
                                           qint64 lengthMs);
    static QStringList cutArguments(const QString& source, int offset, qint64 lengthMs,
                                    const QString& outputFile);
    // The delayed and faded sound, no longer than lengthMs.
    static QStringList filterArguments(const QString& file, const QString& filter,
                                       qint64 lengthMs, const QString& outputFile);
    static QStringList transcodeArguments(const QString& source, const QString& wavFile);
    static QStringList converterArguments(const QString& source, const QString& wavFile);

private:
    bool writeConcatList(const QString& listFile, const QStringList& files) const;

    QString m_workFolder;
    QString m_ffmpeg;
    QString m_converter;
    ToolRun::StopCheck m_stop;
};

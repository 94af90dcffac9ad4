#pragma once

#include "platform/ToolRun.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>

// Duration and channel layout of one sound file, as ffmpeg reports them.
class AudioFileInfo
{
public:
    // Probes the file with ffmpeg, which ends early once stop says so.
    explicit AudioFileInfo(const QString& path, const ToolRun::StopCheck& stop = ToolRun::StopCheck());

    QString path() const { return m_path; }
    // Milliseconds; 0 when unknown.
    qint64 durationMs() const { return m_durationMs; }
    bool isStereo() const { return m_stereo; }
    // Of the first audio stream; 0 when unknown.
    int sampleRate() const { return m_sampleRate; }

    static QStringList probeArguments(const QString& path);
    // Reads what ffmpeg printed on its standard error about the file.
    static AudioFileInfo fromProbeOutput(const QString& path, const QString& output);

private:
    AudioFileInfo() = default;
    void read(const QString& output);

    QString m_path;
    qint64 m_durationMs = 0;
    bool m_stereo = false;
    int m_sampleRate = 0;
};

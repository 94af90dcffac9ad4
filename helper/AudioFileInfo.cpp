#include "helper/AudioFileInfo.h"

#include "platform/ToolPaths.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace {
constexpr int ProbeLimitMs = 30000;
}

AudioFileInfo::AudioFileInfo(const QString& path, const ToolRun::StopCheck& stop) : m_path(path)
{
    if (path.isEmpty())
        return;
    QByteArray errors;
    ToolRun::run(ToolPaths::ffmpeg(), probeArguments(path), QString(), ProbeLimitMs, &errors, stop);
    read(QString::fromUtf8(errors));
}

QStringList AudioFileInfo::probeArguments(const QString& path)
{
    // An absolute path can never be taken for a protocol or an option.
    return {QStringLiteral("-i"), QFileInfo(path).absoluteFilePath()};
}

AudioFileInfo AudioFileInfo::fromProbeOutput(const QString& path, const QString& output)
{
    AudioFileInfo info;
    info.m_path = path;
    info.read(output);
    return info;
}

void AudioFileInfo::read(const QString& output)
{
    static const QRegularExpression durationPattern(
        QStringLiteral("Duration:\\s*(\\d+):(\\d+):(\\d+).(\\d+),"));
    const QRegularExpressionMatch match = durationPattern.match(output);
    // The fraction is read as milliseconds, whatever its number of digits.
    m_durationMs = match.hasMatch() ? (match.captured(1).toLongLong() * 3600
                                       + match.captured(2).toLongLong() * 60
                                       + match.captured(3).toLongLong())
                * 1000
            + match.captured(4).leftJustified(3, QLatin1Char('0'), true).toLongLong()
                                    : 0;

    static const QRegularExpression lineEnds(QStringLiteral("[\r\n]"));
    const QStringList lines = output.split(lineEnds, Qt::SkipEmptyParts);
    m_stereo = std::any_of(lines.cbegin(), lines.cend(), [](const QString& line) {
        return line.contains(QLatin1String("Stream"), Qt::CaseInsensitive)
            && line.contains(QLatin1String("stereo"));
    });

    static const QRegularExpression ratePattern(
        QStringLiteral("Stream [^\\n]*Audio:[^\\n]*, (\\d+) Hz"), QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch rate = ratePattern.match(output);
    m_sampleRate = rate.hasMatch() ? rate.captured(1).toInt() : 0;
}

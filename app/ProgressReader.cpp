#include "app/ProgressReader.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>

namespace {

// Output that never ends its line is dropped past this size.
constexpr int kMaxPending = 64 * 1024;

std::optional<ProgressReader::Progress> parse(const QString& line)
{
    static const QRegularExpression pattern(
        QStringLiteral("\\s*value:\\s*(\\d*)\\s*,\\s*total:\\s*(\\d*)\\s*,\\s*remtime:\\s*(\\d*)\\s*"));
    const QRegularExpressionMatch match = pattern.match(line);
    if (!match.hasMatch())
        return std::nullopt;
    const int value = match.captured(1).toInt();
    const int total = match.captured(2).toInt();
    if (total == 0)
        return std::nullopt;
    // A count past the total reads as done.
    const double percent = std::min(value * 100.0 / total, 100.0);
    return ProgressReader::Progress{int(percent), match.captured(3).toLongLong()};
}

} // namespace

std::optional<ProgressReader::Progress> ProgressReader::read(const QByteArray& piece)
{
    m_pending += piece;
    const int end = m_pending.lastIndexOf('\n');
    if (end < 0) {
        if (m_pending.size() > kMaxPending)
            m_pending.clear();
        return std::nullopt;
    }
    const QString complete = QString::fromUtf8(m_pending.constData(), end);
    m_pending.remove(0, end + 1);
    const QStringList lines = complete.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (auto line = lines.crbegin(); line != lines.crend(); ++line) {
        if (!line->trimmed().isEmpty())
            return parse(*line);
    }
    return std::nullopt;
}

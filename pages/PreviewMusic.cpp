#include "pages/PreviewMusic.h"

#include "model/ProjectFile.h"

#include <algorithm>
#include <cmath>

namespace PreviewMusic {

namespace {

// Rounds to the nearest integer, halves up.
qint64 roundHalfUp(double value)
{
    return qint64(std::floor(value + 0.5));
}

} // namespace

qint64 slideStart(const ProjectFile& project, const ProjectItem* item)
{
    return item ? project.startTimeOf(item) : 0;
}

qint64 musicPosition(qint64 clockMs, qint64 slideStartMs, int offsetSeconds)
{
    if (slideStartMs < 0)
        return -1;
    return clockMs + slideStartMs - qint64(offsetSeconds) * 1000;
}

Window musicWindow(qint64 showMs, qint64 musicMs, bool loop, int offsetSeconds, int fadeSeconds)
{
    qint64 end = showMs;
    const qint64 musicEnd = qint64(offsetSeconds) * 1000 + musicMs;
    if (!loop && musicEnd < end)
        end = musicEnd;
    const qint64 fade = qint64(fadeSeconds) * 1000;
    return {qint64(std::max(offsetSeconds, 0)) * 1000 + fade, end - fade};
}

int fadeVolume(qint64 showMs, const Window& window, int fadeSeconds, int volume)
{
    if (window.fadeInEnd <= 0 || window.fadeOutStart <= 0)
        return -1;
    const qint64 fade = qint64(fadeSeconds) * 1000;
    if (fade == 0)
        return showMs >= window.fadeInEnd && showMs <= window.fadeOutStart ? volume : 0;
    qint64 result = volume;
    if (showMs < window.fadeInEnd - fade)
        result = 0;
    else if (showMs <= window.fadeInEnd)
        result = volume - roundHalfUp(double(volume) * double(window.fadeInEnd - showMs) / double(fade));
    else if (showMs > window.fadeOutStart)
        result = volume - roundHalfUp(double(volume) * double(showMs - window.fadeOutStart) / double(fade));
    return int(std::max<qint64>(result, 0));
}

int percentOf(qint64 positionMs, qint64 durationMs)
{
    if (durationMs == 0)
        return 0;
    return int(std::floor(double(positionMs) * 100.0 / double(durationMs) + 0.5));
}

qint64 clockAtPercent(qint64 durationMs, int percent)
{
    return durationMs * percent / 100;
}

} // namespace PreviewMusic

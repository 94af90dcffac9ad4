#include "model/TimeText.h"

#include <cmath>

namespace {

QString twoDigits(qint64 value)
{
    return QString::number(value).rightJustified(2, QLatin1Char('0'));
}

} // namespace

QString msecsToMinSecText(qint64 ms)
{
    const auto s = qint64(std::floor(ms / 1000.0 + 0.5));
    return twoDigits(s / 60) + QLatin1Char(':') + twoDigits(s % 60);
}

QString msecsToDurationText(qint64 ms)
{
    const qint64 s = ms / 1000;
    const qint64 h = s / 3600;
    const qint64 m = (s % 3600) / 60;
    const qint64 sec = s - (h * 60 + m) * 60;
    return QString::number(h) + QLatin1Char(':') + twoDigits(m) + QLatin1Char(':') + twoDigits(sec);
}

#pragma once

#include <QString>

// "mm:ss", rounded to the nearest second; minutes are not wrapped into hours.
QString msecsToMinSecText(qint64 ms);
// "h:mm:ss", whole seconds cut off.
QString msecsToDurationText(qint64 ms);

#pragma once

#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <functional>
#include <vector>

#include <time.h>

// The middle value (the upper one of an even count); 0 of none.
inline double medianOf(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The median time in ms of `runs` runs of `work`, after one warm-up run.
inline double medianMs(int runs, const std::function<void()>& work)
{
    work();
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    return medianOf(times);
}

// The monotonic clock in ns: the same clock for every process of the machine, so a child's
// times compare with its parent's.
inline qint64 monotonicNs()
{
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// A memory field of /proc/self/status ("VmRSS", "VmHWM") in kB.
inline long statusKb(const QByteArray& field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray key = field + ':';
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').value(0).toLong();
    }
    return 0;
}

// Resident memory of this process in kB.
inline long residentKb()
{
    return statusKb("VmRSS");
}

// Peak resident memory of this process in kB.
inline long peakResidentKb()
{
    return statusKb("VmHWM");
}

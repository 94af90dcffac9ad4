#pragma once

#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <functional>
#include <vector>

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
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
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

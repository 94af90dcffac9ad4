#pragma once

#include "helper/IProgress.h"
#include "platform/RegistryKey.h"

#include <QElapsedTimer>
#include <QString>

// Progress of the render helper: one line "value: <done>, total: <total>, remtime:<ms>"
// on standard output per report, flushed at once; pause and cancel come from the values
// "is_paused" and "is_canceled" of the session's registry key, where only 1 means yes;
// SIGTERM and SIGINT count as a cancel.
class ConvertionProgress : public IProgress
{
public:
    explicit ConvertionProgress(const QString& sessionId);

    void setCurrentTask(int task) override;
    void setTotal(qint64 total) override;
    void setValue(qint64 done) override;
    void setCurrentPage(int) override {}
    void beginStep() override {}
    void reset() override;
    void pause() override;
    void endStep() override {}
    bool isCanceled() override;
    bool isPaused() override;
    void step() override;
    void addSubSteps(int count) override;
    void setTotalPages(int pages) override;

    // Milliseconds still needed: the mean time of the finished steps times the steps left;
    // 0 when no step is finished or none is left.
    static qint64 estimateRemaining(qint64 accumulatedMs, qint64 done, qint64 total);

private:
    void printLine() const;

    int m_currentTask = 0;
    qint64 m_total = 0;
    qint64 m_done = 0;
    bool m_canceled = false;
    bool m_paused = false;
    RegistryKey m_sessionKey;
    QElapsedTimer m_stepTimer;
    qint64 m_accumulated = 0;
    qint64 m_remaining = 0;
};

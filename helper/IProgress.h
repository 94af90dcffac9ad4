#pragma once

#include <QtGlobal>

// What a long job reports while it runs and asks about pause and cancel.
// Step counts are 64-bit: a long video at a high frame rate passes 2^31 frames.
class IProgress
{
public:
    virtual ~IProgress() = default;

    virtual void setCurrentTask(int task) = 0;
    virtual void setTotal(qint64 total) = 0;
    virtual void setValue(qint64 done) = 0;
    virtual void setCurrentPage(int page) = 0;
    virtual void beginStep() = 0;
    virtual void reset() = 0;
    virtual void pause() = 0;
    virtual void endStep() = 0;
    virtual bool isCanceled() = 0;
    virtual bool isPaused() = 0;
    // One step is finished.
    virtual void step() = 0;
    virtual void addSubSteps(int count) = 0;
    virtual void setTotalPages(int pages) { m_totalPages = pages; }
    virtual void setPagesDone(int pages) { m_pagesDone = pages; }

protected:
    int m_pagesDone = 0;
    int m_totalPages = 0;
    int m_subSteps = 0;
};

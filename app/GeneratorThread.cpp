#include "app/GeneratorThread.h"

#include "model/FrameRenderer.h"
#include "model/ProjectFile.h"

#include <QDateTime>
#include <QMutexLocker>

#include <cstdlib>

GeneratorThread::GeneratorThread(QObject* parent)
    : QThread(parent)
{
}

GeneratorThread::~GeneratorThread()
{
    stop();
}

void GeneratorThread::generate(ProjectFile* project, ProjectItem* fromItem, bool singleItem,
                               bool captionOnly)
{
    Q_UNUSED(singleItem)
    // The running pass draws the copy and its start slide: it ends before they change.
    stop();
    m_project.reset(project ? project->clone() : nullptr);
    m_startItem = m_project && fromItem ? m_project->item(project->indexOf(fromItem)) : nullptr;
    m_captionOnly = captionOnly;
    {
        QMutexLocker lock(&m_queueMutex);
        m_frames.clear();
    }
    m_wake.set();
    m_finished = !m_project;
    if (!m_project)
        return;
    // Cleared here, not in run: a stop asked before the pass begins still counts.
    m_stopRequested = false;
    start();
}

QImage GeneratorThread::frameAt(qint64 position, bool* finished)
{
    QImage frame;
    {
        QMutexLocker lock(&m_queueMutex);
        while (!m_frames.isEmpty() && position > m_frames.first().time + FramePeriod) {
            if (m_frames.size() < RefillMark)
                m_wake.set();
            m_frames.removeFirst();
        }
        if (!m_frames.isEmpty() && m_frames.first().time <= position)
            frame = m_frames.first().image;
    }
    if (finished)
        *finished = m_finished;
    return frame;
}

void GeneratorThread::stop()
{
    if (!isRunning())
        return;
    m_stopRequested = true;
    m_wake.set();
    wait();
}

void GeneratorThread::run()
{
    // Random transitions and motions differ from pass to pass.
    const int startIndex = m_startItem ? m_project->indexOf(m_startItem) : 0;
    std::srand(unsigned(QDateTime::currentSecsSinceEpoch() + startIndex + 1));
    const QSize size = m_project->resolution.size().scaled(frameBounds(), Qt::KeepAspectRatio);
    if (!size.isEmpty()) {
        FrameRenderer::renderProject(
            m_project.get(), m_startItem, size.width(), size.height(), m_captionOnly,
            [this](QImage image, qint64 time) { return take(image, time); }, Fps);
    }
    m_finished = true;
    emit finished();
}

// The frame sink: queues the frame, then waits while the queue is full.
bool GeneratorThread::take(const QImage& image, qint64 time)
{
    if (m_stopRequested)
        return false;
    bool full = false;
    {
        QMutexLocker lock(&m_queueMutex);
        m_frames.append({time, image});
        full = m_frames.size() >= HighMark;
    }
    if (full)
        m_wake.wait();
    return !m_stopRequested;
}

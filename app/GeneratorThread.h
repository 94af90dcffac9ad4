#pragma once

#include "platform/AutoResetEvent.h"
#include "platform/MediaTicks.h"

#include <QImage>
#include <QList>
#include <QMutex>
#include <QThread>

#include <atomic>
#include <memory>

class ProjectFile;
class ProjectItem;

// Draws the preview frames of a project on a thread of its own, ahead of playback, into a
// bounded queue from which the player takes the frame of its position. Each pass draws a
// copy of the project, so the caller may go on editing it.
class GeneratorThread : public QThread
{
    Q_OBJECT

public:
    // The drawing waits while this many frames are queued.
    static constexpr int HighMark = 120;
    // A taken frame wakes the drawing while fewer than this many are queued.
    static constexpr int RefillMark = 200;
    static constexpr int Fps = 15;
    // In 100-ns units.
    static constexpr qint64 FramePeriod = kTicksPerSecond / Fps;
    // Frames are the project's resolution fitted into this size.
    static QSize frameBounds() { return QSize(460, 277); }

    explicit GeneratorThread(QObject* parent = nullptr);
    ~GeneratorThread() override;

    // Ends a running pass, then starts a new one on an empty queue from fromItem (a slide
    // of project; from the beginning when null or not in it). singleItem is not used: a
    // pass from a slide draws that slide only.
    void generate(ProjectFile* project, ProjectItem* fromItem, bool singleItem, bool captionOnly);
    // The frame for a position in 100-ns units: the queued frames whose time is over are
    // dropped, and the first left is given while its time has come; a null image otherwise.
    // *finished, when given, tells whether the pass has drawn its last frame.
    QImage frameAt(qint64 position, bool* finished = nullptr);
    // Ends a running pass and waits for it.
    void stop();

signals:
    // A pass has ended, from the drawing thread.
    void finished();

protected:
    void run() override;

private:
    struct Frame
    {
        qint64 time;
        QImage image;
    };

    bool take(const QImage& image, qint64 time);

    AutoResetEvent m_wake;
    std::atomic<bool> m_finished{true};
    QMutex m_queueMutex;
    QList<Frame> m_frames;
    std::atomic<bool> m_stopRequested{false};
    bool m_captionOnly = false;
    ProjectItem* m_startItem = nullptr;
    std::unique_ptr<ProjectFile> m_project;
};

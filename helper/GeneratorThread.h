#pragma once

#include "helper/EncodeUtil.h"
#include "helper/FrameQueue.h"

#include <QImage>
#include <QObject>
#include <QString>
#include <QTemporaryDir>

#include <atomic>
#include <memory>

class IProgress;
class ProjectFile;
class PrepareAudioThread;

// The render job: turns one project into its output video. The frames are drawn on the
// calling thread and encoded on a pool thread, the sound track is built on a thread of
// its own, and ffmpeg joins both into the output file at the end. Pause and cancel come
// through the progress object. Works in a temporary folder of its own inside the
// application's cache folder, removed with the job.
class GeneratorThread : public QObject
{
public:
    // progress: not owned; must outlive the job.
    explicit GeneratorThread(IProgress* progress);
    ~GeneratorThread() override;

    // False when the cache folder or the job's folder could not be created: run then
    // does nothing.
    bool isValid() const { return m_tempDir && m_tempDir->isValid(); }
    QString workFolder() const { return m_workFolder; }

    // Returns once the output is written, the job failed or it was canceled; every thread
    // and program it started has ended by then. The file at the project's output path is
    // replaced only at the very end, when everything before went well.
    void run(ProjectFile* project);

    // The frame sink of the renderer: queues the frame (waiting while the queue is full),
    // reports the step and holds while paused. False once canceled or the encoder failed.
    bool onFrame(QImage frame, qint64 timestamp);
    // Holds while the session is paused; false once it is canceled.
    bool waitWhilePaused();
    // The encoder's side of the queue, until the renderer is finished and the queue empty.
    void feedEncoder();
    // A new WAV copy of a music file in the cache folder; empty when it cannot be made.
    QString convertTrackToWav(const QString& source);

    // Why no video was made, in one line; empty after a video was written.
    QString errorString() const;

    // Set once a frame could not be encoded or the video file not finished.
    bool encoderFailed() const { return m_encoderFailed; }

private:
    // Renders every frame through the queue; false when the video stream is unusable.
    bool renderVideo();
    std::unique_ptr<PrepareAudioThread, void (*)(PrepareAudioThread*)> startSoundTrack();
    // Why no video can be made (frame rate outside 1..120, nothing to show, an output that
    // cannot be written), checked before any work; empty when it can.
    QString outputProblem() const;
    // Puts the finished video in the output's place, the older file staying when it fails.
    void writeOutput(const QString& video, const QString& sound);
    // True once the session is canceled (or the process told to stop); asked on the
    // calling thread only.
    bool stopRequested();
    // Until the sound track is done, stopping it on a cancel; false when canceled.
    bool waitForSoundTrack(PrepareAudioThread& sound);
    // The programs of this job, run in the application's work folder and ended on a cancel.
    EncodeUtil tools();

    IProgress* m_progress;
    QString m_workFolder;
    ProjectFile* m_project = nullptr;
    std::unique_ptr<QTemporaryDir> m_tempDir;
    FrameQueue m_queue;
    std::atomic_bool m_encoderFailed{false};
    bool m_stopped = false;
    QString m_error;
};

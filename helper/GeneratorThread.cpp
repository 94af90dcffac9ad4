#include "helper/GeneratorThread.h"

#include "helper/Application.h"
#include "helper/EncodeUtil.h"
#include "helper/IProgress.h"
#include "helper/MediaFile.h"
#include "helper/PrepareAudioThread.h"
#include "model/AppPaths.h"
#include "model/FrameRenderer.h"
#include "model/ProjectFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QThreadPool>

#include <climits>
#include <cstdio>

namespace {

constexpr int kVideoMode = 1; // the encoder writes video
// How often a paused job looks at its session again.
constexpr int kPausePollMs = 100;
// Frame rates a video is made at.
constexpr int kLowestFps = 1;
constexpr int kHighestFps = 120;
const QString kCanceled = QStringLiteral("No video made: the render was canceled.");

// The thread object must not go while its run is still going. Its sound is needed only
// when the run got that far, so whatever it still does is stopped.
void stopAndDelete(PrepareAudioThread* thread)
{
    thread->requestStop();
    thread->wait();
    delete thread;
}

} // namespace

GeneratorThread::GeneratorThread(IProgress* progress)
    : m_progress(progress)
{
    Application* app = Application::instance();
    const QString cache = app ? app->cacheFolder() : QString();
    // Without its cache folder the job has nowhere to work: it must not fall back to "/".
    if (cache.isEmpty())
        return;
    m_tempDir = std::make_unique<QTemporaryDir>(cache + QLatin1Char('/'));
    m_tempDir->setAutoRemove(true);
    app->setWorkFolder(cache);
    if (!m_tempDir->isValid())
        return;
    m_workFolder = m_tempDir->path();
    QDir().mkpath(m_workFolder + QStringLiteral("/images/"));
    QDir().mkpath(m_workFolder + QStringLiteral("/video/"));
}

GeneratorThread::~GeneratorThread() = default;

void GeneratorThread::run(ProjectFile* project)
{
    m_project = project;
    if (!isValid()) {
        m_error = QStringLiteral("No video made: the work folder could not be created.");
        return;
    }
    // Whatever keeps the output from being written is found before any frame is drawn.
    m_error = outputProblem();
    if (!m_error.isEmpty())
        return;
    VideoEncoder& encoder = Application::instance()->encoder();
    const QString video = QStringLiteral("%1/%2.%3")
                              .arg(m_workFolder, QStringLiteral("videostream"), project->format);
    encoder.setFileName(video);
    encoder.setWidth(project->resolution.width());
    encoder.setHeight(project->resolution.height());
    encoder.setFps(project->fps);
    encoder.setMode(kVideoMode);
    if (!encoder.open()) {
        encoder.close(); // frees what a half-done open left
        return;
    }

    const auto sound = startSoundTrack();
    if (stopRequested()) {
        encoder.close();
        m_error = kCanceled;
        return;
    }
    // A video that could not be written whole is never presented as the output.
    if (!renderVideo() || stopRequested()) {
        if (stopRequested())
            m_error = kCanceled;
        return;
    }
    waitWhilePaused();
    if (!waitForSoundTrack(*sound)) {
        m_error = kCanceled;
        return;
    }
    writeOutput(video, sound->resultPath());
}

QString GeneratorThread::errorString() const
{
    return m_error.isEmpty() ? Application::instance()->encoder().errorString() : m_error;
}

QString GeneratorThread::outputProblem() const
{
    if (m_project->fps < kLowestFps || m_project->fps > kHighestFps) {
        return QStringLiteral("No video made: the frame rate %1 is not between %2 and %3.")
            .arg(m_project->fps)
            .arg(kLowestFps)
            .arg(kHighestFps);
    }
    if (m_project->totalDuration() <= 0)
        return QStringLiteral("No video made: the project has nothing to show.");
    const QString output = m_project->file_name;
    const QFileInfo folder(QFileInfo(output).absolutePath());
    if (output.isEmpty())
        return QStringLiteral("No video made: the project names no output file.");
    if (!MediaFile::isWritableFormat(output))
        return QStringLiteral("No video made: \"%1\" is not a known video format.").arg(QFileInfo(output).suffix());
    if (!folder.isDir() || !folder.isWritable())
        return QStringLiteral("No video made: the folder %1 cannot be written.").arg(folder.filePath());
    return QString();
}

std::unique_ptr<PrepareAudioThread, void (*)(PrepareAudioThread*)> GeneratorThread::startSoundTrack()
{
    QList<AudioTrack> tracks = m_project->audio_files;
    for (AudioTrack& track : tracks) {
        if (!track.wavFileName.isEmpty() && !QFileInfo::exists(track.wavFileName))
            track.wavFileName.clear();
        if (track.wavFileName.isEmpty())
            track.wavFileName = convertTrackToWav(track.fileName);
    }
    std::unique_ptr<PrepareAudioThread, void (*)(PrepareAudioThread*)> thread(
        new PrepareAudioThread(m_project, tracks, m_workFolder,
                               EncodeUtil(Application::instance()->workFolder())),
        &stopAndDelete);
    thread->start(QThread::InheritPriority);
    return thread;
}

bool GeneratorThread::renderVideo()
{
    const Resolution& size = m_project->resolution;
    const qint64 frames = FrameRenderer::frameTotal(m_project, size.width(), size.height());
    m_progress->reset();
    m_progress->setCurrentTask(0);
    m_progress->setTotal(frames);

    m_queue.restart();
    QThreadPool::globalInstance()->start([this] { feedEncoder(); });
    FrameRenderer::renderProject(
        m_project, nullptr, size.width(), size.height(), false,
        [this](QImage frame, qint64 timestamp) { return onFrame(std::move(frame), timestamp); },
        m_project->fps, Qt::SmoothTransformation, true);
    m_queue.finishProducing();
    m_queue.waitForConsumer();

    if (!Application::instance()->encoder().close())
        m_encoderFailed = true;
    return !m_encoderFailed;
}

void GeneratorThread::writeOutput(const QString& video, const QString& sound)
{
    const QString output = m_project->file_name;
    const QFileInfo target(output);
    // Made beside the output under a name of its own, with the output's extension (which
    // names the container), and put in the output's place only once it is whole.
    const QString partial = QStringLiteral("%1/.%2-%3.%4")
                                .arg(target.absolutePath(), target.completeBaseName(),
                                     createUniqueToken(), target.suffix());
    const int loops = m_project->project_loop;
    const qint64 lengthMs = m_project->loopedDuration();
    const EncodeUtil util = tools();
    bool made;
    if (QFileInfo::exists(sound))
        made = util.muxVideoAndAudio(partial, video, sound, lengthMs, loops);
    else if (loops < 2)
        made = QFile::copy(video, partial);
    else
        made = util.muxVideoAndAudio(partial, video, QString(), lengthMs, loops);

    const bool whole = made && !stopRequested() && MediaFile::hasStreams(partial);
    if (whole && std::rename(QFile::encodeName(partial).constData(), QFile::encodeName(output).constData()) == 0)
        return;
    QFile::remove(partial);
    m_error = stopRequested() ? kCanceled
                              : QStringLiteral("No video made: %1 could not be written whole.").arg(output);
}

bool GeneratorThread::onFrame(QImage frame, qint64 timestamp)
{
    Q_UNUSED(timestamp)
    // Each control value is read once per frame; a cancel meanwhile is seen at the next one.
    if (stopRequested())
        return false;
    m_queue.push(frame);
    m_progress->step();
    return waitWhilePaused() && !m_encoderFailed;
}

bool GeneratorThread::waitWhilePaused()
{
    while (m_progress->isPaused()) {
        if (stopRequested())
            return false;
        // Events first, so that what the paused thread is sent still arrives.
        QCoreApplication::processEvents();
        QThread::msleep(kPausePollMs);
    }
    return true;
}

void GeneratorThread::feedEncoder()
{
    VideoEncoder& encoder = Application::instance()->encoder();
    m_queue.drain([this, &encoder](const QImage& frame) {
        // After a failed write the frames are only taken out, so the renderer never waits.
        if (!m_encoderFailed && !encoder.encodeFrame(frame))
            m_encoderFailed = true;
    });
}

QString GeneratorThread::convertTrackToWav(const QString& source)
{
    Application* app = Application::instance();
    const QString folder = app->cacheFolder() + QStringLiteral("/WavTempDir");
    QDir().mkpath(folder);
    QString path;
    for (int i = 0;; ++i) {
        path = QStringLiteral("%1/file_%2.wav").arg(folder).arg(i);
        if (!QFileInfo::exists(path))
            break;
    }
    path = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    return tools().convertToWav(source, path) ? path : QString();
}

bool GeneratorThread::stopRequested()
{
    if (!m_stopped && m_progress->isCanceled())
        m_stopped = true;
    return m_stopped;
}

bool GeneratorThread::waitForSoundTrack(PrepareAudioThread& sound)
{
    while (!sound.wait(FrameQueue::WaitMs)) {
        if (stopRequested())
            sound.requestStop();
    }
    return !stopRequested();
}

EncodeUtil GeneratorThread::tools()
{
    EncodeUtil util(Application::instance()->workFolder());
    util.setStopCheck([this] { return stopRequested(); });
    return util;
}

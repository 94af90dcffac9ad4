// The preview of a 1080p photo project: time to the first frame after generate, frames drawn per
// second while playback takes each frame as soon as it is queued, the memory of a full
// queue; and the load time of a history of 200 projects.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>

#include "app/GeneratorThread.h"
#include "app/HistoryModel.h"
#include "model/MotionType.h"
#include "model/ProjectFile.h"
#include "model/ProjectItemSimple.h"
#include "model/transition/TransitionType.h"
#include "platform/WholeFile.h"

#include "BenchPhotos.h"
#include "BenchTiming.h"

namespace {

constexpr int kPhotos = 6;
constexpr int kHistoryProjects = 200;

void fillProject(ProjectFile& project, const QTemporaryDir& dir)
{
    project.resolution = Resolution(1920, 1080);
    project.transition_time_ms = 1000;
    QList<ProjectItem*> slides;
    for (int i = 0; i < kPhotos; ++i) {
        auto* slide = new ProjectItemSimple(writeBenchPhoto(dir, i), 4000, TransitionRandom);
        slide->setMotion(MotionRandom);
        slide->text().text = QStringLiteral("Caption of slide %1").arg(i + 1);
        slides << slide;
    }
    project.insertItems(slides, -1);
}

// Waits, polling, until the frame of the position is queued or the pass has ended.
QImage waitForFrame(GeneratorThread& thread, qint64 position, bool* finished)
{
    for (;;) {
        const QImage frame = thread.frameAt(position, finished);
        if (!frame.isNull() || *finished)
            return frame;
        QThread::usleep(200);
    }
}

void measurePreview(ProjectFile& project)
{
    QTextStream out(stdout);
    GeneratorThread thread;
    bool finished = false;
    // From the title slide, and from a photo slide, whose picture each pass's copy loads anew.
    for (ProjectItem* from : {project.item(0), project.item(1)}) {
        const double firstMs = medianMs(5, [&] {
            thread.generate(&project, from, false, false);
            waitForFrame(thread, 0, &finished);
        });
        out << QString("first preview frame:    %1 ms from the %2 slide (median of 5)\n")
                   .arg(firstMs, 0, 'f', 1)
                   .arg(from == project.item(0) ? "title" : "first photo");
    }

    thread.generate(&project, nullptr, false, false);
    QElapsedTimer timer;
    timer.start();
    int frames = 0;
    QImage last;
    for (qint64 position = 0;; position += GeneratorThread::FramePeriod) {
        const QImage frame = waitForFrame(thread, position, &finished);
        if (frame.isNull())
            break;
        last = frame;
        ++frames;
    }
    const double ms = timer.nsecsElapsed() / 1e6;
    out << QString("frames drawn:           %1 in %2 ms, %3 frames/s\n")
               .arg(frames)
               .arg(ms, 0, 'f', 0)
               .arg(frames * 1000.0 / ms, 0, 'f', 1);
    const double queueMb = double(last.sizeInBytes()) * (GeneratorThread::HighMark + 1) / (1024.0 * 1024.0);
    out << QString("full queue:             %1 frames of %2x%3, %4 MiB\n")
               .arg(GeneratorThread::HighMark + 1)
               .arg(last.width())
               .arg(last.height())
               .arg(queueMb, 0, 'f', 1);
}

void measureHistory(const ProjectFile& project)
{
    QJsonArray projects;
    for (int i = 0; i < kHistoryProjects; ++i) {
        QJsonObject document = project.toJson();
        document[QStringLiteral("file_name")] = QStringLiteral("/videos/show%1.mp4").arg(i);
        projects.append(document);
    }
    const QJsonObject root{{QStringLiteral("version"), QStringLiteral("first")},
                           {QStringLiteral("projects"), projects}};
    WholeFile::write(HistoryModel::historyFile(), QJsonDocument(root).toJson());
    int rows = 0;
    const double ms = medianMs(5, [&rows] { rows = HistoryModel().rowCount(); });
    QTextStream(stdout) << QString("history of %1 projects: %2 ms to load (median of 5)\n")
                               .arg(rows)
                               .arg(ms, 0, 'f', 1);
}

} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir dir;
    // The history file goes to a folder of its own.
    qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toUtf8());
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("bench_preview"));
    ProjectFile project(3000);
    fillProject(project, dir);
    measurePreview(project);
    measureHistory(project);
    return 0;
}

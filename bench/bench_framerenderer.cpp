// Frames per second of the frame renderer over a small 1080p project, with a sink that only
// counts frames: slide pictures, motion, captions and transitions, no encoding.
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>
#include <QTextStream>

#include "model/FrameRenderer.h"
#include "model/MotionType.h"
#include "model/ProjectFile.h"
#include "model/ProjectItemSimple.h"
#include "model/transition/TransitionType.h"

#include "BenchPhotos.h"

#include <cstdlib>

namespace {

const QSize kFrame(1920, 1080);

void measure(const char* name, ProjectFile& project)
{
    std::srand(1);
    project.resetImageCaches();
    int frames = 0;
    QElapsedTimer timer;
    timer.start();
    FrameRenderer::renderProject(
        &project, nullptr, kFrame.width(), kFrame.height(), false,
        [&frames](QImage, qint64) { return ++frames > 0; }, 0, Qt::SmoothTransformation, true);
    const double ms = timer.nsecsElapsed() / 1e6;
    QTextStream(stdout) << QString("%1 %2x%3: %4 frames, %5 ms/frame (%6 fps)\n")
                               .arg(QLatin1String(name), -22)
                               .arg(kFrame.width())
                               .arg(kFrame.height())
                               .arg(frames)
                               .arg(ms / frames, 0, 'f', 2)
                               .arg(frames * 1000 / ms, 0, 'f', 0);
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    ProjectFile project(3000);
    project.transition_time_ms = 1000;
    QList<ProjectItem*> slides;
    const int transitions[] = {TransitionCrossfade, TransitionWipeLeftToRight, TransitionZoomIn,
                               TransitionFadeToBlack};
    for (int i = 0; i < 4; ++i) {
        auto* slide = new ProjectItemSimple(writeBenchPhoto(dir, i), 4000, transitions[i]);
        slide->setMotion(MotionRandom);
        slides << slide;
    }
    project.insertItems(slides, -1);
    measure("no captions", project);
    for (ProjectItem* slide : slides)
        slide->text().text = QStringLiteral("A caption on every slide");
    measure("captions", project);
    project.scale_to_fit = project.blur_background = true;
    measure("captions, fit, blur", project);
    return 0;
}

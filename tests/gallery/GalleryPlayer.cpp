// The preview panel: a still picture with its title, playing, stalled with the spinner, the
// repeat actions after a slide preview; under TyStyle.

#include "Gallery.h"
#include "GalleryTyStyle.h"

#include "model/ProjectFile.h"
#include "model/ProjectItemColor.h"
#include "model/transition/TransitionType.h"
#include "pages/VideoPlayer.h"
#include "pages/VideoPlayerWidget.h"

#include <QPainter>
#include <QTimer>

#include <memory>

namespace {

std::unique_ptr<ProjectFile> galleryProject()
{
    auto project = std::make_unique<ProjectFile>();
    project->resolution = Resolution(1920, 1080);
    project->transition_time_ms = 0;
    for (int background : {2, 5, 7}) {
        auto* slide = new ProjectItemColor(4000, TransitionNone);
        slide->setBgIndex(background);
        project->insertItems({slide}, -1);
    }
    return project;
}

// A frame as the preview draws it: a sky over a field with a sun.
QImage framePicture()
{
    QImage image(460, 259, QImage::Format_RGB32);
    image.fill(QColor(90, 150, 210));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(QRect(0, 170, 460, 89), QColor(70, 130, 60));
    painter.setBrush(QColor(250, 210, 80));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPoint(340, 80), 36, 36);
    return image;
}

void settle(VideoPlayerWidget& panel)
{
    panel.resize(560, 400);
    panel.show();
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

} // namespace

TY_GALLERY_ENTRY("preview-panel")
{
    useTyStyle();
    const auto project = galleryProject();
    ManualAnimationClock clock;
    {
        VideoPlayerWidget panel;
        settle(panel);
        panel.setProject(project.get());
        panel.showSlide(1, QStringLiteral("2"), false, true);
        clock.advance(1000);
        page.add(renderWidget(&panel, 1.0), QStringLiteral("still"), true);
        page.add(renderWidget(&panel, 2.0), QStringLiteral("still"), true, 2.0);
    }
    {
        VideoPlayerWidget panel;
        settle(panel);
        panel.setProject(project.get());
        // The whole show's title without its frame thread: the frame is set by hand.
        panel.playPreview(-1, QString(), false);
        panel.startTimer()->stop();
        emit panel.player()->durationChanged(12000);
        emit panel.player()->started();
        panel.player()->showImage(framePicture());
        emit panel.player()->onPositionChanged(4500);
        clock.advance(1000);
        page.add(renderWidget(&panel, 1.0), QStringLiteral("playing"), true);
        emit panel.player()->generatingStarted();
        clock.advance(700);
        page.add(renderWidget(&panel, 1.0), QStringLiteral("stalled"), true);
    }
    {
        VideoPlayerWidget panel;
        settle(panel);
        panel.setProject(project.get());
        panel.showSlide(2, QStringLiteral("3"), false, true);
        panel.playPreview(2, QStringLiteral("3"), false);
        panel.player()->play();
        panel.player()->stop();
        clock.advance(1000);
        page.add(renderWidget(&panel, 1.0), QStringLiteral("actions"), true);
    }
}

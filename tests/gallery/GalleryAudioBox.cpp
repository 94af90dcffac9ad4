// The music section of the project page: empty, with three tracks (one playing), and while a
// drop of music files is allowed; in the light and the dark look.

#include "Gallery.h"

#include "model/ProjectFile.h"
#include "model/ProjectItemColor.h"
#include "model/transition/TransitionType.h"
#include "pages/AudioBox.h"
#include "pages/VideoPlayerWidget.h"
#include "uilib/controls/CButton.h"
#include "uilib/style/CDragDrop.h"
#include "uilib/style/CListWidget.h"

#include <QDir>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>

#include <memory>

namespace {

std::unique_ptr<ProjectFile> boxProject()
{
    auto project = std::make_unique<ProjectFile>();
    project->insertItems({new ProjectItemColor(4000, TransitionNone)}, -1);
    project->audio_offset = -2;
    project->audio_fade = 1;
    return project;
}

// A track whose WAV exists, so the panel keeps it.
AudioTrack galleryTrack(const QTemporaryDir& dir, const QString& name, qint64 ms)
{
    AudioTrack track;
    track.fileName = dir.filePath(name + QStringLiteral(".mp3"));
    track.wavFileName = dir.filePath(name + QStringLiteral(".wav"));
    track.duration_ms = ms;
    QFile(track.wavFileName).open(QIODevice::WriteOnly);
    return track;
}

// The box under its preview panel, as on the project page.
struct BoxSheet
{
    BoxSheet()
    {
        box = new AudioBox(&panel, &window);
        box->updateTexts();
        fit();
        window.show();
        settleGallery();
    }

    // As wide as the footer asks.
    void fit()
    {
        const int width = qMax(500, box->sizeHint().width());
        window.resize(width + 20, 260);
        box->setGeometry(10, 10, width, 240);
    }

    QImage shot(double ratio = 1.0)
    {
        fit();
        settleGallery();
        return renderWidget(&window, ratio);
    }

    QWidget window;
    VideoPlayerWidget panel;
    AudioBox* box;
};

} // namespace

TY_GALLERY_ENTRY("audio-box")
{
    QTemporaryDir dir;
    for (bool dark : {false, true}) {
        useAppStyle(dark);
        ManualAnimationClock clock;
        {
            BoxSheet sheet;
            clock.advance(1000);
            page.add(sheet.shot(), QStringLiteral("empty"), dark);
        }
        {
            auto project = boxProject();
            project->audio_files = {galleryTrack(dir, QStringLiteral("Morning walk"), 185000),
                                    galleryTrack(dir, QStringLiteral("A very long name of a song recorded live "
                                                                     "at the summer festival by the lake"),
                                                 3725000),
                                    galleryTrack(dir, QStringLiteral("<i>Finale &amp; coda"), 59500)};
            BoxSheet sheet;
            sheet.panel.setProject(project.get());
            sheet.box->setProject(project.get());
            settleGallery();
            // The look of a playing row, without an audio device.
            auto* rows = sheet.box->list()->dragDrop()->layout();
            if (auto* row = dynamic_cast<AudioBox::RowWidget*>(rows->itemAt(1)->widget()))
                row->playButton()->setChecked(true);
            clock.advance(1000);
            page.add(sheet.shot(), QStringLiteral("tracks"), dark);
            page.add(sheet.shot(2.0), QStringLiteral("tracks"), dark, 2.0);
        }
        {
            auto project = boxProject();
            BoxSheet sheet;
            sheet.panel.setProject(project.get());
            sheet.box->setProject(project.get());
            settleGallery();
            const QString song = dir.filePath(QStringLiteral("Dropped song.mp3"));
            QFile(song).open(QIODevice::WriteOnly);
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile(song)});
            QWidget* content = sheet.box->list()->widget();
            const QPoint point(content->width() / 2, 10);
            QDragEnterEvent enter(point, Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(content, &enter);
            QDragMoveEvent move(point, Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(content, &move);
            clock.advance(1000);
            page.add(sheet.shot(), QStringLiteral("drop"), dark);
            QDragLeaveEvent leave;
            QApplication::sendEvent(content, &leave);
        }
    }
}

// The preview panel's toolbar controls under TyStyle: the play button stopped and playing, and
// the volume popup with its slider.

#include "Gallery.h"
#include "GalleryTyStyle.h"

#include "pages/VideoPlayerWidget.h"
#include "pages/VolumeButton.h"
#include "uilib/controls/CButton.h"
#include "uilib/controls/CWindowMenu.h"

TY_GALLERY_ENTRY("preview-panel-controls")
{
    useTyStyle();
    ManualAnimationClock clock;
    VideoPlayerWidget::Toolbar toolbar;
    toolbar.resize(460, 40);
    toolbar.show();
    QCoreApplication::processEvents();
    CButton* play = toolbar.playButton();
    clock.advance(1000);
    page.add(renderWidget(play, 1.0), QStringLiteral("play"), true);
    play->setChecked(true);
    clock.advance(1000);
    page.add(renderWidget(play, 1.0), QStringLiteral("playing"), true);
    page.add(renderWidget(play, 2.0), QStringLiteral("playing"), true, 2.0);

    VolumeButton* volume = toolbar.volumeButton();
    volume->setVolume(60);
    CWindowMenu* popup = volume->popup();
    popup->show();
    clock.advance(1000);
    QCoreApplication::processEvents();
    page.add(renderWidget(popup, 1.0), QStringLiteral("volume popup"), true);
    page.add(renderWidget(popup, 2.0), QStringLiteral("volume popup"), true, 2.0);
    popup->hide();
}

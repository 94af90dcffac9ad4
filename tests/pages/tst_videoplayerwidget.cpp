#include <QtTest>

#include "app/audio/AudioFilesController.h"
#include "app/audio/Mp3.h"
#include "model/ProjectFile.h"
#include "model/ProjectItemColor.h"
#include "model/TimeText.h"
#include "model/transition/TransitionType.h"
#include "pages/InterfaceText.h"
#include "pages/VideoPlayer.h"
#include "pages/VideoPlayerWidget.h"
#include "pages/VolumeButton.h"
#include "support/FakeAudioPlayer.h"
#include "support/PreviewProjects.h"
#include "uilib/controls/CButton.h"
#include "uilib/controls/CSlider.h"
#include "uilib/controls/CWidgetText.h"
#include "uilib/style/CAnimateionProp.h"

#include <memory>

namespace {

constexpr int kWaitMs = 20000;

// A panel whose music goes to a fake player.
struct Panel
{
    Panel()
    {
        panel.setMusicPlayerFactory([this](QObject* parent) {
            fake = new FakeAudioPlayer;
            return new Mp3(fake, parent);
        });
        panel.resize(600, 400);
    }
    // One track of the given length whose WAV exists.
    AudioTrack track(qint64 ms)
    {
        AudioTrack track;
        track.fileName = dir.filePath(QStringLiteral("a.mp3"));
        track.wavFileName = dir.filePath(QStringLiteral("a.wav"));
        track.duration_ms = ms;
        QFile wav(track.wavFileName);
        wav.open(QIODevice::WriteOnly);
        return track;
    }

    QTemporaryDir dir;
    FakeAudioPlayer* fake = nullptr;
    VideoPlayerWidget panel;
};

// Shown or on its way in, whatever the fade has reached.
bool offered(CAnimationShow2* overlay)
{
    auto* animator = overlay->visibilityAnimator();
    return animator && animator->position() == CAnimateionProp::End;
}

} // namespace

// The preview panel: titles, seeking, the repeat actions, the spinner and the music.
class TestVideoPlayerWidget : public QObject
{
    Q_OBJECT

private slots:
    void titles();
    void playPreviewNeedsAProject();
    void sliderSeeks();
    void overlayAfterASlidePreview();
    void positionLabelKeepsItsWidth();
    void spinnerDuringAStall();
    void audioChangedWritesBack();
    void volumeReachesTheMusic();
};

void TestVideoPlayerWidget::titles()
{
    auto project = colourProject(3, 1000);
    Panel p;
    p.panel.setProject(project.get());
    p.panel.playPreview(-1, QString(), false);
    QCOMPARE(p.panel.titleLabel()->text(), QStringLiteral("Полный предпросмотр"));
    QVERIFY(p.panel.toolbar()->playButton()->isChecked());
    p.panel.playPreview(1, QStringLiteral("2"), false);
    QCOMPARE(p.panel.titleLabel()->text(), QStringLiteral("Просмотр перехода к слайду 2"));
    p.panel.stop();
}

void TestVideoPlayerWidget::playPreviewNeedsAProject()
{
    Panel p;
    p.panel.playPreview(-1, QString(), false);
    QVERIFY(!p.panel.startTimer()->isActive());
    QVERIFY(p.panel.titleLabel()->text().isEmpty());
}

void TestVideoPlayerWidget::sliderSeeks()
{
    auto project = colourProject(1, 10000);
    Panel p;
    p.panel.setProject(project.get());
    QCOMPARE(p.panel.toolbar()->slider()->maximum(), 100);
    p.panel.playPreview(-1, QString(), false);
    QCOMPARE(p.panel.player()->duration(), 10000);
    QSignalSpy positions(p.panel.player(), &VideoPlayer::onPositionChanged);
    p.panel.toolbar()->slider()->setValue(50);
    QCOMPARE(p.panel.player()->position(), 5000);
    QCOMPARE(positions.last().at(0).toLongLong(), 5000);
    QCOMPARE(p.panel.toolbar()->positionLabel()->text(), msecsToMinSecText(5000));
    p.panel.stop();
}

void TestVideoPlayerWidget::overlayAfterASlidePreview()
{
    auto project = colourProject(3, 300);
    Panel p;
    p.panel.show();
    p.panel.setProject(project.get());
    auto* overlay = p.panel.actionsOverlay();
    p.panel.playPreview(1, QStringLiteral("2"), false);
    QVERIFY(QTest::qWaitFor([&] { return p.panel.player()->isPlaying(); }, kWaitMs));
    // A preview being set up never offers the actions, though it stops the one playing.
    p.panel.playPreview(1, QStringLiteral("2"), false);
    QVERIFY(!p.panel.player()->isActive());
    QVERIFY(!offered(overlay));
    QVERIFY(QTest::qWaitFor([&] { return p.panel.player()->isPlaying(); }, kWaitMs));
    p.panel.player()->stop();
    QVERIFY(offered(overlay));
    QVERIFY(overlay->isVisible());
    QVERIFY(overlay->repeatTransitionButton()->isVisible());
    QVERIFY(overlay->repeatAllButton()->isVisible());
    QVERIFY(!p.panel.toolbar()->playButton()->isChecked());

    emit overlay->repeatTransitionButton()->clicked();
    QVERIFY(p.panel.startTimer()->isActive());
    QCOMPARE(p.panel.titleLabel()->text(),
             QStringLiteral("Просмотр перехода к слайду %1").arg(project->itemNumberText(project->item(1))));
    QCOMPARE(p.panel.player()->duration(), project->item(1)->duration(0));
    p.panel.stop();
}

void TestVideoPlayerWidget::positionLabelKeepsItsWidth()
{
    auto project = colourProject(2, 30000);
    Panel p;
    p.panel.setProject(project.get());
    CWidgetText* label = p.panel.toolbar()->positionLabel();
    const int width = label->width();
    QCOMPARE(width, label->fontMetrics().horizontalAdvance(QStringLiteral("00:00")));
    for (qint64 ms : {0, 1000, 11000, 59000}) {
        emit p.panel.player()->onPositionChanged(ms);
        QCOMPARE(label->width(), width);
    }
}

void TestVideoPlayerWidget::spinnerDuringAStall()
{
    Panel p;
    p.panel.show();
    auto* spinner = p.panel.spinner();
    emit p.panel.player()->generatingStarted();
    QVERIFY(spinner->isVisible());
    emit p.panel.player()->generatingFinished();
    QTimer* hide = p.panel.spinnerHideTimer();
    QVERIFY(hide->isActive());
    QCOMPARE(hide->interval(), 300);
    // A new stall before the time-out keeps it.
    emit p.panel.player()->generatingStarted();
    QVERIFY(!hide->isActive());
    emit p.panel.player()->generatingFinished();
    QVERIFY(QTest::qWaitFor([&] { return !spinner->isVisible(); }, kWaitMs));
}

void TestVideoPlayerWidget::audioChangedWritesBack()
{
    auto project = colourProject(2, 1000);
    Panel p;
    p.panel.setProject(project.get());
    AudioFilesController* list = p.panel.audioFiles();
    list->setTracks({p.track(3000)});
    list->setOffset(2);
    list->setFade(1);
    list->setLoop(true);
    QCOMPARE(project->audio_files.size(), 1);
    QCOMPARE(project->audio_files.first().duration_ms, 3000);
    QCOMPARE(project->audio_offset, 2);
    QCOMPARE(project->audio_fade, 1);
    QVERIFY(project->audio_loop);
    QVERIFY(p.panel.musicPlayer()->isLoaded());
}

void TestVideoPlayerWidget::volumeReachesTheMusic()
{
    auto project = colourProject(2, 1000);
    Panel p;
    project->audio_files = {p.track(3000)};
    p.panel.setProject(project.get());
    QVERIFY(p.panel.musicPlayer()->isLoaded());
    VolumeButton* volume = p.panel.toolbar()->volumeButton();
    emit volume->volumeChanged(40);
    QCOMPARE(p.fake->volume(), 40);
    p.panel.setMusicEnabled(false);
    emit volume->volumeChanged(60);
    QCOMPARE(p.fake->volume(), 0);
}

QTEST_MAIN(TestVideoPlayerWidget)
#include "tst_videoplayerwidget.moc"

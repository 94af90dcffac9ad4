#include <QtTest>

#include "model/ProjectFile.h"
#include "model/ProjectItem.h"
#include "model/ProjectItemColor.h"
#include "model/SlideInterfaces.h"
#include "model/transition/TransitionType.h"
#include "pages/VideoPlayer.h"
#include "support/PreviewProjects.h"

#include <memory>

namespace {

constexpr int kWaitMs = 20000;

QImage picture(Qt::GlobalColor color)
{
    QImage image(32, 24, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

// A player on a clock the test moves.
struct DrivenPlayer
{
    DrivenPlayer() { player.setClock([this] { return now; }); }
    void tickAfter(qint64 ms)
    {
        now += ms;
        player.tick();
    }

    qint64 now = 1000000;
    VideoPlayer player;
};

} // namespace

// The preview clock, its pauses and stills, and the end of the frames.
class TestVideoPlayer : public QObject
{
    Q_OBJECT

private slots:
    void tickStep_data();
    void tickStep();
    void pauseAddsNothing();
    void playWhilePausedDoesNothing();
    void showImage();
    void pausedThenAnotherSlideStops();
    void clearStopsAPausedPlayer();
    void durations_data();
    void durations();
    void endOfFramesStops();
    void onlyHiddenTitleStopsAtOnce();
    void leftPressClicks();
};

void TestVideoPlayer::tickStep_data()
{
    QTest::addColumn<qint64>("gap");
    QTest::addColumn<qint64>("step");
    QTest::newRow("timer period") << qint64(20) << qint64(20);
    QTest::newRow("500 ms stall counts whole") << qint64(500) << qint64(500);
    QTest::newRow("600 ms stall counts 50") << qint64(600) << qint64(50);
    QTest::newRow("clock set back counts 50") << qint64(-3000) << qint64(50);
    QTest::newRow("same moment") << qint64(0) << qint64(0);
}

void TestVideoPlayer::tickStep()
{
    QFETCH(qint64, gap);
    QFETCH(qint64, step);
    DrivenPlayer d;
    QSignalSpy positions(&d.player, &VideoPlayer::onPositionChanged);
    d.player.play();
    d.tickAfter(100);
    d.tickAfter(gap);
    QCOMPARE(d.player.position(), 100 + step);
    QCOMPARE(positions.last().at(0).toLongLong(), 100 + step);
}

void TestVideoPlayer::pauseAddsNothing()
{
    DrivenPlayer d;
    d.player.play();
    d.tickAfter(40);
    d.player.setPaused(true);
    QVERIFY(d.player.isActive());
    QVERIFY(!d.player.isPlaying());
    d.tickAfter(10000);
    QCOMPARE(d.player.position(), 40);
    d.now += 300;
    d.player.setPaused(false);
    d.tickAfter(20);
    QCOMPARE(d.player.position(), 60);
}

void TestVideoPlayer::playWhilePausedDoesNothing()
{
    DrivenPlayer d;
    QSignalSpy started(&d.player, &VideoPlayer::started);
    d.player.play();
    d.tickAfter(80);
    d.player.setPaused(true);
    d.player.play();
    QVERIFY(d.player.isPaused());
    QCOMPARE(d.player.position(), 80);
    QCOMPARE(started.count(), 1);
}

void TestVideoPlayer::showImage()
{
    DrivenPlayer d;
    QSignalSpy stopped(&d.player, &VideoPlayer::stopped);
    d.player.play();
    d.player.showImage(picture(Qt::red));
    QVERIFY(d.player.stillImage().isNull());
    QVERIFY(d.player.isPlaying());

    d.player.setPaused(true);
    d.player.showImage(picture(Qt::red));
    QVERIFY(!d.player.isActive());
    QCOMPARE(stopped.count(), 1);
    QCOMPARE(d.player.stillImage(), picture(Qt::red));
}

// The slide preview's steps: clear, a new project, then the slide's picture.
void TestVideoPlayer::pausedThenAnotherSlideStops()
{
    auto project = colourProject(3, 1000);
    DrivenPlayer d;
    d.player.setProject(project.get(), project->item(0), false);
    d.player.play();
    d.tickAfter(20);
    d.player.setPaused(true);

    d.player.clear();
    d.player.setProject(project.get(), project->item(2), false);
    d.player.showImage(picture(Qt::blue));
    QVERIFY(!d.player.isActive());
    QVERIFY(!d.player.isPaused());
    QCOMPARE(d.player.stillImage(), picture(Qt::blue));
}

void TestVideoPlayer::clearStopsAPausedPlayer()
{
    DrivenPlayer d;
    QSignalSpy stopped(&d.player, &VideoPlayer::stopped);
    d.player.play();
    d.player.setPaused(true);
    d.player.clear();
    QVERIFY(!d.player.isActive());
    QCOMPARE(stopped.count(), 1);
}

void TestVideoPlayer::durations_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<bool>("captionOnly");
    QTest::newRow("whole show") << -1 << false;
    QTest::newRow("one slide") << 1 << false;
    QTest::newRow("one caption") << 1 << true;
}

void TestVideoPlayer::durations()
{
    QFETCH(int, item);
    QFETCH(bool, captionOnly);
    auto project = colourProject(0, 0);
    project->transition_time_ms = 500;
    for (int i = 0; i < 3; ++i)
        project->insertItems({new ProjectItemColor(1500, TransitionCrossfade)}, -1);
    ProjectItem* slide = item < 0 ? nullptr : project->item(item);
    const qint64 expected = !slide       ? project->totalDuration()
                            : captionOnly ? slide->textAnimationDuration()
                                          : slide->duration(500);
    VideoPlayer player;
    QSignalSpy durations(&player, &VideoPlayer::durationChanged);
    player.setProject(project.get(), slide, captionOnly);
    // Only a change is announced.
    const int changes = expected == 0 ? 0 : 1;
    QCOMPARE(player.duration(), expected);
    QCOMPARE(durations.count(), changes);
    player.setProject(project.get(), slide, captionOnly);
    QCOMPARE(durations.count(), changes);
    player.clear();
    QCOMPARE(player.duration(), 0);
    QCOMPARE(durations.count(), 2 * changes);
}

// Past the last frame the player stops by itself.
void TestVideoPlayer::endOfFramesStops()
{
    auto project = colourProject(1, 300);
    DrivenPlayer d;
    d.player.resize(160, 120);
    QSignalSpy stopped(&d.player, &VideoPlayer::stopped);
    QSignalSpy positions(&d.player, &VideoPlayer::onPositionChanged);
    d.player.setProject(project.get(), nullptr, false);
    d.player.play();
    d.player.setPosition(5000);
    QVERIFY(QTest::qWaitFor([&] { d.player.grab(); return !stopped.isEmpty(); }, kWaitMs));
    QCOMPARE(positions.last().at(0).toLongLong(), 0);
    QVERIFY(!d.player.isActive());
    QVERIFY(!d.player.isGenerating());
}

void TestVideoPlayer::onlyHiddenTitleStopsAtOnce()
{
    ProjectFile project(2000);
    auto* title = dynamic_cast<IStarterItem*>(project.item(0));
    QVERIFY(title);
    title->setVisible(false);
    DrivenPlayer d;
    d.player.resize(160, 120);
    QSignalSpy stopped(&d.player, &VideoPlayer::stopped);
    d.player.setProject(&project, nullptr, false);
    d.player.play();
    d.player.grab();
    QCOMPARE(stopped.count(), 1);
    QVERIFY(!d.player.isGenerating());
}

void TestVideoPlayer::leftPressClicks()
{
    VideoPlayer player;
    player.resize(100, 80);
    QSignalSpy clicked(&player, &VideoPlayer::playerClicked);
    QTest::mouseClick(&player, Qt::RightButton);
    QCOMPARE(clicked.count(), 0);
    QTest::mouseClick(&player, Qt::LeftButton);
    QCOMPARE(clicked.count(), 1);
    player.setEnabled(false);
    QTest::mouseClick(&player, Qt::LeftButton);
    QCOMPARE(clicked.count(), 1);
}

QTEST_MAIN(TestVideoPlayer)
#include "tst_videoplayer.moc"

#include <QtTest>

#include "model/ProjectFile.h"
#include "model/ProjectItemColor.h"
#include "model/transition/TransitionType.h"
#include "pages/PreviewMusic.h"

using PreviewMusic::Window;

Q_DECLARE_METATYPE(Window)

// The music of a preview against its clock: positions, window and fades.
class TestPreviewMusic : public QObject
{
    Q_OBJECT

private slots:
    void musicPosition_data();
    void musicPosition();
    void slideStart();
    void musicWindow_data();
    void musicWindow();
    void fadeVolume_data();
    void fadeVolume();
    void percent_data();
    void percent();
};

void TestPreviewMusic::musicPosition_data()
{
    QTest::addColumn<qint64>("clock");
    QTest::addColumn<qint64>("slideStart");
    QTest::addColumn<int>("offset");
    QTest::addColumn<qint64>("expected");
    QTest::newRow("whole show") << qint64(1500) << qint64(0) << 0 << qint64(1500);
    QTest::newRow("before the offset: not begun") << qint64(1500) << qint64(0) << 2 << qint64(-500);
    QTest::newRow("at the offset") << qint64(2000) << qint64(0) << 2 << qint64(0);
    QTest::newRow("slide adds its start") << qint64(250) << qint64(6000) << 2 << qint64(4250);
    QTest::newRow("negative offset skips in") << qint64(0) << qint64(0) << -4 << qint64(4000);
    QTest::newRow("slide gone") << qint64(250) << qint64(-1) << 0 << qint64(-1);
}

void TestPreviewMusic::musicPosition()
{
    QFETCH(qint64, clock);
    QFETCH(qint64, slideStart);
    QFETCH(int, offset);
    QFETCH(qint64, expected);
    QCOMPARE(PreviewMusic::musicPosition(clock, slideStart, offset), expected);
}

void TestPreviewMusic::slideStart()
{
    ProjectFile project;
    project.transition_time_ms = 0;
    for (int i = 0; i < 3; ++i)
        project.insertItems({new ProjectItemColor(2000, TransitionNone)}, -1);
    QCOMPARE(PreviewMusic::slideStart(project, nullptr), 0);
    QCOMPARE(PreviewMusic::slideStart(project, project.item(2)), project.startTimeOf(project.item(2)));
    QVERIFY(PreviewMusic::slideStart(project, project.item(2)) > 0);
    ProjectItemColor other(2000, TransitionNone);
    QCOMPARE(PreviewMusic::slideStart(project, &other), -1);
}

void TestPreviewMusic::musicWindow_data()
{
    QTest::addColumn<qint64>("show");
    QTest::addColumn<qint64>("music");
    QTest::addColumn<bool>("loop");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("fade");
    QTest::addColumn<qint64>("fadeInEnd");
    QTest::addColumn<qint64>("fadeOutStart");
    QTest::newRow("short music, no loop") << qint64(20000) << qint64(12000) << false << 0 << 2
                                          << qint64(2000) << qint64(10000);
    QTest::newRow("short music, loop") << qint64(20000) << qint64(12000) << true << 0 << 2
                                       << qint64(2000) << qint64(18000);
    QTest::newRow("offset delays both") << qint64(20000) << qint64(12000) << false << 2 << 1
                                        << qint64(3000) << qint64(13000);
    QTest::newRow("long music ends with the show") << qint64(20000) << qint64(60000) << false << 0 << 2
                                                   << qint64(2000) << qint64(18000);
    QTest::newRow("negative offset: fade from 0") << qint64(20000) << qint64(12000) << false << -4 << 1
                                                  << qint64(1000) << qint64(7000);
    QTest::newRow("no fade") << qint64(20000) << qint64(60000) << false << 0 << 0
                             << qint64(0) << qint64(20000);
}

void TestPreviewMusic::musicWindow()
{
    QFETCH(qint64, show);
    QFETCH(qint64, music);
    QFETCH(bool, loop);
    QFETCH(int, offset);
    QFETCH(int, fade);
    QFETCH(qint64, fadeInEnd);
    QFETCH(qint64, fadeOutStart);
    const Window window = PreviewMusic::musicWindow(show, music, loop, offset, fade);
    QCOMPARE(window.fadeInEnd, fadeInEnd);
    QCOMPARE(window.fadeOutStart, fadeOutStart);
}

void TestPreviewMusic::fadeVolume_data()
{
    QTest::addColumn<Window>("window");
    QTest::addColumn<int>("fade");
    QTest::addColumn<int>("volume");
    QTest::addColumn<qint64>("at");
    QTest::addColumn<int>("expected");
    // Offset 2 s, fade 1 s over a 20-s show with long music.
    const Window in{3000, 19000};
    QTest::newRow("before the music") << in << 1 << 100 << qint64(1000) << 0;
    QTest::newRow("music begins silent") << in << 1 << 100 << qint64(2000) << 0;
    QTest::newRow("quarter way") << in << 1 << 100 << qint64(2250) << 25;
    QTest::newRow("half way") << in << 1 << 100 << qint64(2500) << 50;
    QTest::newRow("half way, half rounds up") << in << 1 << 99 << qint64(2500) << 49;
    QTest::newRow("full at 3.0 s") << in << 1 << 100 << qint64(3000) << 100;
    QTest::newRow("full between") << in << 1 << 80 << qint64(10000) << 80;
    // 20-s show, 12 s of music, no loop, offset 0, fade 2 s.
    const Window out{2000, 10000};
    QTest::newRow("fade-out starts at 10 s") << out << 2 << 100 << qint64(10000) << 100;
    QTest::newRow("fade-out at 11 s") << out << 2 << 100 << qint64(11000) << 50;
    QTest::newRow("silent at 12 s") << out << 2 << 100 << qint64(12000) << 0;
    QTest::newRow("past the music never below 0") << out << 2 << 100 << qint64(15000) << 0;
    // Without a fade the music is on inside the window only.
    const Window flat{3000, 8000};
    QTest::newRow("no fade, before") << flat << 0 << 70 << qint64(2999) << 0;
    QTest::newRow("no fade, first edge") << flat << 0 << 70 << qint64(3000) << 70;
    QTest::newRow("no fade, last edge") << flat << 0 << 70 << qint64(8000) << 70;
    QTest::newRow("no fade, after") << flat << 0 << 70 << qint64(8001) << 0;
    QTest::newRow("no window: unchanged") << Window{0, 20000} << 0 << 70 << qint64(100) << -1;
    QTest::newRow("unset window: unchanged") << Window{} << 2 << 70 << qint64(100) << -1;
}

void TestPreviewMusic::fadeVolume()
{
    QFETCH(Window, window);
    QFETCH(int, fade);
    QFETCH(int, volume);
    QFETCH(qint64, at);
    QFETCH(int, expected);
    QCOMPARE(PreviewMusic::fadeVolume(at, window, fade, volume), expected);
}

void TestPreviewMusic::percent_data()
{
    QTest::addColumn<qint64>("position");
    QTest::addColumn<qint64>("duration");
    QTest::addColumn<int>("expected");
    QTest::newRow("start") << qint64(0) << qint64(10000) << 0;
    QTest::newRow("below half rounds down") << qint64(49) << qint64(10000) << 0;
    QTest::newRow("half rounds up") << qint64(50) << qint64(10000) << 1;
    QTest::newRow("half") << qint64(5000) << qint64(10000) << 50;
    QTest::newRow("end") << qint64(10000) << qint64(10000) << 100;
    QTest::newRow("no duration") << qint64(400) << qint64(0) << 0;
}

void TestPreviewMusic::percent()
{
    QFETCH(qint64, position);
    QFETCH(qint64, duration);
    QFETCH(int, expected);
    QCOMPARE(PreviewMusic::percentOf(position, duration), expected);
    QCOMPARE(PreviewMusic::clockAtPercent(10000, 50), 5000);
    QCOMPARE(PreviewMusic::clockAtPercent(999, 50), 499);
}

QTEST_MAIN(TestPreviewMusic)
#include "tst_previewmusic.moc"

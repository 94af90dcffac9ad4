#include <QtTest>

#include "app/GeneratorThread.h"
#include "model/ProjectFile.h"
#include "model/ProjectItemColor.h"
#include "model/SlideBackground.h"
#include "model/transition/TransitionType.h"
#include "support/AppTestSupport.h"

#include <memory>

namespace {

constexpr qint64 kPeriod = GeneratorThread::FramePeriod;
constexpr int kWaitMs = 20000;
// Longer than the queue holds: 20 s at 15 frames per second.
constexpr int kLongSlideMs = 20000;

// A project of plain colour slides without transitions, one per background index.
std::unique_ptr<ProjectFile> colourProject(const QList<int>& backgrounds, int time_ms,
                                           const Resolution& resolution = Resolution(1024, 768))
{
    auto project = std::make_unique<ProjectFile>();
    project->resolution = resolution;
    project->transition_time_ms = 0;
    for (int background : backgrounds) {
        auto* slide = new ProjectItemColor(time_ms, TransitionNone);
        slide->setBgIndex(background);
        project->insertItems({slide}, -1);
    }
    return project;
}

QColor centreOf(const QImage& frame)
{
    return frame.pixelColor(frame.width() / 2, frame.height() / 2);
}

QColor background(int index)
{
    return QColor(backgroundColorName(index));
}

// Waits for the first frame of the pass; false when none came.
bool waitForFirstFrame(GeneratorThread& thread, QImage* frame = nullptr)
{
    QImage first;
    const bool came = QTest::qWaitFor([&] { return !(first = thread.frameAt(0)).isNull(); }, kWaitMs);
    if (frame)
        *frame = first;
    return came;
}

} // namespace

// The preview frames of a small colour project drawn ahead into the bounded queue.
class TestGeneratorThread : public QObject
{
    Q_OBJECT

private slots:
    void framesOfTheirTime();
    void startSlide_data();
    void startSlide();
    void finishedAfterTheLastFrame();
    void generateDuringAPassStartsAfresh();
    void neverHangs_data();
    void neverHangs();
};

void TestGeneratorThread::framesOfTheirTime()
{
    auto project = colourProject({2, 3}, 1000, Resolution(1920, 1080));
    GeneratorThread thread;
    QSignalSpy finished(&thread, &GeneratorThread::finished);
    thread.generate(project.get(), nullptr, false, false);
    QVERIFY(finished.wait(kWaitMs));

    // Before the first frame: nothing, and nothing dropped.
    bool done = false;
    QVERIFY(thread.frameAt(-1, &done).isNull());
    QVERIFY(done);
    const QImage first = thread.frameAt(0);
    QCOMPARE(first.width(), 460);
    QVERIFY(qAbs(first.height() - 259) <= 1);
    QCOMPARE(centreOf(first), background(2));
    // The same frame serves its whole span.
    QCOMPARE(thread.frameAt(kPeriod), first);

    // Far ahead: the outdated frames go, the one whose span holds the position stays.
    const QImage later = thread.frameAt(20 * kPeriod + 1);
    QCOMPARE(centreOf(later), background(3));
    QVERIFY(thread.frameAt(19 * kPeriod).isNull());
    QCOMPARE(thread.frameAt(20 * kPeriod + 2), later);
    // Past the end nothing is left.
    QVERIFY(thread.frameAt(100 * kTicksPerSecond).isNull());
    QVERIFY(thread.frameAt(20 * kPeriod).isNull());
}

void TestGeneratorThread::startSlide_data()
{
    QTest::addColumn<int>("from"); // slide index, -1 for none, -2 for a slide of another project
    QTest::addColumn<int>("expected");
    QTest::newRow("beginning") << -1 << 4;
    QTest::newRow("second slide") << 1 << 5;
    QTest::newRow("slide of another project") << -2 << 4;
}

void TestGeneratorThread::startSlide()
{
    QFETCH(int, from);
    QFETCH(int, expected);
    auto project = colourProject({4, 5}, 1000);
    auto other = colourProject({6}, 1000);
    ProjectItem* item = from >= 0 ? project->item(from) : from == -2 ? other->item(0) : nullptr;
    GeneratorThread thread;
    QSignalSpy finished(&thread, &GeneratorThread::finished);
    thread.generate(project.get(), item, item != nullptr, false);
    // The pass draws its own copy.
    project.reset();
    QVERIFY(finished.wait(kWaitMs));
    QCOMPARE(centreOf(thread.frameAt(0)), background(expected));
}

void TestGeneratorThread::finishedAfterTheLastFrame()
{
    auto project = colourProject({7}, kLongSlideMs);
    GeneratorThread thread;
    QSignalSpy finished(&thread, &GeneratorThread::finished);
    thread.generate(project.get(), nullptr, false, false);
    QVERIFY(waitForFirstFrame(thread));

    // The queue fills and the drawing waits until frames are taken.
    bool done = true;
    thread.frameAt(0, &done);
    QVERIFY(!done);
    QCOMPARE(finished.count(), 0);
    // Playing takes the frames: the drawing goes on to the end.
    for (qint64 position = 0; !done; position += kPeriod)
        QTRY_VERIFY_WITH_TIMEOUT(!thread.frameAt(position, &done).isNull() || done, kWaitMs);
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, kWaitMs);
}

void TestGeneratorThread::generateDuringAPassStartsAfresh()
{
    auto first = colourProject({8}, kLongSlideMs);
    auto second = colourProject({9}, 500);
    GeneratorThread thread;
    thread.generate(first.get(), nullptr, false, false);
    QVERIFY(waitForFirstFrame(thread));
    {
        HangWatchdog watchdog(kWaitMs, "generate on a full queue");
        thread.generate(second.get(), nullptr, false, false);
    }
    QImage frame;
    QVERIFY(waitForFirstFrame(thread, &frame));
    QCOMPARE(centreOf(frame), background(9));
}

void TestGeneratorThread::neverHangs_data()
{
    QTest::addColumn<int>("passes");
    QTest::addColumn<bool>("waitForAFullQueue");
    QTest::addColumn<bool>("stopAtOnce");
    QTest::newRow("stop before the pass runs") << 1 << false << true;
    QTest::newRow("generate, generate, stop") << 2 << false << true;
    QTest::newRow("many passes, then destruction") << 20 << false << false;
    QTest::newRow("destruction with a full queue") << 1 << true << false;
    QTest::newRow("stop with a full queue") << 1 << true << true;
}

void TestGeneratorThread::neverHangs()
{
    QFETCH(int, passes);
    QFETCH(bool, waitForAFullQueue);
    QFETCH(bool, stopAtOnce);
    auto project = colourProject({10, 11}, kLongSlideMs);
    HangWatchdog watchdog(kWaitMs, QTest::currentDataTag());
    auto thread = std::make_unique<GeneratorThread>();
    for (int i = 0; i < passes; ++i)
        thread->generate(project.get(), project->item(i % 2), false, false);
    if (waitForAFullQueue)
        QVERIFY(waitForFirstFrame(*thread));
    if (stopAtOnce) {
        thread->stop();
        QVERIFY(!thread->isRunning());
        bool done = false;
        thread->frameAt(0, &done);
        QVERIFY(done);
    }
    thread.reset();
}

QTEST_MAIN(TestGeneratorThread)
#include "tst_generatorthread.moc"

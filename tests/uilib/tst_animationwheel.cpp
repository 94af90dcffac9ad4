#include <QtTest>

#include "uilib/style/CAnimationWheel.h"

#include <QAbstractScrollArea>
#include <QScrollBar>
#include <QWheelEvent>

#include <cmath>
#include <memory>

namespace {

constexpr int StepsPerWheelEvent = 24;
constexpr int TickMs = 8;

// A scroll area that notes the wheel events its viewport would see.
class Area : public QAbstractScrollArea
{
public:
    int viewportWheels = 0;

protected:
    bool viewportEvent(QEvent* event) override
    {
        if (event->type() == QEvent::Wheel)
            ++viewportWheels;
        return QAbstractScrollArea::viewportEvent(event);
    }
};

// The angle deltas that reach a scroll bar.
class WheelLog : public QObject
{
public:
    explicit WheelLog(QScrollBar* bar)
    {
        bar->installEventFilter(this);
    }
    QList<QPoint> deltas;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Wheel)
            deltas << static_cast<QWheelEvent*>(event)->angleDelta();
        return false;
    }
};

// The share of each of the 24 steps of one wheel event under the cosine profile.
QList<double> cosineShares(double delta)
{
    QList<double> shares;
    const double half = StepsPerWheelEvent / 2.0;
    for (int step = 0; step < StepsPerWheelEvent; ++step)
        shares << delta * (std::cos(std::abs(step - half) * M_PI / half) + 1.0) / (2.0 * half);
    return shares;
}

// What the bar receives when the steps run in ticks of the given sizes.
QList<int> roundedTicks(const QList<double>& shares, const QList<int>& stepsPerTick)
{
    QList<int> ticks;
    int next = 0;
    for (int steps : stepsPerTick) {
        double sum = 0.0;
        for (int i = 0; i < steps && next < shares.size(); ++i)
            sum += shares.at(next++);
        ticks << int(std::lround(sum));
    }
    return ticks;
}

QList<int> singleSteps(int count)
{
    return QVector<int>(count, 1).toList();
}

} // namespace

class TestAnimationWheel : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void oneNotchSpreadsOverTwentyFourSteps();
    void fastWheelGetsFullAcceleration();
    void olderEventsStopCounting_data();
    void olderEventsStopCounting();
    void lateTickQuadruplesTheRest();
    void lateTicksStayBounded();
    void orientation_data();
    void orientation();
    void noRangeSendsNothing();
    void scrollBarsMove();

private:
    void wheel(const QPoint& angle);
    // Ticks every TickMs until the run ends; the vertical bar's deltas.
    QList<int> runToEnd(WheelLog* log = nullptr);

    std::unique_ptr<Area> m_area;
    CAnimationWheel* m_wheel = nullptr;
    std::unique_ptr<WheelLog> m_vertical;
    std::unique_ptr<WheelLog> m_horizontal;
    qint64 m_now = 0;
};

void TestAnimationWheel::initTestCase()
{
    QApplication::setWheelScrollLines(3);
}

void TestAnimationWheel::init()
{
    m_area = std::make_unique<Area>();
    m_area->resize(200, 200);
    m_area->verticalScrollBar()->setRange(0, 1000);
    m_area->horizontalScrollBar()->setRange(0, 1000);
    m_now = 100000;
    m_wheel = new CAnimationWheel(m_area.get());
    m_wheel->setClock([this] { return m_now; });
    m_vertical = std::make_unique<WheelLog>(m_area->verticalScrollBar());
    m_horizontal = std::make_unique<WheelLog>(m_area->horizontalScrollBar());
}

void TestAnimationWheel::cleanup()
{
    QCOMPARE(m_area->viewportWheels, 0);
    m_vertical.reset();
    m_horizontal.reset();
    m_area.reset();
}

void TestAnimationWheel::wheel(const QPoint& angle)
{
    QWheelEvent event(QPointF(50, 50), QPointF(150, 150), QPoint(), angle, Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(m_area->viewport(), &event);
    QVERIFY(event.isAccepted());
}

QList<int> TestAnimationWheel::runToEnd(WheelLog* log)
{
    log = log ? log : m_vertical.get();
    const int before = log->deltas.size();
    for (int ticks = 0; m_wheel->isRunning() && ticks < 1000; ++ticks) {
        m_now += TickMs;
        m_wheel->tick();
    }
    [this] { QVERIFY(!m_wheel->isRunning()); }();
    QList<int> deltas;
    for (int i = before; i < log->deltas.size(); ++i) {
        const QPoint angle = log->deltas.at(i);
        deltas << angle.x() + angle.y();
    }
    return deltas;
}

void TestAnimationWheel::oneNotchSpreadsOverTwentyFourSteps()
{
    wheel(QPoint(0, 120));
    // 120 units at three lines a notch, with one fifteenth of the acceleration.
    const double delta = 40.0 * (1.0 + 2.5 / 15.0);
    const QList<double> shares = cosineShares(delta);
    QCOMPARE(std::accumulate(shares.begin(), shares.end(), 0.0), delta);
    QCOMPARE(int(std::max_element(shares.begin(), shares.end()) - shares.begin()), StepsPerWheelEvent / 2);
    const QList<int> received = runToEnd();
    QCOMPARE(received, roundedTicks(shares, singleSteps(StepsPerWheelEvent)));
    QVERIFY(m_horizontal->deltas.isEmpty());
}

void TestAnimationWheel::fastWheelGetsFullAcceleration()
{
    for (int i = 0; i < 14; ++i)
        wheel(QPoint(0, 120));
    runToEnd();
    // The fifteenth event within 500 ms counts 3.5 times.
    wheel(QPoint(0, 120));
    QCOMPARE(runToEnd(), roundedTicks(cosineShares(40.0 * 3.5), singleSteps(StepsPerWheelEvent)));
}

void TestAnimationWheel::olderEventsStopCounting_data()
{
    QTest::addColumn<int>("gapMs");
    QTest::addColumn<double>("delta");
    QTest::newRow("500 ms apart") << 500 << 40.0 * (1.0 + 2.5 * 2 / 15.0);
    QTest::newRow("501 ms apart") << 501 << 40.0 * (1.0 + 2.5 / 15.0);
}

void TestAnimationWheel::olderEventsStopCounting()
{
    QFETCH(int, gapMs);
    QFETCH(double, delta);
    const qint64 start = m_now;
    wheel(QPoint(0, -120));
    runToEnd();
    m_now = start + gapMs;
    wheel(QPoint(0, -120));
    QCOMPARE(runToEnd(), roundedTicks(cosineShares(-delta), singleSteps(StepsPerWheelEvent)));
}

void TestAnimationWheel::lateTickQuadruplesTheRest()
{
    wheel(QPoint(0, 120));
    m_now += TickMs;
    m_wheel->tick();
    m_now += 40;
    m_wheel->tick();
    runToEnd();
    QList<int> received;
    for (const QPoint& delta : qAsConst(m_vertical->deltas))
        received << delta.y();
    // One step, then four at a time: 1 + 4 x 6 covers the 24 steps.
    const QList<int> expected =
        roundedTicks(cosineShares(40.0 * (1.0 + 2.5 / 15.0)), {1, 4, 4, 4, 4, 4, 4});
    QCOMPARE(received, expected);
}

void TestAnimationWheel::lateTicksStayBounded()
{
    const double delta = 40.0 * (1.0 + 2.5 / 15.0);
    for (int round = 0; round < 40; ++round) {
        m_now += 1000;
        wheel(QPoint(0, 120));
        m_wheel->tick();
        // Each late tick performs at most the steps of one wheel event, which finishes the run.
        m_now += 600;
        m_wheel->tick();
        QVERIFY(!m_wheel->isRunning());
    }
    const QList<int> oneRound = roundedTicks(cosineShares(delta), {1, StepsPerWheelEvent});
    QCOMPARE(m_vertical->deltas.size(), 80);
    for (int i = 0; i < m_vertical->deltas.size(); ++i)
        QCOMPARE(m_vertical->deltas.at(i).y(), oneRound.at(i % 2));
}

void TestAnimationWheel::orientation_data()
{
    QTest::addColumn<QPoint>("angle");
    QTest::addColumn<bool>("swapped");
    QTest::addColumn<int>("verticalRange");
    QTest::addColumn<int>("horizontalRange");
    QTest::addColumn<bool>("toHorizontal");
    QTest::newRow("vertical") << QPoint(0, 120) << false << 1000 << 1000 << false;
    QTest::newRow("horizontal") << QPoint(120, 10) << false << 1000 << 1000 << true;
    QTest::newRow("vertical swapped") << QPoint(0, 120) << true << 1000 << 1000 << true;
    QTest::newRow("horizontal swapped") << QPoint(120, 0) << true << 1000 << 1000 << false;
    QTest::newRow("no vertical range") << QPoint(0, 120) << false << 0 << 1000 << true;
    QTest::newRow("no horizontal range") << QPoint(120, 0) << false << 1000 << 0 << false;
    QTest::newRow("swapped, no horizontal range") << QPoint(0, 120) << true << 1000 << 0 << false;
}

void TestAnimationWheel::orientation()
{
    QFETCH(QPoint, angle);
    QFETCH(bool, swapped);
    QFETCH(int, verticalRange);
    QFETCH(int, horizontalRange);
    QFETCH(bool, toHorizontal);
    m_area->verticalScrollBar()->setMaximum(verticalRange);
    m_area->horizontalScrollBar()->setMaximum(horizontalRange);
    m_wheel->setOrientationSwapped(swapped);
    wheel(angle);
    WheelLog* target = toHorizontal ? m_horizontal.get() : m_vertical.get();
    WheelLog* other = toHorizontal ? m_vertical.get() : m_horizontal.get();
    const QList<int> received = runToEnd(target);
    QCOMPARE(received, roundedTicks(cosineShares(40.0 * (1.0 + 2.5 / 15.0)), singleSteps(StepsPerWheelEvent)));
    QVERIFY(other->deltas.isEmpty());
    for (const QPoint& delta : qAsConst(target->deltas))
        QCOMPARE(toHorizontal ? delta.y() : delta.x(), 0);
}

void TestAnimationWheel::noRangeSendsNothing()
{
    m_area->verticalScrollBar()->setMaximum(0);
    m_area->horizontalScrollBar()->setMaximum(0);
    wheel(QPoint(0, 120));
    QVERIFY(m_wheel->isRunning());
    QList<int> ticks;
    for (int i = 0; i < StepsPerWheelEvent && m_wheel->isRunning(); ++i) {
        m_now += TickMs;
        m_wheel->tick();
        ticks << i;
    }
    QCOMPARE(ticks.size(), StepsPerWheelEvent);
    QVERIFY(!m_wheel->isRunning());
    QVERIFY(m_vertical->deltas.isEmpty());
    QVERIFY(m_horizontal->deltas.isEmpty());
}

void TestAnimationWheel::scrollBarsMove()
{
    m_area->verticalScrollBar()->setValue(500);
    wheel(QPoint(0, -120));
    runToEnd();
    QVERIFY(m_area->verticalScrollBar()->value() > 500);
    m_area->horizontalScrollBar()->setValue(500);
    wheel(QPoint(-120, 0));
    runToEnd(m_horizontal.get());
    QVERIFY(m_area->horizontalScrollBar()->value() > 500);
}

QTEST_MAIN(TestAnimationWheel)
#include "tst_animationwheel.moc"

#include "support/UiTestSupport.h"

#include "uilib/style/CAnimateionProp.h"
#include "uilib/style/CAnimationProgress.h"

#include <QPropertyAnimation>
#include <QSignalSpy>

#include <cmath>

namespace {

// A target that counts the writes of its property.
class Target : public QObject
{
    Q_OBJECT
    Q_PROPERTY(double value READ value WRITE setValue)
public:
    double value() const { return m_value; }
    void setValue(double value)
    {
        m_value = value;
        ++writes;
    }
    int writes = 0;

private:
    double m_value = -1.0;
};

AnimationParams params(QEasingCurve::Type forward, int forwardMs, QEasingCurve::Type backward, int backwardMs,
                       double start = 0.0, double end = 1.0)
{
    return AnimationParams{forward, forwardMs, backward, backwardMs, start, end};
}

// The palette's hover animation: out fast, back slowly.
AnimationParams hoverParams()
{
    return params(QEasingCurve::OutCubic, 200, QEasingCurve::InCubic, 500);
}

double ease(QEasingCurve::Type type, double progress)
{
    return QEasingCurve(type).valueForProgress(progress);
}

// A target with the engine animating its "value".
struct Rig
{
    explicit Rig(const AnimationParams& params = hoverParams()) { engine.setAnimation(&target, "value", params); }
    Target target;
    CAnimateionProp engine{&target};
};

} // namespace

// The property engine and the progress object, on the manual clock.
class TestAnimationProp : public QObject
{
    Q_OBJECT
private slots:
    void createWritesStartValue();
    void flipContinuesFromCurrentValue();
    void stateReachedDoesNothing();
    void notAnimatedJumpsToEnd();
    void parameterUpdates();
    void zeroDurationFollowsState();
    void flipOutOfRangeValue();
    void progressSignals();
    void progressFromVariant();
};

void TestAnimationProp::createWritesStartValue()
{
    Rig rig;
    Target& target = rig.target;
    CAnimateionProp& engine = rig.engine;
    QCOMPARE(target.value(), 0.0);
    QVERIFY(engine.hasAnimation("value"));
    QCOMPARE(engine.position("value"), CAnimateionProp::Start);

    // Neither an unknown property nor a state change of one gets a record.
    engine.setAnimation(&target, "missing", hoverParams());
    QVERIFY(!engine.hasAnimation("missing"));
    QVERIFY(!engine.animation("missing"));
    engine.setState("missing", true, false);
    QCOMPARE(engine.position("missing"), CAnimateionProp::Start);
}

void TestAnimationProp::flipContinuesFromCurrentValue()
{
    ManualAnimationClock clock;
    Rig rig;
    Target& target = rig.target;
    CAnimateionProp& engine = rig.engine;
    QPropertyAnimation* animation = engine.animation("value");

    engine.setState("value", true, true);
    clock.advance(100);
    const double atFlip = ease(QEasingCurve::OutCubic, 0.5);
    QCOMPARE(target.value(), atFlip);

    engine.setState("value", false, true);
    QVERIFY(engine.isRunning("value"));
    QCOMPARE(engine.position("value"), CAnimateionProp::Start);
    QCOMPARE(animation->easingCurve().type(), QEasingCurve::InCubic);
    QCOMPARE(animation->duration(), 500);
    const int rest = animation->currentTime();
    QVERIFY2(rest > 400 && rest < 500, qPrintable(QString::number(rest)));
    // Continuous within the search's resolution.
    QVERIFY(std::abs(ease(QEasingCurve::InCubic, rest / 500.0) - atFlip) < 0.01);

    clock.advance(100);
    QCOMPARE(target.value(), ease(QEasingCurve::InCubic, (rest - 100) / 500.0));
    clock.advance(rest - 100 - 1);
    QVERIFY(engine.isRunning("value"));
    clock.advance(1);
    QVERIFY(!engine.isRunning("value"));
    QCOMPARE(target.value(), 0.0);
}

void TestAnimationProp::stateReachedDoesNothing()
{
    ManualAnimationClock clock;
    Rig rig;
    Target& target = rig.target;
    CAnimateionProp& engine = rig.engine;
    const int writes = target.writes;

    engine.setState("value", false, true);
    clock.advance(50);
    QVERIFY(!engine.isRunning("value"));
    QCOMPARE(target.writes, writes);

    engine.setState("value", true, true);
    clock.advance(200);
    QCOMPARE(target.value(), 1.0);
    const int reached = target.writes;
    engine.setState("value", true, true);
    engine.setState("value", true, false);
    clock.advance(50);
    QVERIFY(!engine.isRunning("value"));
    QCOMPARE(target.writes, reached);
    QCOMPARE(target.value(), 1.0);
}

void TestAnimationProp::notAnimatedJumpsToEnd()
{
    ManualAnimationClock clock;
    Rig rig;
    Target& target = rig.target;
    CAnimateionProp& engine = rig.engine;
    engine.setState("value", true, true);
    clock.advance(50);
    QVERIFY(target.value() > 0.0 && target.value() < 1.0);

    engine.setState("value", true, false);
    QVERIFY(!engine.isRunning("value"));
    QCOMPARE(target.value(), 1.0);
    clock.advance(50);
    QCOMPARE(target.value(), 1.0);

    // Back, then a jump the other way in mid-run.
    engine.setState("value", false, true);
    clock.advance(100);
    engine.setState("value", false, false);
    QCOMPARE(target.value(), 0.0);
    QVERIFY(!engine.isRunning("value"));
}

void TestAnimationProp::parameterUpdates()
{
    ManualAnimationClock clock;
    Rig rig;
    Target& target = rig.target;
    CAnimateionProp& engine = rig.engine;
    QPropertyAnimation* animation = engine.animation("value");
    engine.setState("value", true, false);
    const int writes = target.writes;

    engine.setAnimation(&target, "value", hoverParams());
    QCOMPARE(target.writes, writes);
    QCOMPARE(engine.animation("value"), animation);

    // Changed values take effect at once, in the state reached.
    engine.setAnimation(&target, "value", params(QEasingCurve::Linear, 300, QEasingCurve::InQuad, 400, 0.0, 2.0));
    QCOMPARE(engine.animation("value"), animation);
    QCOMPARE(target.value(), 2.0);
    QVERIFY(!engine.isRunning("value"));
    QCOMPARE(animation->duration(), 300);

    engine.setState("value", false, true);
    QCOMPARE(animation->duration(), 400);
    QCOMPARE(animation->easingCurve().type(), QEasingCurve::InQuad);
    clock.advance(200);
    QCOMPARE(target.value(), 2.0 * ease(QEasingCurve::InQuad, 0.5));
}

void TestAnimationProp::zeroDurationFollowsState()
{
    ManualAnimationClock clock;
    Rig rig(params(QEasingCurve::Linear, 0, QEasingCurve::Linear, 300));
    Target& target = rig.target;
    CAnimateionProp& engine = rig.engine;

    engine.setState("value", true, true);
    QCOMPARE(target.value(), 1.0);
    QVERIFY(!engine.isRunning("value"));

    // The way back has a duration: it starts where the instant step ended.
    engine.setState("value", false, true);
    QCOMPARE(engine.animation("value")->currentTime(), 300);
    clock.advance(150);
    QCOMPARE(target.value(), 0.5);
    engine.setState("value", true, true);
    QVERIFY(!std::isnan(target.value()));
    QCOMPARE(target.value(), 1.0);
    clock.advance(300);
    QCOMPARE(target.value(), 1.0);
}

void TestAnimationProp::flipOutOfRangeValue()
{
    ManualAnimationClock clock;
    Rig rig(params(QEasingCurve::OutBack, 200, QEasingCurve::InQuad, 200));
    Target& target = rig.target;
    CAnimateionProp& engine = rig.engine;
    engine.setState("value", true, true);
    clock.advance(120);
    QVERIFY(target.value() > 1.0);

    engine.setState("value", false, true);
    QCOMPARE(engine.animation("value")->currentTime(), 200);
    clock.advance(100);
    QCOMPARE(target.value(), ease(QEasingCurve::InQuad, 0.5));
}

void TestAnimationProp::progressSignals()
{
    ManualAnimationClock clock;
    CAnimationProgress progress(nullptr, hoverParams());
    QCOMPARE(progress.progress(), 0.0);
    QSignalSpy changed(&progress, &CAnimationProgress::progressChanged);
    QSignalSpy started(&progress, &CAnimationProgress::started);
    QSignalSpy finished(&progress, &CAnimationProgress::finished);

    progress.playForward();
    clock.advance(100);
    QCOMPARE(started.count(), 1);
    QCOMPARE(started.at(0).at(0).value<CAnimateionProp::Pos>(), CAnimateionProp::End);
    QVERIFY(progress.isRunning());
    QCOMPARE(changed.last().at(0).toDouble(), progress.progress());

    // A flip in mid-run is no new start.
    progress.playBackward();
    clock.advance(500);
    QCOMPARE(started.count(), 1);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.at(0).at(0).value<CAnimateionProp::Pos>(), CAnimateionProp::Start);
    QCOMPARE(progress.progress(), 0.0);

    progress.playForward();
    clock.advance(100);
    QCOMPARE(progress.progress(), ease(QEasingCurve::OutCubic, 0.5));
    clock.advance(100);
    QCOMPARE(started.count(), 2);
    QCOMPARE(finished.count(), 2);
    QCOMPARE(finished.at(1).at(0).value<CAnimateionProp::Pos>(), CAnimateionProp::End);
    QCOMPARE(progress.position(), CAnimateionProp::End);

    // Equal values are not stored again.
    changed.clear();
    progress.setProgress(1.0 + 1e-14);
    QCOMPARE(changed.count(), 0);
    progress.resetToStart();
    QCOMPARE(changed.count(), 1);
    QCOMPARE(progress.progress(), 0.0);
}

void TestAnimationProp::progressFromVariant()
{
    ManualAnimationClock clock;
    CAnimationProgress progress(nullptr, QVariant::fromValue(params(QEasingCurve::Linear, 100, QEasingCurve::Linear, 100)));
    progress.playForward();
    clock.advance(25);
    QCOMPARE(progress.progress(), 0.25);
    progress.jumpToEnd();
    QCOMPARE(progress.progress(), 1.0);
}

TY_UI_TEST_MAIN(TestAnimationProp)
#include "tst_animationprop.moc"

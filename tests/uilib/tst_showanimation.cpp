#include "support/UiTestSupport.h"

#include "uilib/style/CAnimationBase.h"
#include "uilib/style/CAnimationShow2.h"
#include "uilib/style/COpacityEffect.h"

#include <QGraphicsBlurEffect>
#include <QPointer>
#include <QSignalSpy>
#include <QTimer>
#include <QWidget>

namespace {

// A widget with the show and hide animation, counting finished shows.
class ShowWidget : public QWidget, public CAnimationShow2
{
public:
    explicit ShowWidget(QWidget* parent = nullptr) : QWidget(parent), CAnimationShow2(this) {}
    void animationFinished() override { ++finishedShows; }
    int finishedShows = 0;
};

COpacityEffect* effectOf(QWidget* widget)
{
    return dynamic_cast<COpacityEffect*>(widget->graphicsEffect());
}

double ease(QEasingCurve::Type type, double progress)
{
    return QEasingCurve(type).valueForProgress(progress);
}

// A shown parent with a child that starts shown or hidden.
struct Stage
{
    explicit Stage(bool childVisible)
    {
        parent.resize(200, 100);
        child.setGeometry(10, 10, 80, 40);
        child.setVisible(childVisible);
        parent.show();
    }
    QWidget parent;
    ShowWidget child{&parent};
};

} // namespace

// The show and hide animation of widgets and windows, and the geometry and opacity animations.
class TestShowAnimation : public QObject
{
    Q_OBJECT
private slots:
    void showFadesIn();
    void hideFadesOut();
    void showReversesHide_data();
    void showReversesHide();
    void notAnimatedChanges();
    void notAnimatedShowWithoutAnimator();
    void hiddenDirectlyFadesIn();
    void shownDirectlyIsOpaque();
    void foreignEffectKept();
    void windowFadesByOpacity();
    void slideSetsEffect();
    void geometryRetargetKeepsRemainingTime();
    void geometryHonoursFixedPolicy();
    void animateAppliesAtOnce();
    void opacityTargets();
    void waitRunsUntilEnd();
    void waitEndsWhenTargetGoes();
};

void TestShowAnimation::showFadesIn()
{
    ManualAnimationClock clock;
    Stage stage(false);
    stage.child.showAnimated();
    QVERIFY(stage.child.isVisible());
    COpacityEffect* effect = effectOf(&stage.child);
    QVERIFY(effect);
    QCOMPARE(effect->opacity(), 0.001);
    clock.advance(125);
    QVERIFY(effect->isCaching());
    QCOMPARE(effect->opacity(), ease(QEasingCurve::OutCubic, 0.5));
    QCOMPARE(stage.child.finishedShows, 0);
    clock.advance(125);
    QCOMPARE(effect->opacity(), 1.0);
    QVERIFY(!effect->isEnabled());
    QVERIFY(!effect->isCaching());
    QCOMPARE(stage.child.finishedShows, 1);
    clock.advance(250);
    QCOMPARE(stage.child.finishedShows, 1);
}

void TestShowAnimation::hideFadesOut()
{
    ManualAnimationClock clock;
    Stage stage(true);
    stage.child.hideAnimated();
    COpacityEffect* effect = effectOf(&stage.child);
    QVERIFY(effect);
    QCOMPARE(effect->opacity(), 1.0);
    clock.advance(125);
    QVERIFY(stage.child.isVisible());
    QCOMPARE(effect->opacity(), ease(QEasingCurve::InCubic, 0.5));
    clock.advance(124);
    QVERIFY(stage.child.isVisible());
    clock.advance(1);
    QVERIFY(!stage.child.isVisible());
    QCOMPARE(effect->opacity(), 0.0);
    QCOMPARE(stage.child.finishedShows, 0);
}

void TestShowAnimation::showReversesHide_data()
{
    QTest::addColumn<int>("hidingMs");
    QTest::newRow("mid-way") << 100;
    // So near the end that the show starts from an opacity of 0.
    QTest::newRow("nearly hidden") << 240;
}

void TestShowAnimation::showReversesHide()
{
    QFETCH(int, hidingMs);
    ManualAnimationClock clock;
    Stage stage(true);
    stage.child.hideAnimated();
    clock.advance(hidingMs);
    COpacityEffect* effect = effectOf(&stage.child);
    const double atFlip = effect->opacity();
    stage.child.showAnimated();
    QVERIFY(stage.child.isVisible());
    QCOMPARE(stage.child.visibilityAnimator()->position(), CAnimateionProp::End);
    clock.advance(1);
    QVERIFY(stage.child.isVisible());
    QVERIFY(std::abs(effect->opacity() - atFlip) < 0.03);
    clock.advance(250);
    QCOMPARE(effect->opacity(), 1.0);
    QVERIFY(stage.child.isVisible());
    QCOMPARE(stage.child.finishedShows, 1);
}

void TestShowAnimation::notAnimatedChanges()
{
    ManualAnimationClock clock;
    Stage stage(true);
    stage.child.setAnimationParams(AnimationParams{QEasingCurve::Linear, 100, QEasingCurve::Linear, 100, 0.0, 1.0});
    stage.child.setVisibleAnimated(false, false);
    QVERIFY(!stage.child.isVisible());
    QCOMPARE(effectOf(&stage.child)->opacity(), 0.0);
    stage.child.setVisibleAnimated(true, false);
    QVERIFY(stage.child.isVisible());
    QCOMPARE(effectOf(&stage.child)->opacity(), 1.0);

    // The parameters given apply to the animated changes.
    stage.child.hideAnimated();
    clock.advance(50);
    QCOMPARE(effectOf(&stage.child)->opacity(), 0.5);
}

void TestShowAnimation::notAnimatedShowWithoutAnimator()
{
    Stage stage(false);
    stage.child.setVisibleAnimated(true, false);
    QVERIFY(stage.child.isVisible());
    QVERIFY(!stage.child.graphicsEffect());
    QVERIFY(!stage.child.visibilityAnimator());
    stage.child.setVisibleAnimated(false, false);
    QVERIFY(!stage.child.isVisible());
}

void TestShowAnimation::hiddenDirectlyFadesIn()
{
    ManualAnimationClock clock;
    Stage stage(true);
    stage.child.setSlide(Qt::BottomEdge, 0);
    QCOMPARE(effectOf(&stage.child)->opacity(), 1.0);
    stage.child.hide();
    stage.child.showAnimated();
    QCOMPARE(effectOf(&stage.child)->opacity(), 0.001);
    clock.advance(250);
    QCOMPARE(effectOf(&stage.child)->opacity(), 1.0);
    // A hidden widget whose own opacity effect is opaque fades in too.
    Stage hidden(false);
    auto* effect = new COpacityEffect(&hidden.child);
    hidden.child.showAnimated();
    QVERIFY(hidden.child.isVisible());
    QCOMPARE(effect->opacity(), 0.001);
    clock.advance(250);
    QCOMPARE(effect->opacity(), 1.0);
    QCOMPARE(hidden.child.finishedShows, 1);
}

void TestShowAnimation::shownDirectlyIsOpaque()
{
    ManualAnimationClock clock;
    Stage stage(true);
    stage.child.hideAnimated();
    clock.advance(250);
    QVERIFY(!stage.child.isVisible());
    stage.child.show();
    QCOMPARE(effectOf(&stage.child)->opacity(), 1.0);

    // The same for a widget that got its effect while hidden.
    Stage hidden(false);
    hidden.child.setSlide(Qt::RightEdge, 20);
    QCOMPARE(effectOf(&hidden.child)->opacity(), 0.0);
    hidden.child.show();
    QCOMPARE(effectOf(&hidden.child)->opacity(), 1.0);
}

void TestShowAnimation::foreignEffectKept()
{
    ManualAnimationClock clock;
    Stage stage(false);
    auto* blur = new QGraphicsBlurEffect;
    stage.child.setGraphicsEffect(blur);
    stage.child.showAnimated();
    QVERIFY(stage.child.isVisible());
    stage.child.setSlide(Qt::LeftEdge, 30);
    clock.advance(250);
    QCOMPARE(stage.child.finishedShows, 1);
    stage.child.hideAnimated();
    clock.advance(250);
    QVERIFY(!stage.child.isVisible());
    QCOMPARE(stage.child.graphicsEffect(), blur);
}

void TestShowAnimation::windowFadesByOpacity()
{
    ManualAnimationClock clock;
    ShowWidget window;
    window.resize(100, 60);
    QCOMPARE(window.windowOpacity(), 1.0);
    window.setSlide(Qt::RightEdge, 40);
    QVERIFY(!window.graphicsEffect());

    // Hidden, it starts hidden although its opacity is 1.
    window.showAnimated();
    QVERIFY(window.isVisible());
    QVERIFY(window.windowOpacity() < 0.01);
    clock.advance(125);
    QVERIFY(std::abs(window.windowOpacity() - ease(QEasingCurve::OutCubic, 0.5)) < 0.01);
    clock.advance(125);
    QCOMPARE(window.windowOpacity(), 1.0);
    QCOMPARE(window.finishedShows, 1);
    window.hideAnimated();
    clock.advance(250);
    QVERIFY(!window.isVisible());
    QVERIFY(!window.graphicsEffect());
}

void TestShowAnimation::slideSetsEffect()
{
    Stage stage(true);
    QWidget widget(&stage.parent);
    auto* mixin = new CAnimationShow2(&widget);
    mixin->setSlide(Qt::TopEdge, 25);
    COpacityEffect* effect = effectOf(&widget);
    QVERIFY(effect);
    QCOMPARE(effect->slideEdge(), int(Qt::TopEdge));
    QCOMPARE(effect->slideDistance(), 25);

    // The mixin's end takes its animator along.
    QPointer<QObject> animator = mixin->visibilityAnimator();
    QVERIFY(animator);
    delete mixin;
    QVERIFY(!animator);
}

void TestShowAnimation::geometryRetargetKeepsRemainingTime()
{
    ManualAnimationClock clock;
    Stage stage(true);
    CAnimationGeom geometry(&stage.child);
    QCOMPARE(geometry.duration(), 150);
    geometry.setGeometry(QRect(10, 10, 80, 40), true);
    QVERIFY(!geometry.isRunning());
    geometry.setGeometry(QRect(110, 10, 80, 40), true, 200);
    clock.advance(100);
    QCOMPARE(stage.child.geometry(), QRect(60, 10, 80, 40));

    geometry.setGeometry(QRect(60, 50, 80, 40), true);
    clock.advance(50);
    QCOMPARE(stage.child.geometry(), QRect(60, 30, 80, 40));
    QVERIFY(geometry.isRunning());
    clock.advance(50);
    QVERIFY(!geometry.isRunning());
    QCOMPARE(stage.child.geometry(), QRect(60, 50, 80, 40));
}

void TestShowAnimation::geometryHonoursFixedPolicy()
{
    Stage stage(true);
    stage.child.setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    CAnimationGeom geometry(&stage.child);
    geometry.setGeometry(QRect(5, 6, 120, 30), false);
    QCOMPARE(stage.child.geometry(), QRect(5, 6, 120, 30));
    QCOMPARE(stage.child.minimumWidth(), 120);
    QCOMPARE(stage.child.maximumWidth(), 120);
    QCOMPARE(stage.child.minimumHeight(), 0);
}

void TestShowAnimation::animateAppliesAtOnce()
{
    ManualAnimationClock clock;
    Stage stage(false);
    CAnimationGeom geometry(&stage.child);
    geometry.setGeometry(QRect(20, 20, 50, 50), true);
    QVERIFY(!geometry.isRunning());
    QCOMPARE(stage.child.geometry(), QRect(20, 20, 50, 50));

    // Equal ends only stop a run.
    stage.child.show();
    geometry.setGeometry(QRect(40, 20, 50, 50), true, 100);
    clock.advance(50);
    const QRect halfway = stage.child.geometry();
    geometry.animate(halfway, halfway, true, false);
    QVERIFY(!geometry.isRunning());
    clock.advance(100);
    QCOMPARE(stage.child.geometry(), halfway);
}

void TestShowAnimation::opacityTargets()
{
    Stage stage(true);
    CAnimationShow child(&stage.child);
    QCOMPARE(child.opacity(), 1.0);
    child.setOpacity(0.4, false);
    QCOMPARE(effectOf(&stage.child)->opacity(), 0.4);
    QCOMPARE(child.opacity(), 0.4);

    CAnimationShow window(&stage.parent);
    window.setOpacity(0.2, false);
    QVERIFY(std::abs(stage.parent.windowOpacity() - 0.2) < 0.01);
    QVERIFY(!stage.parent.graphicsEffect());

    auto* blur = new QGraphicsBlurEffect;
    QWidget other(&stage.parent);
    other.setGraphicsEffect(blur);
    CAnimationShow foreign(&other);
    foreign.setOpacity(0.0, false);
    QCOMPARE(other.graphicsEffect(), blur);
}

// The waiting runs on the real clock, under the watchdog.
void TestShowAnimation::waitRunsUntilEnd()
{
    Stage stage(true);
    CAnimationShow fade(&stage.child);
    NestedLoopWatchdog watchdog(5000);
    QTimer::singleShot(5000, &fade, &CAnimationBase::stop);
    QSignalSpy finished(&fade, &CAnimationBase::finished);
    fade.setOpacity(0.0, true, 60, true);
    QVERIFY(!watchdog.fired());
    QCOMPARE(finished.count(), 1);
    QCOMPARE(fade.opacity(), 0.0);
}

void TestShowAnimation::waitEndsWhenTargetGoes()
{
    Stage stage(true);
    auto* target = new QWidget(&stage.parent);
    target->show();
    QPointer<CAnimationShow> fade = new CAnimationShow(target);
    NestedLoopWatchdog watchdog(5000);
    QTimer::singleShot(30, target, [target] { delete target; });
    fade->setOpacity(0.0, true, 2000, true);
    QVERIFY(!watchdog.fired());
    QVERIFY(!fade);
}

TY_UI_TEST_MAIN(TestShowAnimation)
#include "tst_showanimation.moc"

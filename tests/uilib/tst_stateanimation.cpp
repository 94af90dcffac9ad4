#include "support/UiTestSupport.h"

#include "uilib/style/CAnimationWidget.h"
#include "app/CSystemTools.h"
#include "uilib/style/CStyle.h"
#include "uilib/style/ColorSet.h"
#include "uilib/style/ColorUtils.h"

#include <QEvent>
#include <QSignalSpy>
#include <QWidget>

namespace {

// A palette whose disabled look fades in 100 ms and keeps 0.5 of the opacity.
class QuickPalette : public Cpalette
{
public:
    using Cpalette::Cpalette;
    QString name() const override { return QStringLiteral("Quick"); }
    double opacity(int kind) const override { return kind == 0 ? 0.5 : Cpalette::opacity(kind); }
    AnimationParams animationValue(int) const override
    {
        return AnimationParams{QEasingCurve::Linear, 100, QEasingCurve::Linear, 100, 0.0, 1.0};
    }
};

void send(QWidget* widget, QEvent::Type type)
{
    QEvent event(type);
    QCoreApplication::sendEvent(widget, &event);
}

double ease(QEasingCurve::Type type, double progress)
{
    return QEasingCurve(type).valueForProgress(progress);
}

} // namespace

Q_DECLARE_METATYPE(ColorSet)

// The disabled, hovered, pressed and checked looks of widgets, and the colours they give.
class TestStateAnimation : public QObject
{
    Q_OBJECT
private slots:
    void disabledHiddenIsImmediate();
    void disabledVisibleFades();
    void noHoverWhileDisabled();
    void focusShowsChecked();
    void equalStateChangesNothing();
    void explicitParamsSurviveRestyle();
    void switchOffMakesChangesImmediate();
    void destroyedWidgetEndsUpdates();
    void stateColor_data();
    void stateColor();
};

void TestStateAnimation::disabledHiddenIsImmediate()
{
    QWidget widget;
    CAnimationInactive state(1, &widget);
    state.setWidget(&widget);
    widget.setEnabled(false);
    QCOMPARE(state.disabledProgress(), 1.0);
    QCOMPARE(state.opacity(), 1.0 - 0.6);
}

void TestStateAnimation::disabledVisibleFades()
{
    ManualAnimationClock clock;
    QWidget widget;
    widget.show();
    CAnimationInactive state(1, &widget);
    state.setWidget(&widget);
    QSignalSpy changed(&state, &CAnimationInactive::disabledProgressChanged);
    widget.setEnabled(false);
    QVERIFY(state.isDisabled());
    clock.advance(250);
    QCOMPARE(state.disabledProgress(), ease(QEasingCurve::OutCubic, 0.5));
    QCOMPARE(state.opacity(), 1.0 - 0.6 * state.disabledProgress());
    clock.advance(250);
    QCOMPARE(state.disabledProgress(), 1.0);
    QCOMPARE(changed.last().at(0).toDouble(), 1.0);

    // Enabling again runs back along the backward curve.
    widget.setEnabled(true);
    clock.advance(250);
    QCOMPARE(state.disabledProgress(), ease(QEasingCurve::InCubic, 0.5));
    clock.advance(250);
    QCOMPARE(state.opacity(), 1.0);
}

void TestStateAnimation::noHoverWhileDisabled()
{
    QWidget widget;
    CAnimationWidget state(2, &widget);
    state.setWidget(&widget);
    widget.setEnabled(false);
    send(&widget, QEvent::Enter);
    QVERIFY(!state.isHovered());
    widget.setEnabled(true);
    send(&widget, QEvent::Enter);
    QVERIFY(state.isHovered());
    send(&widget, QEvent::Leave);
    QVERIFY(!state.isHovered());

    // Mode 1 follows the enabled state only.
    CAnimationWidget follower(1, &widget);
    follower.setWidget(&widget);
    send(&widget, QEvent::Enter);
    QVERIFY(!follower.isHovered());
}

void TestStateAnimation::focusShowsChecked()
{
    ManualAnimationClock clock;
    QWidget widget;
    widget.setFocusPolicy(Qt::StrongFocus);
    CAnimationWidget state(2, &widget);
    state.setWidget(&widget);
    widget.show();
    send(&widget, QEvent::FocusIn);
    QVERIFY(state.isChecked());
    clock.advance(300);
    QCOMPARE(state.checkedProgress(), 1.0);
    send(&widget, QEvent::FocusOut);
    QVERIFY(!state.isChecked());
    clock.advance(500);
    QCOMPARE(state.checkedProgress(), 0.0);
}

void TestStateAnimation::equalStateChangesNothing()
{
    ManualAnimationClock clock;
    CAnimationWidget state(0, nullptr);
    state.setPressed(true, false);
    QSignalSpy pressed(&state, &CAnimationWidget::pressedProgressChanged);
    QSignalSpy hovered(&state, &CAnimationWidget::hoveredProgressChanged);
    state.setPressed(true, true);
    state.setHovered(false, true);
    clock.advance(200);
    QCOMPARE(pressed.count(), 0);
    QCOMPARE(hovered.count(), 0);
    QCOMPARE(state.pressedProgress(), 1.0);
}

void TestStateAnimation::explicitParamsSurviveRestyle()
{
    ManualAnimationClock clock;
    CStyle* style = CSystemTools::instance()->style();
    auto* quick = new QuickPalette(style);
    style->registerPalette(quick);
    const QString previous = currentPalette()->name();
    auto* base = new Cpalette(style);
    style->registerPalette(base);

    CAnimationWidget state(0, nullptr);
    state.setHoveredAnimationParams(AnimationParams{QEasingCurve::Linear, 1000, QEasingCurve::Linear, 1000, 0.0, 1.0});
    QVERIFY(style->setCurrentStyle(QStringLiteral("Quick")));
    QCOMPARE(state.opacity(), 1.0);
    state.setHovered(true, true);
    state.setDisabled(true, true);
    clock.advance(100);
    QCOMPARE(state.hoveredProgress(), 0.1);
    QCOMPARE(state.disabledProgress(), 1.0);
    QCOMPARE(state.opacity(), 0.5);

    // An explicit opacity stays too.
    state.setDisabledOpacity(0.2);
    QVERIFY(style->setCurrentStyle(previous == quick->name() ? base->name() : previous));
    QCOMPARE(state.opacity(), 0.8);
}

void TestStateAnimation::switchOffMakesChangesImmediate()
{
    ManualAnimationClock clock;
    QWidget widget;
    widget.show();
    CAnimationWidget state(2, &widget);
    state.setWidget(&widget);
    state.setAnimationsEnabled(false);
    send(&widget, QEvent::Enter);
    QCOMPARE(state.hoveredProgress(), 1.0);
    widget.setEnabled(false);
    QCOMPARE(state.disabledProgress(), 1.0);
    state.setAnimationsEnabled(true);
    widget.setEnabled(true);
    QCOMPARE(state.disabledProgress(), 1.0);
    clock.advance(500);
    QCOMPARE(state.disabledProgress(), 0.0);
}

void TestStateAnimation::destroyedWidgetEndsUpdates()
{
    ManualAnimationClock clock;
    CAnimationWidget state(2, nullptr);
    {
        QWidget widget;
        widget.show();
        state.setWidget(&widget);
        send(&widget, QEvent::Enter);
    }
    QVERIFY(!state.widget());
    clock.advance(200);
    QCOMPARE(state.hoveredProgress(), 1.0);
}

void TestStateAnimation::stateColor_data()
{
    QTest::addColumn<ColorSet>("set");
    QTest::addColumn<double>("checked");
    QTest::addColumn<double>("hovered");
    QTest::addColumn<double>("pressed");
    QTest::addColumn<double>("disabled");
    QTest::addColumn<QColor>("expected");

    const QColor red(Qt::red);
    const QColor blue(Qt::blue);
    const QColor hover(255, 255, 255, 64);
    const QColor press(0, 0, 0, 64);
    const ColorSet full(red, hover, press, QColor(Qt::gray), blue, hover, press, QColor(Qt::darkGray));
    const ColorSet invalidDisabled(red, hover, press, blue, hover, press);
    const ColorSet transparentDisabled(red, hover, press, QColor(Qt::transparent), blue, hover, press,
                                       QColor(Qt::transparent));

    QTest::newRow("normal") << full << 0.0 << 0.0 << 0.0 << 0.0 << red;
    QTest::newRow("checked") << full << 1.0 << 0.0 << 0.0 << 0.0 << blue;
    QTest::newRow("half checked") << full << 0.5 << 0.0 << 0.0 << 0.0 << blendColors(red, blue, 0.5, 1);
    QTest::newRow("hovered") << full << 0.0 << 1.0 << 0.0 << 0.0 << mixColors(red, hover);
    QTest::newRow("half hovered") << full << 0.0 << 0.5 << 0.0 << 0.0
                                  << blendColors(red, mixColors(red, hover), 0.5, 1);
    QTest::newRow("pressed") << full << 0.0 << 1.0 << 1.0 << 0.0 << mixColors(red, press);
    QTest::newRow("pressed, not hovered") << full << 0.0 << 0.0 << 1.0 << 0.0 << red;
    QTest::newRow("half pressed") << full << 0.0 << 1.0 << 0.5 << 0.0
                                  << mixColors(red, blendColors(hover, press, 0.5, 1));
    QTest::newRow("disabled") << full << 0.0 << 0.0 << 0.0 << 1.0 << QColor(Qt::gray);
    QTest::newRow("disabled checked") << full << 1.0 << 0.0 << 0.0 << 1.0 << QColor(Qt::darkGray);
    QTest::newRow("half disabled") << full << 0.0 << 0.0 << 0.0 << 0.5
                                   << blendColors(red, QColor(Qt::gray), 0.5, 1);
    QTest::newRow("invalid disabled") << invalidDisabled << 0.0 << 0.0 << 0.0 << 1.0 << colorWithAlpha(red, 0.4);
    QTest::newRow("invalid half disabled") << invalidDisabled << 0.0 << 0.0 << 0.0 << 0.5
                                           << colorWithAlpha(red, 0.7);
    QTest::newRow("transparent disabled") << transparentDisabled << 0.0 << 0.0 << 0.0 << 0.01
                                          << colorWithAlpha(red, 0.0);
}

void TestStateAnimation::stateColor()
{
    QFETCH(ColorSet, set);
    QFETCH(double, checked);
    QFETCH(double, hovered);
    QFETCH(double, pressed);
    QFETCH(double, disabled);
    QFETCH(QColor, expected);

    CAnimationWidget state(0, nullptr);
    state.setChecked(checked >= 0.5, false);
    state.setCheckedProgress(checked);
    state.setHoveredProgress(hovered);
    state.setPressedProgress(pressed);
    state.setDisabledProgress(disabled);
    const QColor color = animatedStateColor(set, state);
    QCOMPARE(color.rgba(), expected.rgba());
}

TY_UI_TEST_MAIN(TestStateAnimation)
#include "tst_stateanimation.moc"

#include "support/UiTestSupport.h"

#include "uilib/controls/CButton.h"
#include "uilib/controls/CSlider.h"
#include "uilib/style/CStyle.h"

#include <QSignalSpy>
#include <QWindow>

namespace {

// A shown window with one slider of kind 37 whose track spans pixels 4 to 204 (handle 8 wide).
struct SliderFixture
{
    explicit SliderFixture(Qt::Orientation orientation = Qt::Horizontal)
    {
        window.resize(300, 300);
        slider = new CSlider(37, orientation, &window);
        slider->setRange(0, 100);
        slider->setAnimated(false);
        if (orientation == Qt::Horizontal)
            slider->setGeometry(10, 100, 208, 24);
        else
            slider->setGeometry(100, 10, 24, 208);
        window.show();
        exposed = QTest::qWaitForWindowExposed(&window);
    }
    QPoint at(int value) const { return slider->positionFromValue(value); }
    // The hot spot of a handle in the slider.
    QPoint centreOf(QWidget* handle) const { return handle->geometry().center() + QPoint(1, 1); }
    void send(QWidget* target, QEvent::Type type, QPoint inSlider, Qt::MouseButton button,
              Qt::MouseButtons held) const
    {
        const QPoint global = slider->mapToGlobal(inSlider);
        QMouseEvent event(type, target->mapFromGlobal(global), global, button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &event);
    }
    // Presses a handle at its centre, moves it to the pixel of `value` and releases it.
    void drag(QWidget* handle, int value) const
    {
        const QPoint from = centreOf(handle);
        send(handle, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        send(handle, QEvent::MouseMove, at(value), Qt::NoButton, Qt::LeftButton);
        send(handle, QEvent::MouseButtonRelease, at(value), Qt::LeftButton, Qt::NoButton);
    }
    // Window-level input, routed as the platform would route it (grabs included).
    QPoint inWindow(QPoint inSlider) const { return slider->mapTo(&window, inSlider); }

    QWidget window;
    CSlider* slider;
    bool exposed = false;
};

} // namespace

class TestSlider : public QObject
{
    Q_OBJECT
private slots:
    void mapsValuesAndPixels_data();
    void mapsValuesAndPixels();
    void degenerateTracksStayAtTheStart_data();
    void degenerateTracksStayAtTheStart();
    void handlesStopAtTheirConstraints_data();
    void handlesStopAtTheirConstraints();
    void shrinkingTheRangePullsTheTrimsIn();
    void trackPressJumpsAndDragFollows();
    void valueChangeGlidesOnTheClock();
    void trimDragSignalsComeInOrder();
    void keysMoveTheLastReleasedTrim_data();
    void keysMoveTheLastReleasedTrim();
    void setValueSilentlyEmitsNothingAndRepaints();
    void styleGivesHandleAndGroove_data();
    void styleGivesHandleAndGroove();
    void tipShowsCallbackTextAndHidesOnLeave();
    void hoverMarkFollowsTheMouse();
    void paintsFillAndMarks_data();
    void paintsFillAndMarks();
};

void TestSlider::mapsValuesAndPixels_data()
{
    QTest::addColumn<Qt::Orientation>("orientation");
    QTest::addColumn<bool>("exclusive");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("pixel");
    QTest::addColumn<int>("valueBack");
    // Pixels along the track: x, or the distance from the bottom for a vertical slider.
    for (Qt::Orientation o : {Qt::Horizontal, Qt::Vertical}) {
        const char* name = o == Qt::Horizontal ? "horizontal" : "vertical";
        QTest::addRow("%s minimum", name) << o << false << 0 << 4 << 0;
        QTest::addRow("%s middle", name) << o << false << 50 << 104 << 50;
        QTest::addRow("%s maximum", name) << o << false << 100 << 204 << 100;
        QTest::addRow("%s below", name) << o << false << -20 << 4 << 0;
        QTest::addRow("%s above", name) << o << false << 130 << 204 << 100;
        QTest::addRow("%s exclusive maximum", name) << o << true << 100 << 202 << 99;
        QTest::addRow("%s exclusive below", name) << o << true << 99 << 202 << 99;
    }
}

void TestSlider::mapsValuesAndPixels()
{
    QFETCH(Qt::Orientation, orientation);
    QFETCH(bool, exclusive);
    QFETCH(int, value);
    QFETCH(int, pixel);
    QFETCH(int, valueBack);
    SliderFixture f(orientation);
    f.slider->setExclusiveMaximum(exclusive);
    const bool horizontal = orientation == Qt::Horizontal;
    const QPoint expected = horizontal ? QPoint(pixel, 12) : QPoint(12, 208 - pixel);
    QCOMPARE(f.slider->positionFromValue(value), expected);
    QCOMPARE(f.slider->valueFromPosition(expected), valueBack);
    // The far ends of the widget clamp to the range.
    const QPoint beyond = horizontal ? QPoint(400, 12) : QPoint(12, -200);
    QCOMPARE(f.slider->valueFromPosition(beyond), exclusive ? 99 : 100);
}

void TestSlider::degenerateTracksStayAtTheStart_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    // The handle's hot spot along the track, or -1 where the track has no meaning.
    QTest::addColumn<int>("handleAt");
    QTest::addRow("empty range") << 208 << 5 << 5 << 4;
    QTest::addRow("zero span") << 8 << 0 << 100 << 4;
    QTest::addRow("negative span") << 4 << 0 << 100 << -1;
    QTest::addRow("empty range and zero span") << 8 << 7 << 7 << 4;
}

void TestSlider::degenerateTracksStayAtTheStart()
{
    QFETCH(int, length);
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(int, handleAt);
    SliderFixture f;
    f.slider->setMinimumWidth(0);
    f.slider->setExclusiveMaximum(true);
    f.slider->setRange(minimum, maximum);
    f.slider->resize(length, 24);
    f.slider->setValue(maximum);
    for (int x : {-50, 0, length / 2, length, length + 50})
        QCOMPARE(f.slider->valueFromPosition(QPoint(x, 12)), minimum);
    if (handleAt >= 0) {
        QCOMPARE(f.slider->positionFromValue(maximum).x(), handleAt);
        QCOMPARE(f.centreOf(f.slider->handleButton()).x(), handleAt);
    }
    // A press on an empty range is refused.
    QSignalSpy pressed(f.slider, &QAbstractSlider::sliderPressed);
    f.send(f.slider, QEvent::MouseButtonPress, QPoint(length - 1, 12), Qt::LeftButton, Qt::LeftButton);
    f.send(f.slider, QEvent::MouseButtonRelease, QPoint(length - 1, 12), Qt::LeftButton, Qt::NoButton);
    QCOMPARE(pressed.count(), maximum == minimum ? 0 : 1);
}

void TestSlider::handlesStopAtTheirConstraints_data()
{
    QTest::addColumn<QString>("handle");
    QTest::addColumn<int>("gap");
    QTest::addColumn<int>("span");
    QTest::addColumn<bool>("exclusive");
    QTest::addColumn<int>("lower");
    QTest::addColumn<int>("upper");
    QTest::addColumn<int>("target");
    QTest::addColumn<int>("stop");
    QTest::newRow("value at the lower trim") << "value" << 1 << 0 << false << 20 << 80 << 5 << 20;
    QTest::newRow("value at the upper trim") << "value" << 1 << 0 << false << 20 << 80 << 95 << 80;
    QTest::newRow("value below an exclusive upper trim") << "value" << 1 << 0 << true << 20 << 80 << 95 << 79;
    QTest::newRow("value inside") << "value" << 1 << 0 << false << 20 << 80 << 50 << 50;
    QTest::newRow("lower one below the upper") << "lower" << 1 << 0 << false << 20 << 80 << 95 << 79;
    QTest::newRow("lower at a wider gap") << "lower" << 10 << 0 << false << 20 << 80 << 95 << 70;
    QTest::newRow("lower at the minimum") << "lower" << 1 << 0 << false << 20 << 80 << -10 << 0;
    QTest::newRow("upper within the span") << "upper" << 1 << 30 << false << 10 << 30 << 90 << 40;
    QTest::newRow("lower within the span") << "lower" << 1 << 30 << false << 60 << 90 << 0 << 60;
    QTest::newRow("upper one above the lower") << "upper" << 1 << 0 << false << 20 << 80 << 0 << 21;
    QTest::newRow("upper at the maximum") << "upper" << 1 << 0 << false << 20 << 80 << 120 << 100;
}

void TestSlider::handlesStopAtTheirConstraints()
{
    QFETCH(QString, handle);
    QFETCH(int, gap);
    QFETCH(int, span);
    QFETCH(bool, exclusive);
    QFETCH(int, lower);
    QFETCH(int, upper);
    QFETCH(int, target);
    QFETCH(int, stop);
    SliderFixture f;
    f.slider->setValue(50);
    f.slider->setExclusiveMaximum(exclusive);
    f.slider->setTrimGap(gap);
    f.slider->setTrimSpan(span);
    f.slider->setTrimValues(lower, upper);
    f.slider->setTrimsVisible(true);
    f.slider->setTrimsEnabled(true);
    QWidget* dragged = handle == "value" ? f.slider->handleButton() : f.slider->trimHandle(handle == "upper");
    const QPoint pixel = target < 0 ? QPoint(-40, 12) : target > 100 ? QPoint(400, 12) : f.at(target);
    f.send(dragged, QEvent::MouseButtonPress, f.centreOf(dragged), Qt::LeftButton, Qt::LeftButton);
    f.send(dragged, QEvent::MouseMove, pixel, Qt::NoButton, Qt::LeftButton);
    const int reached = handle == "value" ? f.slider->value()
                        : handle == "lower" ? f.slider->lowerTrim()
                                            : f.slider->upperTrim();
    QCOMPARE(reached, stop);
    // The handle sits on its value.
    QCOMPARE(f.centreOf(dragged).x(), f.at(stop).x());
    f.send(dragged, QEvent::MouseButtonRelease, pixel, Qt::LeftButton, Qt::NoButton);
    // The value stays inside the trims whichever handle moved.
    QVERIFY(f.slider->value() >= f.slider->lowerTrim());
    QVERIFY(f.slider->value() <= f.slider->upperTrim());
}

void TestSlider::shrinkingTheRangePullsTheTrimsIn()
{
    SliderFixture f;
    f.slider->setTrimValues(20, 80);
    f.slider->setTrimsVisible(true);
    QSignalSpy upper(f.slider, &CSlider::upperTrimChanged);
    QSignalSpy lower(f.slider, &CSlider::lowerTrimChanged);
    f.slider->setRange(0, 50);
    QCOMPARE(f.slider->upperTrim(), 50);
    QCOMPARE(upper.count(), 1);
    QCOMPARE(upper.at(0).at(0).toInt(), 50);
    QCOMPARE(lower.count(), 0);
    QCOMPARE(f.centreOf(f.slider->trimHandle(true)).x(), f.at(50).x());
    f.slider->setRange(30, 40);
    QCOMPARE(f.slider->lowerTrim(), 30);
    QCOMPARE(f.slider->upperTrim(), 40);
    QCOMPARE(lower.count(), 1);
    QCOMPARE(upper.count(), 2);
}

void TestSlider::trackPressJumpsAndDragFollows()
{
    ManualAnimationClock clock;
    SliderFixture f;
    QVERIFY(f.exposed);
    f.slider->setAnimated(true);
    QWidget* handle = f.slider->handleButton();
    QWindow* window = f.window.windowHandle();
    QSignalSpy released(f.slider, &QAbstractSlider::sliderReleased);
    QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, f.inWindow(f.at(70)));
    QCOMPARE(f.slider->value(), 70);
    QVERIFY(f.slider->isSliderDown());
    // No glide: the handle is there before any animation time passes.
    QCOMPARE(f.centreOf(handle).x(), f.at(70).x());
    QTest::mouseMove(window, f.inWindow(f.at(60)));
    QCOMPARE(QWidget::mouseGrabber(), handle);
    QCOMPARE(f.slider->value(), 60);
    QTest::mouseMove(window, f.inWindow(f.at(30) + QPoint(0, 40)));
    QCOMPARE(f.slider->value(), 30);
    QCOMPARE(f.centreOf(handle).x(), f.at(30).x());
    QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, f.inWindow(f.at(30)));
    QCOMPARE(QWidget::mouseGrabber(), nullptr);
    QVERIFY(!f.slider->isSliderDown());
    QCOMPARE(released.count(), 1);
    QCOMPARE(f.slider->value(), 30);
}

void TestSlider::valueChangeGlidesOnTheClock()
{
    ManualAnimationClock clock;
    SliderFixture f;
    f.slider->setAnimated(true);
    QWidget* handle = f.slider->handleButton();
    f.slider->setValue(80);
    clock.advance(10);
    const int early = f.centreOf(handle).x();
    QVERIFY(early > f.at(0).x());
    QVERIFY(early < f.at(80).x());
    clock.advance(1000);
    QCOMPARE(f.centreOf(handle).x(), f.at(80).x());
}

void TestSlider::trimDragSignalsComeInOrder()
{
    SliderFixture f;
    f.slider->setTrimValues(20, 80);
    f.slider->setTrimsVisible(true);
    QStringList seen;
    const auto record = [&](const char* name) { return [&seen, name](int v) { seen << QString("%1 %2").arg(name).arg(v); }; };
    connect(f.slider, &CSlider::lowerTrimPressed, this, record("pressed"));
    connect(f.slider, &CSlider::lowerTrimMoved, this, record("moved"));
    connect(f.slider, &CSlider::lowerTrimChanged, this, record("changed"));
    connect(f.slider, &CSlider::lowerTrimReleased, this, record("released"));
    connect(f.slider, &CSlider::upperTrimChanged, this, record("upper changed"));
    f.drag(f.slider->trimHandle(false), 35);
    QCOMPARE(seen, QStringList({"pressed 20", "moved 35", "changed 35", "released 35"}));
    QCOMPARE(f.slider->lastReleasedHandle(), f.slider->trimHandle(false));
    // Blocked signals: the value still follows.
    seen.clear();
    f.slider->blockSignals(true);
    f.drag(f.slider->trimHandle(false), 40);
    f.slider->blockSignals(false);
    QVERIFY(seen.isEmpty());
    QCOMPARE(f.slider->lowerTrim(), 40);
}

void TestSlider::keysMoveTheLastReleasedTrim_data()
{
    QTest::addColumn<bool>("upper");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("shift");
    QTest::addColumn<int>("expected");
    QTest::newRow("right on the upper trim") << true << 70 << int(Qt::Key_Right) << false << 71;
    QTest::newRow("left on the upper trim") << true << 70 << int(Qt::Key_Left) << false << 69;
    QTest::newRow("shift right takes the page step") << true << 70 << int(Qt::Key_Right) << true << 80;
    QTest::newRow("shift left on the lower trim") << false << 30 << int(Qt::Key_Left) << true << 20;
    QTest::newRow("left stops at the minimum") << false << 5 << int(Qt::Key_Left) << true << 0;
}

void TestSlider::keysMoveTheLastReleasedTrim()
{
    QFETCH(bool, upper);
    QFETCH(int, start);
    QFETCH(int, key);
    QFETCH(bool, shift);
    QFETCH(int, expected);
    SliderFixture f;
    f.slider->setPageStep(10);
    f.slider->setTrimValues(20, 80);
    f.slider->setTrimsVisible(true);
    f.slider->setTrimsEnabled(true);
    f.drag(f.slider->trimHandle(upper), start);
    QSignalSpy changed(f.slider, upper ? &CSlider::upperTrimChanged : &CSlider::lowerTrimChanged);
    QTest::keyClick(f.slider, Qt::Key(key), shift ? Qt::ShiftModifier : Qt::NoModifier);
    QCOMPARE(upper ? f.slider->upperTrim() : f.slider->lowerTrim(), expected);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(f.slider->value(), expected);
    QCOMPARE(f.centreOf(f.slider->handleButton()).x(), f.at(expected).x());
    // Keys that would move the value do nothing while trims are on.
    QTest::keyClick(f.slider, Qt::Key_End);
    QCOMPARE(f.slider->value(), expected);
}

void TestSlider::setValueSilentlyEmitsNothingAndRepaints()
{
    SliderFixture f;
    f.slider->setValue(10);
    QSignalSpy changed(f.slider, &QAbstractSlider::valueChanged);
    int paints = 0;
    struct PaintCounter : QObject
    {
        int* count;
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::Paint)
                ++*count;
            return false;
        }
    } counter;
    counter.count = &paints;
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    f.slider->installEventFilter(&counter);
    f.slider->setValueSilently(10);
    QTRY_VERIFY(paints > 0);
    f.slider->setValueSilently(40);
    QCOMPARE(f.slider->value(), 40);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(f.centreOf(f.slider->handleButton()).x(), f.at(40).x());
}

void TestSlider::styleGivesHandleAndGroove_data()
{
    QTest::addColumn<Qt::Orientation>("orientation");
    QTest::addColumn<QSize>("handle");
    QTest::addColumn<QSize>("least");
    QTest::newRow("horizontal") << Qt::Horizontal << QSize(8, 24) << QSize(60, 24);
    QTest::newRow("vertical") << Qt::Vertical << QSize(24, 8) << QSize(24, 60);
}

void TestSlider::styleGivesHandleAndGroove()
{
    QFETCH(Qt::Orientation, orientation);
    QFETCH(QSize, handle);
    QFETCH(QSize, least);
    CSlider slider(37, orientation);
    QCOMPARE(slider.handleButton()->size(), handle);
    QCOMPARE(slider.handleButton()->radius(), (CPanelDraw::Radii{4, 4, 4, 4}));
    QCOMPARE(slider.handleButton()->backgroundColors().normal, currentPalette()->color(0));
    QCOMPARE(slider.minimumSizeHint(), least);
    if (orientation == Qt::Horizontal)
        QCOMPARE(slider.minimumHeight(), 24);
    else
        QCOMPARE(slider.minimumWidth(), 8);
    QCOMPARE(slider.pressMode(), 0);
    QCOMPARE(qvariant_cast<QObject*>(slider.handleButton()->property("PROP_POINTER_TO_SLIDER")), &slider);
    // A kind that is not the slider's leaves the handle unstyled.
    CSlider plain(36, orientation);
    QVERIFY(plain.handleButton()->size() != handle);
    // Groove two pixels thick, centred across the track, square ends.
    const QColor groove(255, 0, 0);
    slider.setGrooveColors(groove, groove);
    slider.resize(orientation == Qt::Horizontal ? QSize(100, 24) : QSize(24, 100));
    slider.handleButton()->hide();
    const QImage image = renderWidget(&slider, 1.0);
    const bool horizontal = orientation == Qt::Horizontal;
    for (int across = 0; across < 24; ++across) {
        const QPoint p = horizontal ? QPoint(0, across) : QPoint(across, 99);
        QCOMPARE(devicePixel(image, p.x(), p.y()) == groove, across == 11 || across == 12);
    }
}

void TestSlider::tipShowsCallbackTextAndHidesOnLeave()
{
    SliderFixture f;
    f.slider->setTipTextFunction([](int value, QString& text, QString& secondary) {
        text = QString("%1 %").arg(value);
        secondary = QString("of %1").arg(100);
    });
    CButton* tip = f.slider->tipButton();
    QVERIFY(tip->isHidden());
    f.send(f.slider, QEvent::MouseMove, f.at(40), Qt::NoButton, Qt::NoButton);
    QVERIFY(tip->isVisible());
    QCOMPARE(tip->text(), QString("40 %"));
    QCOMPARE(tip->secondaryText(), QString("of 100"));
    QCOMPARE(tip->size(), tip->sizeHint());
    // Centred over the pixel of its value, above the track.
    const QPoint spot = f.slider->mapTo(&f.window, f.at(40));
    QCOMPARE(tip->x() + tip->width() / 2, spot.x());
    QVERIFY(tip->geometry().bottom() < spot.y());
    // Hovering the value handle shows the slider's own value.
    f.slider->setValue(70);
    emit f.slider->handleButton()->hovered();
    QCOMPARE(tip->text(), QString("70 %"));
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(f.slider, &leave);
    QVERIFY(tip->isHidden());
}

void TestSlider::hoverMarkFollowsTheMouse()
{
    SliderFixture f;
    f.slider->setMarks(-2);
    QHoverEvent move(QEvent::HoverMove, QPointF(f.at(30)), QPointF(0, 0));
    QCoreApplication::sendEvent(f.slider, &move);
    QCOMPARE(f.slider->hoverPosition(), f.at(30).x());
    QHoverEvent leave(QEvent::HoverLeave, QPointF(-1, -1), QPointF(f.at(30)));
    QCoreApplication::sendEvent(f.slider, &leave);
    QCOMPARE(f.slider->hoverPosition(), -1);
    f.slider->setMarks(5);
    QCoreApplication::sendEvent(f.slider, &move);
    QCOMPARE(f.slider->hoverPosition(), -1);
}

void TestSlider::paintsFillAndMarks_data()
{
    QTest::addColumn<int>("marks");
    QTest::addColumn<int>("value");
    // Pixels along the groove that show the fill colour, the groove colour and a mark.
    QTest::addColumn<QList<int>>("fill");
    QTest::addColumn<QList<int>>("groove");
    QTest::addColumn<QList<int>>("marked");
    QTest::addColumn<double>("ratio");
    for (double ratio : testRatios()) {
        QTest::addRow("fill from the minimum @%g", ratio)
            << 0 << 50 << QList<int>{1, 50, 98} << QList<int>{112, 150, 206} << QList<int>{} << ratio;
        QTest::addRow("empty fill at the minimum @%g", ratio)
            << 0 << 0 << QList<int>{} << QList<int>{20, 104, 206} << QList<int>{} << ratio;
        QTest::addRow("centre mark fills back to the centre @%g", ratio)
            << 1 << 25 << QList<int>{60, 80, 100} << QList<int>{1, 40, 150} << QList<int>{104} << ratio;
        QTest::addRow("centre mark fills on to the handle @%g", ratio)
            << 1 << 75 << QList<int>{110, 130, 145} << QList<int>{1, 60, 170} << QList<int>{104} << ratio;
        QTest::addRow("five marks @%g", ratio)
            << 5 << 0 << QList<int>{} << QList<int>{30, 80, 130} << QList<int>{4, 54, 104, 154} << ratio;
    }
}

void TestSlider::paintsFillAndMarks()
{
    QFETCH(int, marks);
    QFETCH(int, value);
    QFETCH(QList<int>, fill);
    QFETCH(QList<int>, groove);
    QFETCH(QList<int>, marked);
    QFETCH(double, ratio);
    const QColor grooveColour(255, 0, 0);
    const QColor fillColour(0, 0, 255);
    const QColor markColour(0, 255, 0);
    CSlider slider(37, Qt::Horizontal);
    slider.resize(208, 24);
    slider.setGrooveColors(grooveColour, fillColour);
    slider.setMarks(marks);
    slider.setMarkLook(QSize(4, 8), 2, markColour);
    slider.setValue(value);
    if (value == 0 || value == 100)
        slider.handleButton()->hide();
    const QImage image = renderWidget(&slider, ratio);
    const auto at = [&](int x, double y) { return logicalPixel(image, QPointF(x + 0.5, y)); };
    for (int x : fill)
        QCOMPARE(at(x, 11.5), fillColour);
    for (int x : groove)
        QCOMPARE(at(x, 11.5), grooveColour);
    // Marks are 8 high, centred on the groove: 8 to 16.
    for (int x : marked) {
        QCOMPARE(at(x, 9.5), markColour);
        QCOMPARE(at(x + 4, 9.5), QColor(Qt::transparent));
    }
    if (marked.isEmpty())
        QCOMPARE(at(104, 9.5), QColor(Qt::transparent));
}

TY_UI_TEST_MAIN(TestSlider)
#include "tst_slider.moc"

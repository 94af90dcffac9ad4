#include "support/UiTestSupport.h"

#include "app/CSystemTools.h"
#include "uilib/style/COpacityEffect.h"
#include "uilib/style/CResourceCache.h"
#include "uilib/style/CShadowEffect.h"
#include "uilib/style/ColorUtils.h"

#include <QGraphicsOpacityEffect>

#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QWidget>

namespace {

// A widget that paints itself in one colour, also when its paint events are opaque.
class Filled : public QWidget
{
public:
    Filled(const QColor& color, QWidget* parent = nullptr) : QWidget(parent), m_color(color) {}
    void setColor(const QColor& color)
    {
        m_color = color;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), m_color); }

private:
    QColor m_color;
};

// A white scene with a red panel at (40, 20), 60 x 40.
struct Scene
{
    Scene()
    {
        container.resize(200, 120);
        panel.setGeometry(40, 20, 60, 40);
    }
    QImage render(double ratio) { return renderWidget(&container, ratio); }

    Filled container{Qt::white};
    Filled panel{Qt::red, &container};
};

// Equal within the rounding of opacity blending.
bool isNear(const QColor& actual, const QColor& expected)
{
    const int tolerance = 2;
    return qAbs(actual.red() - expected.red()) <= tolerance && qAbs(actual.green() - expected.green()) <= tolerance
        && qAbs(actual.blue() - expected.blue()) <= tolerance && qAbs(actual.alpha() - expected.alpha()) <= tolerance;
}

#define VERIFY_NEAR(actual, expected)                                                                    \
    QVERIFY2(isNear(actual, expected), qPrintable(QStringLiteral("%1, expected %2")                     \
                                                      .arg((actual).name(QColor::HexArgb))              \
                                                      .arg((expected).name(QColor::HexArgb))))

} // namespace

Q_DECLARE_METATYPE(QMargins)

// The opacity, slide and drop-shadow effects.
class TestEffects : public QObject
{
    Q_OBJECT
private slots:
    void opacityClampsAndAutoEnables();
    void slideShiftsPicture_data();
    void slideShiftsPicture();
    void cachingKeepsPicture();
    void stopCachingAfterAreaDeleted();
    void shadowDrawn_data();
    void shadowDrawn();
    void shadowCompositedWithWidget();
    void boundingRect_data();
    void boundingRect();
    void shadowSetters();
    void shadowCacheSharing();
    void cachedShadowLooksTheSame_data();
    void cachedShadowLooksTheSame();
};

void TestEffects::opacityClampsAndAutoEnables()
{
    QWidget widget;
    auto* effect = new COpacityEffect(&widget);
    QCOMPARE(widget.graphicsEffect(), effect);
    QVERIFY(!effect->isEnabled());
    effect->setOpacity(1.5);
    QCOMPARE(effect->opacity(), 1.0);
    QVERIFY(!effect->isEnabled());
    effect->setOpacity(0.999);
    QVERIFY(effect->isEnabled());
    effect->setOpacity(-0.2);
    QCOMPARE(effect->opacity(), 0.0);
    effect->setOpacity(1.0);
    QVERIFY(!effect->isEnabled());
    effect->setAutoEnable(false);
    QVERIFY(effect->isEnabled());
    effect->setAutoEnable(true);
    QVERIFY(!effect->isEnabled());
}

void TestEffects::slideShiftsPicture_data()
{
    QTest::addColumn<double>("ratio");
    addRatioRows();
}

void TestEffects::slideShiftsPicture()
{
    QFETCH(double, ratio);
    Scene scene;
    auto* effect = new COpacityEffect(&scene.panel);
    effect->setSlide(Qt::RightEdge, 40);
    effect->setOpacity(0.25);
    const QImage image = scene.render(ratio);
    // 30 logical pixels to the right, at a quarter of the colour, within the panel's place.
    const QColor quarterRed(255, 191, 191);
    QCOMPARE(logicalPixel(image, QPointF(40.5, 40)), QColor(Qt::white));
    QCOMPARE(logicalPixel(image, QPointF(69.5, 40)), QColor(Qt::white));
    VERIFY_NEAR(logicalPixel(image, QPointF(70.5, 40)), quarterRed);
    VERIFY_NEAR(logicalPixel(image, QPointF(99.5, 40)), quarterRed);
    QCOMPARE(logicalPixel(image, QPointF(100.5, 40)), QColor(Qt::white));
}

void TestEffects::cachingKeepsPicture()
{
    Scene scene;
    auto* effect = new COpacityEffect(&scene.panel);
    effect->setOpacity(0.5);
    effect->startCaching();
    VERIFY_NEAR(logicalPixel(scene.render(1.0), QPointF(50, 30)), QColor(255, 128, 128));
    scene.panel.setColor(Qt::blue);
    VERIFY_NEAR(logicalPixel(scene.render(1.0), QPointF(50, 30)), QColor(255, 128, 128));
    effect->stopCaching();
    VERIFY_NEAR(logicalPixel(scene.render(1.0), QPointF(50, 30)), QColor(128, 128, 255));
}

void TestEffects::stopCachingAfterAreaDeleted()
{
    QWidget panel;
    auto* doomed = new QScrollArea(&panel);
    auto* kept = new QScrollArea(&panel);
    kept->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* hidden = new QScrollArea(&panel);
    hidden->hide();
    auto* foreign = new QGraphicsOpacityEffect;
    kept->verticalScrollBar()->setGraphicsEffect(foreign);
    auto* effect = new COpacityEffect(&panel);

    effect->startCaching();
    QVERIFY(effect->isCaching());
    QVERIFY(doomed->viewport()->graphicsEffect());
    QVERIFY(doomed->horizontalScrollBar()->graphicsEffect());
    QVERIFY(kept->viewport()->graphicsEffect());
    QVERIFY(!kept->horizontalScrollBar()->graphicsEffect());
    QCOMPARE(kept->verticalScrollBar()->graphicsEffect(), foreign);
    QVERIFY(!hidden->viewport()->graphicsEffect());

    delete doomed;
    effect->stopCaching();
    QVERIFY(!effect->isCaching());
    QVERIFY(!kept->viewport()->graphicsEffect());
    QCOMPARE(kept->verticalScrollBar()->graphicsEffect(), foreign);

    // An effect replaced while caching takes its repaint effects along.
    effect->startCaching();
    QVERIFY(kept->viewport()->graphicsEffect());
    panel.setGraphicsEffect(nullptr);
    QVERIFY(!kept->viewport()->graphicsEffect());
}

void TestEffects::shadowDrawn_data()
{
    QTest::addColumn<double>("ratio");
    QTest::addColumn<QColor>("color");
    QTest::newRow("default @1") << 1.0 << QColor(63, 63, 63, 180);
    QTest::newRow("default @2") << 2.0 << QColor(63, 63, 63, 180);
    QTest::newRow("blue @1") << 1.0 << QColor(0, 0, 255, 180);
    QTest::newRow("blue @2") << 2.0 << QColor(0, 0, 255, 180);
}

void TestEffects::shadowDrawn()
{
    QFETCH(double, ratio);
    QFETCH(QColor, color);
    Scene scene;
    auto* effect = new CShadowEffect(&scene.panel);
    QVERIFY(effect->isEnabled());
    effect->setColor(color);
    const QImage image = scene.render(ratio);
    // The panel at its place; inside the shadow, 8 down and right, the shadow's colour on white.
    QCOMPARE(logicalPixel(image, QPointF(41, 21)), QColor(Qt::red));
    VERIFY_NEAR(logicalPixel(image, QPointF(104, 64)), mixColors(Qt::white, color));
    QCOMPARE(logicalPixel(image, QPointF(112, 72)), QColor(Qt::white));
    QCOMPARE(logicalPixel(image, QPointF(42, 58)), QColor(Qt::red));
    QCOMPARE(logicalPixel(image, QPointF(30, 30)), QColor(Qt::white));
}

void TestEffects::shadowCompositedWithWidget()
{
    Scene scene;
    auto* effect = new CShadowEffect(&scene.panel);
    effect->setColor(Qt::black);
    effect->setOpacity(0.5);
    const QImage image = scene.render(1.0);
    // Where the shadow lies under the panel the panel alone shows, at half opacity.
    const QColor clear = logicalPixel(image, QPointF(42, 22));
    VERIFY_NEAR(clear, QColor(255, 128, 128));
    VERIFY_NEAR(logicalPixel(image, QPointF(90, 50)), clear);
    VERIFY_NEAR(logicalPixel(image, QPointF(104, 64)), QColor(128, 128, 128));
}

void TestEffects::boundingRect_data()
{
    QTest::addColumn<QPointF>("offset");
    QTest::addColumn<double>("radius");
    QTest::addColumn<QMargins>("padding");
    QTest::addColumn<QRectF>("expected");
    QTest::newRow("default") << QPointF(8, 8) << 1.0 << QMargins() << QRectF(0, 0, 70, 50);
    QTest::newRow("up and left") << QPointF(-10, -10) << 3.0 << QMargins() << QRectF(-16, -16, 76, 56);
    // A padding of 100 on a widget 60 wide counts as 28.
    QTest::newRow("padding limited") << QPointF(-40, 0) << 1.0 << QMargins(100, 0, 0, 0)
                                     << QRectF(-14, -2, 74, 44);
    QTest::newRow("padding") << QPointF(0, 20) << 0.0 << QMargins(0, 0, 0, 4) << QRectF(0, 0, 60, 56);
}

void TestEffects::boundingRect()
{
    QFETCH(QPointF, offset);
    QFETCH(double, radius);
    QFETCH(QMargins, padding);
    QFETCH(QRectF, expected);
    QWidget widget;
    widget.resize(60, 40);
    auto* effect = new CShadowEffect(&widget);
    effect->setOffset(offset);
    effect->setBlurRadius(radius);
    effect->setPadding(padding);
    QCOMPARE(effect->boundingRectFor(QRectF(0, 0, 60, 40)), expected);
}

void TestEffects::shadowSetters()
{
    CShadowEffect effect(nullptr);
    QSignalSpy offset(&effect, &CShadowEffect::offsetChanged);
    QSignalSpy radius(&effect, &CShadowEffect::blurRadiusChanged);
    QSignalSpy padding(&effect, &CShadowEffect::paddingChanged);
    QSignalSpy color(&effect, &CShadowEffect::colorChanged);
    effect.setOffset(QPointF(8.0, 8.0 + 1e-14));
    effect.setBlurRadius(1.0);
    effect.setPadding(QMargins());
    effect.setColor(QColor(63, 63, 63, 180));
    QCOMPARE(offset.count() + radius.count() + padding.count() + color.count(), 0);
    effect.setYOffset(3.0);
    effect.setBlurRadius(4.0);
    effect.setPadding(QMargins(1, 2, 3, 4));
    effect.setColor(Qt::blue);
    QCOMPARE(offset.count(), 1);
    QCOMPARE(effect.offset(), QPointF(8.0, 3.0));
    QCOMPARE(effect.property("blurRadius").toDouble(), 4.0);
    QCOMPARE(padding.count(), 1);
    QCOMPARE(color.count(), 1);
}

void TestEffects::shadowCacheSharing()
{
    CResourceCache* cache = CSystemTools::instance()->resourceCache();
    Scene first;
    Scene second;
    // A size of their own, so no other test's shadow is found.
    first.panel.resize(61, 43);
    second.panel.resize(61, 43);
    auto* firstEffect = new CShadowEffect(&first.panel);
    auto* secondEffect = new CShadowEffect(&second.panel);

    const int empty = cache->totalCost();
    first.render(1.0);
    second.render(1.0);
    QCOMPARE(cache->totalCost(), empty);

    first.panel.setAttribute(Qt::WA_OpaquePaintEvent);
    first.render(1.0);
    const int one = cache->totalCost();
    QVERIFY(one > empty);
    second.panel.setAttribute(Qt::WA_OpaquePaintEvent);
    second.render(1.0);
    QCOMPARE(cache->totalCost(), one);

    // Another colour is another image, also for the same widget.
    secondEffect->setColor(Qt::blue);
    VERIFY_NEAR(logicalPixel(second.render(1.0), QPointF(104, 66)), mixColors(Qt::white, Qt::blue));
    QVERIFY(cache->totalCost() > one);
    firstEffect->setColor(Qt::blue);
    VERIFY_NEAR(logicalPixel(first.render(1.0), QPointF(104, 66)), mixColors(Qt::white, Qt::blue));
    firstEffect->setColor(QColor(0, 255, 0, 128));
    VERIFY_NEAR(logicalPixel(first.render(1.0), QPointF(104, 66)), mixColors(Qt::white, QColor(0, 255, 0, 128)));
}

// At a fractional ratio a picture of the widget lands between device pixels; painted directly
// the widget stays sharp, so only whole ratios give the same pixels.
void TestEffects::cachedShadowLooksTheSame_data()
{
    QTest::addColumn<double>("ratio");
    QTest::newRow("@1") << 1.0;
    QTest::newRow("@2") << 2.0;
}

// An opaque widget whose shadow is cached is painted without a picture of it: the same pixels.
void TestEffects::cachedShadowLooksTheSame()
{
    QFETCH(double, ratio);
    Scene made;
    Scene cached;
    for (Scene* scene : {&made, &cached}) {
        auto* effect = new CShadowEffect(&scene->panel);
        effect->setBlurRadius(5);
        effect->setOffset(QPointF(-3, 6));
        effect->setColor(QColor(20, 90, 40, 200));
    }
    cached.panel.setAttribute(Qt::WA_OpaquePaintEvent);
    cached.render(ratio);
    const QImage expected = made.render(ratio);
    QCOMPARE(cached.render(ratio), expected);
    QVERIFY(logicalPixel(expected, QPointF(38, 62)) != QColor(Qt::white));
}

TY_UI_TEST_MAIN(TestEffects)
#include "tst_effects.moc"

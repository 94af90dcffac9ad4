#include "support/UiTestSupport.h"

#include "uilib/style/CAnimationIcon.h"
#include "uilib/style/CAnimationWidget.h"
#include "uilib/style/CIconRepo.h"
#include "uilib/style/CStyle.h"

using namespace CAnimationIcon;

namespace {

// The area of the image's ink in device pixels, partial pixels counted by their alpha.
double inkArea(const QPixmap& pixmap)
{
    const QImage image = pixmap.toImage();
    double area = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            area += image.pixelColor(x, y).alphaF();
    return area;
}

// The check box with only its mark showing.
void markOnly(CheckBoxIcon& icon)
{
    currentPalette()->styleAnimationIcon(&icon);
    icon.setBackgroundColors(ColorSet(Qt::transparent));
    icon.setBorderColors(ColorSet(Qt::transparent));
    icon.setMarkColors(ColorSet(Qt::black));
}

void setCheckedAt(CAnimationWidget& state, double p)
{
    state.setChecked(true, false);
    state.setCheckedProgress(p);
}

} // namespace

class TestAnimationIcons : public QObject
{
    Q_OBJECT
private slots:
    void lerpRectEnds();
    void halfTheMarkAtHalfProgress();
    void markThicknessAtRatios();
    void radioDot();
    void toggleGlyphAndKnob_data();
    void toggleGlyphAndKnob();
    void trackAlphaFadesGlyph();
    void reRegisteringKeepsFirstIcons();
};

void TestAnimationIcons::lerpRectEnds()
{
    const QRectF from(0, 0, 0, 0);
    const QRectF to(2, 4, 10, 20);
    QCOMPARE(lerpRect(from, to, 0.0), from);
    QCOMPARE(lerpRect(from, to, 1.0), to);
    QCOMPARE(lerpRect(from, to, 0.5), QRectF(1, 2, 5, 10));
}

void TestAnimationIcons::halfTheMarkAtHalfProgress()
{
    CheckBoxIcon icon;
    markOnly(icon);
    CAnimationWidget state(0, nullptr);
    setCheckedAt(state, 1.0);
    const double whole = inkArea(icon.paint(2.0, QSize(), QColor(), state));
    QVERIFY(whole > 10);
    setCheckedAt(state, 0.5);
    const double half = inkArea(icon.paint(2.0, QSize(), QColor(), state));
    QVERIFY2(qAbs(half / whole - 0.5) < 0.1, qPrintable(QString::number(half / whole)));
    setCheckedAt(state, 0.0);
    QCOMPARE(inkArea(icon.paint(2.0, QSize(), QColor(), state)), 0.0);
}

void TestAnimationIcons::markThicknessAtRatios()
{
    CheckBoxIcon icon;
    markOnly(icon);
    CAnimationWidget state(0, nullptr);
    setCheckedAt(state, 1.0);
    const double one = inkArea(icon.paint(1.0, QSize(), QColor(), state));
    const double two = inkArea(icon.paint(2.0, QSize(), QColor(), state));
    // The same logical mark covers four times the device pixels at ratio 2.
    QVERIFY2(qAbs(two / one - 4.0) < 0.6, qPrintable(QString::number(two / one)));
}

void TestAnimationIcons::radioDot()
{
    RadioIcon icon;
    currentPalette()->styleAnimationIcon(&icon);
    const QRectF r(0, 0, 18, 18);
    QVERIFY(icon.dotRect(r, true, 0.0).isEmpty());
    QCOMPARE(icon.dotRect(r, true, 0.0).center(), r.center());
    QCOMPARE(icon.dotRect(r, true, 1.0), QRectF(5, 5, 8, 8));
    QCOMPARE(icon.dotRect(r, false, 0.0), QRectF(5, 5, 8, 8));

    icon.setBackgroundColors(ColorSet(Qt::transparent));
    icon.setBorderColors(ColorSet(Qt::transparent));
    CAnimationWidget state(0, nullptr);
    setCheckedAt(state, 0.0);
    QCOMPARE(logicalPixel(icon.paint(1.0, QSize(), QColor(), state).toImage(), QPointF(9, 9)).alpha(), 0);
    setCheckedAt(state, 1.0);
    QCOMPARE(logicalPixel(icon.paint(1.0, QSize(), QColor(), state).toImage(), QPointF(9, 9)), QColor(Qt::white));
}

void TestAnimationIcons::toggleGlyphAndKnob_data()
{
    QTest::addColumn<double>("p");
    QTest::addColumn<bool>("cross");
    QTest::addColumn<double>("opacity");
    QTest::addColumn<double>("knobLeft");
    // 28 x 18 with the knob inset 3: the knob is 12 wide and runs from x 3 to x 13.
    QTest::newRow("0") << 0.0 << true << 1.0 << 3.0;
    QTest::newRow("0.49") << 0.49 << true << 0.51 << 3.0 + 10 * 0.49;
    QTest::newRow("0.5") << 0.5 << false << 0.5 << 8.0;
    QTest::newRow("1") << 1.0 << false << 1.0 << 13.0;
}

void TestAnimationIcons::toggleGlyphAndKnob()
{
    QFETCH(double, p);
    QFETCH(bool, cross);
    QFETCH(double, opacity);
    QFETCH(double, knobLeft);
    ToggleIcon icon;
    currentPalette()->styleAnimationIcon(&icon);
    const QByteArray glyph = ToggleIcon::glyphSvg(p, QColor(0x656565));
    QCOMPARE(glyph.contains("viewBox='0 0 8 8'"), cross);
    QCOMPARE(glyph.contains("viewBox='0 -1 10 10'"), !cross);
    QVERIFY(glyph.contains("stroke='#656565'"));
    QVERIFY(glyph.contains("opacity='1'"));
    QVERIFY(qFuzzyCompare(ToggleIcon::glyphOpacity(p), opacity));
    const QRectF knob = icon.knobRect(QRectF(0, 0, 28, 18), p);
    QVERIFY(qFuzzyCompare(knob.left(), knobLeft));
    QCOMPARE(knob.size(), QSizeF(12, 12));
}

void TestAnimationIcons::trackAlphaFadesGlyph()
{
    const QByteArray glyph = ToggleIcon::glyphSvg(1.0, QColor(255, 0, 0, 128));
    QVERIFY(glyph.contains("stroke='#ff0000'"));
    QVERIFY(glyph.contains(QStringLiteral("opacity='%1'").arg(128 / 255.0).toLatin1()));

    // On the knob, the glyph of a half-transparent track is half as strong.
    ToggleIcon icon;
    currentPalette()->styleAnimationIcon(&icon);
    CAnimationWidget state(0, nullptr);
    setCheckedAt(state, 1.0);
    const auto redOnKnob = [&](const QColor& track) {
        icon.setTrackColors(ColorSet(track, track, track, track));
        const QImage image = icon.paint(4.0, QSize(), QColor(), state).toImage();
        // The square inside the round knob, where no track shows.
        const QRectF round = icon.knobRect(QRectF(0, 0, 28, 18), 1.0);
        QRectF knob(QPointF(), round.size() * 0.7);
        knob.moveCenter(round.center());
        double lost = 0;
        for (int y = int(knob.top() * 4); y < int(knob.bottom() * 4); ++y)
            for (int x = int(knob.left() * 4); x < int(knob.right() * 4); ++x)
                lost += 255 - image.pixelColor(x, y).green();
        return lost;
    };
    const double full = redOnKnob(QColor(255, 0, 0));
    const double half = redOnKnob(QColor(255, 0, 0, 128));
    QVERIFY(full > 0);
    QVERIFY2(qAbs(half / full - 0.5) < 0.1, qPrintable(QString::number(half / full)));
}

void TestAnimationIcons::reRegisteringKeepsFirstIcons()
{
    CIconRepo* repo = CIconRepo::instance();
    // The application's style set-up registered them already.
    CIcon* check = repo->icon(QStringLiteral("CheckBoxIcon1"));
    CIcon* radio = repo->icon(QStringLiteral("RadioIcon1"));
    CIcon* toggle = repo->icon(QStringLiteral("ToggleIcon1"));
    QVERIFY(dynamic_cast<CheckBoxIcon*>(check));
    QVERIFY(dynamic_cast<RadioIcon*>(radio));
    QVERIFY(dynamic_cast<ToggleIcon*>(toggle));
    QCOMPARE(check->defaultSize(), QSize(18, 18));
    QCOMPARE(toggle->defaultSize(), QSize(28, 18));
    registerStandardIcons();
    QCOMPARE(repo->icon(QStringLiteral("CheckBoxIcon1")), check);
    QCOMPARE(repo->icon(QStringLiteral("RadioIcon1")), radio);
    QCOMPARE(repo->icon(QStringLiteral("ToggleIcon1")), toggle);
}

TY_UI_TEST_MAIN(TestAnimationIcons)
#include "tst_animationicons.moc"

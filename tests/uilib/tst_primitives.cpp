#include "support/UiTestSupport.h"

#include "uilib/style/CPainterScope.h"
#include "uilib/style/DrawPrimitives.h"

#include <QPainter>
#include <QStyleOption>
#include <QtMath>

namespace {

const QColor Ink(Qt::black);
const QColor Fill(Qt::red);

bool isWhole(double value)
{
    return qAbs(value - qRound(value)) < 1e-9;
}

int alphaAt(const QImage& image, const QPointF& logical)
{
    return logicalPixel(image, logical).alpha();
}

int inkedPixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y).alpha() > 0;
    return count;
}

} // namespace

class TestPrimitives : public QObject
{
    Q_OBJECT
private slots:
    void scopeSnapsEdges_data();
    void scopeSnapsEdges();
    void snapHelpers();
    void framedRectPenInsets_data();
    void framedRectPenInsets();
    void frameCorners_data();
    void frameCorners();
    void arrows_data();
    void arrows();
    void dropMarker_data();
    void dropMarker();
    void pixelAlignedLine_data();
    void pixelAlignedLine();
    void recolorImage_data();
    void recolorImage();
    void grabWidgetBlurred();
};

void TestPrimitives::scopeSnapsEdges_data()
{
    QTest::addColumn<double>("ratio");
    addRatioRows();
}

void TestPrimitives::scopeSnapsEdges()
{
    QFETCH(double, ratio);
    paintAtRatio(QSize(40, 30), ratio, [ratio](QPainter* painter) {
        painter->translate(0.3, 0.7);
        const QTransform before = painter->deviceTransform();
        QStyleOption option;
        option.rect = QRect(3, 5, 17, 11);
        {
            CPainterScope scope(painter, &option);
            QCOMPARE(scope.scale(), ratio);
            const QTransform t = painter->deviceTransform();
            const QRectF area = scope.area();
            if (isWholeRatio(ratio)) {
                QCOMPARE(area, QRectF(option.rect));
                QCOMPARE(t, before);
            } else {
                QVERIFY(isWhole(t.dx()) && isWhole(t.dy()));
                for (double edge : {area.left() * ratio + t.dx(), area.right() * ratio + t.dx(),
                                    area.top() * ratio + t.dy(), area.bottom() * ratio + t.dy()})
                    QVERIFY2(isWhole(edge), qPrintable(QString::number(edge)));
                QVERIFY(qAbs(area.left() - option.rect.left()) < 1.0 / ratio);
            }
        }
        QCOMPARE(painter->deviceTransform(), before);
    });
}

void TestPrimitives::snapHelpers()
{
    QCOMPARE(snapToDevicePixels(QRectF(0.3, 0.3, 2.1, 2.1), 2.0), QRectF(0.3, 0.3, 2.1, 2.1));
    QCOMPARE(snapToDevicePixels(QRectF(1, 1, 3, 3), 1.5), QRectF(4.0 / 3, 4.0 / 3, 8.0 / 3, 8.0 / 3));
    const QMarginsF margins = snapToDevicePixels(QMarginsF(1, 2, 3, 0.5), 1.25);
    QCOMPARE(margins, QMarginsF(0.8, 2.4, 3.2, 0.8));
    QCOMPARE(toLogicalSize(QSize(15, 5), 2.0), QSize(8, 3));
    QCOMPARE(toLogicalSize(QSize(25, 10), 1.25), QSize(20, 8));
    const QPixmap pixmap = makeTransparentPixmap(QSizeF(10, 3), 1.25, Qt::transparent);
    QCOMPARE(pixmap.size(), QSize(13, 4));
    QCOMPARE(pixmap.devicePixelRatio(), 1.25);
    QCOMPARE(pixmap.toImage().pixelColor(0, 0).alpha(), 0);
}

void TestPrimitives::framedRectPenInsets_data()
{
    QTest::addColumn<double>("ratio");
    addRatioRows();
}

void TestPrimitives::framedRectPenInsets()
{
    QFETCH(double, ratio);
    const QRectF rect(4, 4, 24, 16);
    const QImage fillOnly = paintAtRatio(QSize(32, 24), ratio, [&](QPainter* painter) {
        painter->setPen(QPen(Ink, 0.0));
        painter->setBrush(Fill);
        drawFramedRect(painter, rect, true);
    });
    QCOMPARE(logicalPixel(fillOnly, QPointF(4.2, 10)), Fill);
    QCOMPARE(alphaAt(fillOnly, QPointF(3.5, 10)), 0);

    const QImage framed = paintAtRatio(QSize(32, 24), ratio, [&](QPainter* painter) {
        painter->setPen(QPen(Ink, 2));
        painter->setBrush(Fill);
        drawFramedRect(painter, rect, true);
    });
    QCOMPARE(alphaAt(framed, QPointF(3.5, 10)), 0);
    QCOMPARE(alphaAt(framed, QPointF(28.2, 10)), 0);
    QCOMPARE(logicalPixel(framed, QPointF(5, 10)), Ink);
    QCOMPARE(logicalPixel(framed, QPointF(26.9, 10)), Ink);
    QCOMPARE(logicalPixel(framed, QPointF(12, 10)), Fill);

    const QImage rounded = paintAtRatio(QSize(32, 24), ratio, [&](QPainter* painter) {
        painter->setPen(QPen(Ink, 2));
        painter->setBrush(Fill);
        drawRoundedRectInside(painter, rect, 6, true);
    });
    QCOMPARE(alphaAt(rounded, QPointF(3.5, 12)), 0);
    QCOMPARE(logicalPixel(rounded, QPointF(5, 12)), Ink);
    QCOMPARE(logicalPixel(rounded, QPointF(12, 12)), Fill);
    QCOMPARE(alphaAt(rounded, QPointF(4.3, 4.3)), 0);
}

void TestPrimitives::frameCorners_data()
{
    QTest::addColumn<double>("ratio");
    QTest::addColumn<QVector<int>>("radii");
    QTest::addColumn<QVector<bool>>("roundCorners");
    for (double ratio : testRatios()) {
        QTest::addRow("all round @%g", ratio) << ratio << QVector<int>{4, 4, 4, 4}
                                              << QVector<bool>{true, true, true, true};
        QTest::addRow("two round @%g", ratio) << ratio << QVector<int>{4, 0, 4, 0}
                                              << QVector<bool>{true, false, true, false};
        QTest::addRow("square @%g", ratio) << ratio << QVector<int>{0, 0, 0, 0}
                                           << QVector<bool>{false, false, false, false};
    }
}

void TestPrimitives::frameCorners()
{
    QFETCH(double, ratio);
    QFETCH(QVector<int>, radii);
    QFETCH(QVector<bool>, roundCorners);
    const QRectF rect(4, 4, 24, 16);
    const QImage image = paintAtRatio(QSize(32, 24), ratio, [&](QPainter* painter) {
        painter->setPen(Qt::NoPen);
        painter->setBrush(Fill);
        drawFrame(painter, rect, radii[0], radii[1], radii[2], radii[3], false);
    });
    const double in = 0.3;
    const QPointF corners[] = {rect.topLeft() + QPointF(in, in), rect.topRight() + QPointF(-in, in),
                               rect.bottomRight() + QPointF(-in, -in), rect.bottomLeft() + QPointF(in, -in)};
    for (int i = 0; i < 4; ++i) {
        const int alpha = alphaAt(image, corners[i]);
        QVERIFY2(roundCorners[i] ? alpha < 128 : alpha == 255, qPrintable(QStringLiteral("corner %1").arg(i)));
    }
    QCOMPARE(logicalPixel(image, rect.center()), Fill);
}

void TestPrimitives::arrows_data()
{
    QTest::addColumn<double>("ratio");
    addRatioRows();
}

void TestPrimitives::arrows()
{
    QFETCH(double, ratio);
    const QRectF box(0, 0, 20, 20);
    const auto draw = [&](Qt::ArrowType direction, double width) {
        return paintAtRatio(QSize(20, 20), ratio, [&](QPainter* painter) {
            drawArrow(painter, box, Ink, ArrowSpec{QSize(10, 6), QMargins(), direction, width});
        });
    };
    QCOMPARE(inkedPixels(draw(Qt::ArrowType(5), 0.0)), 0);
    QCOMPARE(inkedPixels(draw(Qt::NoArrow, 0.0)), 0);

    // The 10 x 6 box sits at (5, 7)-(15, 13).
    const QImage down = draw(Qt::DownArrow, 0.0);
    QCOMPARE(alphaAt(down, QPointF(10, 8)), 255);
    QCOMPARE(alphaAt(down, QPointF(10, 10)), 255);
    QCOMPARE(alphaAt(down, QPointF(5.5, 12.5)), 0);
    QCOMPARE(alphaAt(down, QPointF(10, 14)), 0);

    const QImage up = draw(Qt::UpArrow, 0.0);
    QCOMPARE(alphaAt(up, QPointF(10, 12)), 255);
    QCOMPARE(alphaAt(up, QPointF(5.5, 7.5)), 0);

    const QImage right = paintAtRatio(QSize(20, 20), ratio, [&](QPainter* painter) {
        drawArrow(painter, box, Ink, ArrowSpec{QSize(6, 10), QMargins(0, 0, 10, 0), Qt::RightArrow, 0.0});
    });
    QCOMPARE(alphaAt(right, QPointF(3, 10)), 255);
    QCOMPARE(alphaAt(right, QPointF(10, 10)), 0);

    // A stroked chevron leaves its inside empty.
    const QImage chevron = draw(Qt::DownArrow, 1.5);
    QCOMPARE(alphaAt(chevron, QPointF(10, 8)), 0);
    QVERIFY(alphaAt(chevron, QPointF(10, 12)) > 128);
}

void TestPrimitives::dropMarker_data()
{
    QTest::addColumn<double>("ratio");
    addRatioRows();
}

void TestPrimitives::dropMarker()
{
    QFETCH(double, ratio);
    const int stroke = qRound(ratio);
    // A line whose outer strokes start on device pixel 20.
    const double at = (20 + 1.5 * stroke) / ratio;
    const QImage vertical = paintAtRatio(QSize(40, 40), ratio, [&](QPainter* painter) {
        drawDropMarker(painter, QLineF(at, 2, at, 38), Ink);
    });
    const int row = qRound(20 * ratio);
    QVector<int> covered;
    for (int x = 0; x < vertical.width(); ++x) {
        const int alpha = vertical.pixelColor(x, row).alpha();
        if (alpha > 0) {
            QCOMPARE(alpha, 255);
            covered << x;
        }
    }
    QCOMPARE(covered.size(), 3 * stroke);
    QCOMPARE(covered.first(), 20);
    // Heads at both ends, nine pixels across.
    QVERIFY(alphaAt(vertical, QPointF(at - 2.8, 2.8)) > 0);
    QVERIFY(alphaAt(vertical, QPointF(at + 2.8, 37.2)) > 0);
    QCOMPARE(alphaAt(vertical, QPointF(at - 4, 20)), 0);

    const QImage horizontal = paintAtRatio(QSize(40, 40), ratio, [&](QPainter* painter) {
        drawDropMarker(painter, QLineF(2, at, 38, at), Ink);
    });
    int rows = 0;
    for (int y = 0; y < horizontal.height(); ++y)
        rows += horizontal.pixelColor(qRound(20 * ratio), y).alpha() == 255;
    QCOMPARE(rows, 3 * stroke);

    const QImage diagonal = paintAtRatio(QSize(40, 40), ratio, [&](QPainter* painter) {
        drawDropMarker(painter, QLineF(2, 2, 38, 30), Ink);
    });
    QCOMPARE(inkedPixels(diagonal), 0);
}

void TestPrimitives::pixelAlignedLine_data()
{
    QTest::addColumn<double>("ratio");
    QTest::addColumn<double>("offset");
    QTest::newRow("@1") << 1.0 << 0.0;
    QTest::newRow("@1.25") << 1.25 << 0.0;
    QTest::newRow("@1.5") << 1.5 << 0.5;
    QTest::newRow("@2") << 2.0 << 0.5;
}

void TestPrimitives::pixelAlignedLine()
{
    QFETCH(double, ratio);
    QFETCH(double, offset);
    const QImage image = paintAtRatio(QSize(30, 20), ratio, [](QPainter* painter) {
        painter->setPen(QPen(Ink, 1));
        drawPixelAlignedLine(painter, QPointF(2, 8), QPointF(28, 8));
        QVERIFY(!painter->testRenderHint(QPainter::Antialiasing));
    });
    // The centre of the ink down one column, in device pixels.
    const int column = qRound(15 * ratio);
    double weight = 0;
    double sum = 0;
    for (int y = 0; y < image.height(); ++y) {
        const double alpha = image.pixelColor(column, y).alphaF();
        weight += alpha;
        sum += alpha * (y + 0.5);
    }
    QVERIFY(weight > 0);
    QVERIFY2(qAbs(sum / weight - (8 + offset) * ratio) < 0.1, qPrintable(QString::number(sum / weight)));
}

void TestPrimitives::recolorImage_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<QRgb>("expected");
    QTest::newRow("straight") << int(QImage::Format_ARGB32) << qRgba(0, 0, 255, 128);
    QTest::newRow("premultiplied") << int(QImage::Format_ARGB32_Premultiplied) << qRgba(0, 0, 128, 128);
}

void TestPrimitives::recolorImage()
{
    QFETCH(int, format);
    QFETCH(QRgb, expected);
    QImage image(2, 1, QImage::Format(format));
    image.setPixelColor(0, 0, QColor(255, 0, 0, 128));
    image.setPixelColor(1, 0, QColor(0, 255, 0, 0));
    ::recolorImage(image, QColor(0, 0, 255, 10));
    QCOMPARE(int(image.format()), format);
    QCOMPARE(reinterpret_cast<const QRgb*>(image.constScanLine(0))[0], expected);
    QCOMPARE(image.pixelColor(1, 0).alpha(), 0);

    QImage opaque(1, 1, QImage::Format_RGB32);
    opaque.fill(Qt::white);
    ::recolorImage(opaque, Qt::green);
    QCOMPARE(opaque.format(), QImage::Format_ARGB32_Premultiplied);
    QCOMPARE(opaque.pixelColor(0, 0), QColor(Qt::green));
}

void TestPrimitives::grabWidgetBlurred()
{
    QWidget widget;
    widget.resize(20, 10);
    widget.setAutoFillBackground(true);
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, Qt::red);
    widget.setPalette(palette);

    QVERIFY(::grabWidgetBlurred(nullptr, 0, QWidget::DrawWindowBackground, QRect()).isNull());
    const QImage plain = ::grabWidgetBlurred(&widget, 0, QWidget::DrawWindowBackground, QRect()).toImage();
    QCOMPARE(plain.size(), QSize(20, 10));
    QVERIFY(isFlatImage(plain));
    QCOMPARE(plain.pixelColor(0, 0), QColor(Qt::red));

    const QImage part = ::grabWidgetBlurred(&widget, 0, QWidget::DrawWindowBackground, QRect(2, 2, 5, 4)).toImage();
    QCOMPARE(part.size(), QSize(5, 4));

    const QImage blurred = ::grabWidgetBlurred(&widget, 4, QWidget::DrawWindowBackground, QRect()).toImage();
    QCOMPARE(blurred.size(), QSize(20, 10));
    QVERIFY(blurred.pixelColor(0, 0).alpha() < 255);
    QVERIFY(blurred.pixelColor(10, 5).red() > 0);
}

TY_UI_TEST_MAIN(TestPrimitives)
#include "tst_primitives.moc"

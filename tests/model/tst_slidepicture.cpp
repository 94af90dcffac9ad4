#include <QtTest>

#include "model/MotionType.h"
#include "model/ProjectItemSimple.h"
#include "support/PhotoFixtures.h"

#include <QJsonObject>
#include <QPainter>

#include <limits>
#include <memory>

using namespace PhotoFixtures;

namespace {

bool near(QRgb actual, QRgb expected, int tolerance = 3)
{
    return qAbs(qRed(actual) - qRed(expected)) <= tolerance
        && qAbs(qGreen(actual) - qGreen(expected)) <= tolerance
        && qAbs(qBlue(actual) - qBlue(expected)) <= tolerance && qAlpha(actual) == qAlpha(expected);
}

QString describe(QRgb pixel)
{
    return QStringLiteral("argb %1").arg(pixel, 8, 16, QLatin1Char('0'));
}

// Every pixel opaque black.
bool allBlack(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(0, 0, 0))
                return false;
    return true;
}

// Where the frame's brightness is centred, to a small fraction of a pixel.
QPointF brightCentre(const QImage& frame)
{
    double sum = 0, x = 0, y = 0;
    for (int row = 0; row < frame.height(); ++row) {
        const auto* line = reinterpret_cast<const QRgb*>(frame.constScanLine(row));
        for (int column = 0; column < frame.width(); ++column) {
            const int value = qRed(line[column]);
            sum += value;
            x += double(value) * column;
            y += double(value) * row;
        }
    }
    return QPointF(x / sum, y / sum);
}

// A photo slide that keeps no caption.
std::unique_ptr<ProjectItemSimple> slide(const QString& path)
{
    auto item = std::make_unique<ProjectItemSimple>(path, 3000, 0);
    item->text().text.clear();
    return item;
}

} // namespace

class TestSlidePicture : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void coverCrop();
    void fitBars_data();
    void fitBars();
    void motionFitBars_data();
    void motionFitBars();
    void fitOverBlur();
    void exifOrientation();
    void captionOnCopyOnly();
    void unreadable_data();
    void unreadable();
    void stillCache();
    void motionCaches_data();
    void motionCaches();
    void clonesStartEmpty();
    void motionCrop_data();
    void motionCrop();
    void motionFrames_data();
    void motionFrames();
    void panSteps_data();
    void panSteps();
    void motionNoneIsStill();
    void ownMotion();
    void turnedCornersBlack();
    void largePictureDecodedSmall_data();
    void largePictureDecodedSmall();
    void emptySize();

private:
    QString write(const QString& name, const QImage& image, const char* format = "png");

    QTemporaryDir m_dir;
};

void TestSlidePicture::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

QString TestSlidePicture::write(const QString& name, const QImage& image, const char* format)
{
    const QString path = m_dir.filePath(name);
    return writeFile(path, encode(image, format)) ? path : QString();
}

void TestSlidePicture::coverCrop()
{
    // 480 x 120 covers 100 x 50 as 200 x 50: the centred half, the full height.
    QImage picture(480, 120, QImage::Format_RGB32);
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 480; ++x)
            picture.setPixel(x, y, qRgb(x / 2, 2 * y, 0));
    const auto item = slide(write("wide.png", picture));
    const QImage out = item->renderImage(100, 50, false, false, false);
    QCOMPARE(out.size(), QSize(100, 50));
    // Frame column fx shows picture column (fx + 50.5) x 2.4 - 0.5.
    QVERIFY2(near(out.pixel(0, 0), qRgb(60, 1, 0), 4), qPrintable(describe(out.pixel(0, 0))));
    QVERIFY2(near(out.pixel(99, 49), qRgb(179, 234, 0), 4), qPrintable(describe(out.pixel(99, 49))));
}

void TestSlidePicture::fitBars_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QSize>("frame");
    QTest::addColumn<QRect>("inside"); // where the picture lands
    // 25 pixels of picture leave 75: bars of 37 and 38.
    QTest::newRow("portrait in landscape") << QSize(60, 120) << QSize(100, 50) << QRect(37, 0, 25, 50);
    QTest::newRow("landscape in portrait") << QSize(120, 60) << QSize(50, 100) << QRect(0, 37, 50, 25);
    QTest::newRow("same shape") << QSize(200, 100) << QSize(100, 50) << QRect(0, 0, 100, 50);
}

void TestSlidePicture::fitBars()
{
    QFETCH(QSize, picture);
    QFETCH(QSize, frame);
    QFETCH(QRect, inside);
    const auto item = slide(write("fit.png", solid(picture.width(), picture.height(), Qt::red)));
    const QImage out = item->renderImage(frame.width(), frame.height(), false, true, false);
    QCOMPARE(out.size(), frame);
    for (int y = 0; y < frame.height(); ++y) {
        for (int x = 0; x < frame.width(); ++x) {
            const QRgb expected = inside.contains(x, y) ? qRgb(255, 0, 0) : qRgb(0, 0, 0);
            if (out.pixel(x, y) != expected)
                QFAIL(qPrintable(QStringLiteral("%1,%2: %3").arg(x).arg(y).arg(describe(out.pixel(x, y)))));
        }
    }
}

void TestSlidePicture::motionFitBars_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("left"); // first column of the picture
    QTest::addColumn<int>("right"); // last column of the picture
    // The picture is 25 wide, centred on the frame's centre; at 100 it starts at 37.5, so the
    // two edge columns may show either.
    QTest::newRow("whole pixels") << 101 << 38 << 62;
    QTest::newRow("half pixels") << 100 << 37 << 62;
}

void TestSlidePicture::motionFitBars()
{
    QFETCH(int, width);
    QFETCH(int, left);
    QFETCH(int, right);
    // The fill goes around the picture only; no pixel is left unpainted at its edges.
    const auto item = slide(write("bars.png", solid(60, 120, Qt::red)));
    for (double progress : {0.0, 3333.3, 10000.0}) {
        {
            // Memory freed just before is likely to hold the next canvas: unpainted pixels
            // then show green.
            QImage poison(width, 50, QImage::Format_ARGB32_Premultiplied);
            poison.fill(Qt::green);
        }
        const QImage out = item->renderMotion(MotionZoomInCenter, width, 50, true, false, progress);
        for (int y = 0; y < out.height(); ++y) {
            for (int x = 0; x < out.width(); ++x) {
                const QRgb p = out.pixel(x, y);
                const bool black = p == qRgb(0, 0, 0);
                const bool red = near(p, qRgb(255, 0, 0));
                const bool edge = x == left || x == right;
                const bool inside = x > left && x < right;
                if (!(edge ? black || red : inside ? red : black))
                    QFAIL(qPrintable(QStringLiteral("%1,%2: %3").arg(x).arg(y).arg(describe(p))));
            }
        }
    }
}

void TestSlidePicture::fitOverBlur()
{
    const auto item = slide(write("blue.png", solid(60, 120, Qt::blue)));
    for (const QImage& out : {item->renderImage(100, 50, false, true, true),
                              item->renderMotion(MotionZoomInCenter, 100, 50, true, true, 0)}) {
        // The bars show the blurred picture: blue to the frame's edges.
        for (const QPoint& p : {QPoint(0, 0), QPoint(10, 25), QPoint(99, 49), QPoint(50, 25)})
            QVERIFY2(near(out.pixel(p), qRgb(0, 0, 255), 2), qPrintable(describe(out.pixel(p))));
    }
}

void TestSlidePicture::exifOrientation()
{
    // Stored landscape, turned by its orientation into portrait: bars left and right.
    const QString path = m_dir.filePath("oriented.jpg");
    QVERIFY(writeFile(path, orientedJpeg(solid(120, 60, Qt::white), QDataStream::LittleEndian, 6)));
    const auto item = slide(path);
    const QImage out = item->renderImage(100, 100, false, true, false);
    QCOMPARE(out.pixel(24, 50), qRgb(0, 0, 0));
    QVERIFY(near(out.pixel(25, 50), qRgb(255, 255, 255), 8));
    QVERIFY(near(out.pixel(74, 50), qRgb(255, 255, 255), 8));
    QCOMPARE(out.pixel(75, 50), qRgb(0, 0, 0));
}

void TestSlidePicture::captionOnCopyOnly()
{
    const auto item = slide(write("black.png", solid(100, 50, Qt::black)));
    SlideText caption = item->text();
    caption.text = QStringLiteral("Caption");
    caption.bg_color = Qt::white;
    caption.position = TextInfo::Center;
    item->setText(caption);
    const QImage with = item->renderImage(200, 100, true, false, false);
    const QImage without = item->renderImage(200, 100, false, false, false);
    QVERIFY(with != without);
    QVERIFY(allBlack(without));
}

void TestSlidePicture::unreadable_data()
{
    QTest::addColumn<int>("motion");
    QTest::addColumn<bool>("scaleToFit");
    QTest::addColumn<bool>("blur");
    QTest::addColumn<bool>("null");
    QTest::newRow("still, cover") << 0 << false << false << true;
    QTest::newRow("still, fit") << 0 << true << false << false;
    QTest::newRow("still, fit, blur") << 0 << true << true << false;
    QTest::newRow("motion, cover") << int(MotionPanLeft) << false << false << false;
    QTest::newRow("motion, fit") << int(MotionZoomInCenter) << true << false << false;
    QTest::newRow("motion, fit, blur") << int(MotionZoomOutLeft) << true << true << false;
}

void TestSlidePicture::unreadable()
{
    QFETCH(int, motion);
    QFETCH(bool, scaleToFit);
    QFETCH(bool, blur);
    QFETCH(bool, null);
    const QString path = m_dir.filePath("broken.png");
    QVERIFY(writeFile(path, "not a picture"));
    const auto item = slide(path);
    const QImage out = item->renderMotion(motion, 64, 36, scaleToFit, blur, 5000);
    QCOMPARE(out.isNull(), null);
    if (!null) {
        QCOMPARE(out.size(), QSize(64, 36));
        QVERIFY(allBlack(out));
    }
}

void TestSlidePicture::stillCache()
{
    const QString path = write("cached.png", solid(80, 40, Qt::green));
    const auto item = slide(path);
    const QImage first = item->renderImage(40, 20, false, false, false);
    QVERIFY(QFile::remove(path));
    QCOMPARE(item->renderImage(40, 20, false, false, false), first);
    // Another size is drawn anew, from the file that is gone.
    QVERIFY(item->renderImage(30, 20, false, false, false).isNull());
}

void TestSlidePicture::motionCaches_data()
{
    QTest::addColumn<bool>("rotate"); // else clearCaches
    QTest::newRow("clearCaches") << false;
    QTest::newRow("rotate") << true;
}

void TestSlidePicture::motionCaches()
{
    QFETCH(bool, rotate);
    const QString path = write("moving.png", solid(80, 40, Qt::green));
    const auto item = slide(path);
    QVERIFY(!item->renderImage(40, 20, false, true, true).isNull());
    const QImage first = item->renderMotion(MotionPanRight, 40, 20, true, true, 0);
    QVERIFY(QFile::remove(path));
    // The enlarged picture and the blur stay, at any progress and frame size.
    const QImage again = item->renderMotion(MotionPanRight, 40, 20, true, true, 10000);
    QVERIFY(near(again.pixel(20, 10), qRgb(0, 255, 0), 2));
    QVERIFY(near(again.pixel(0, 0), first.pixel(0, 0), 0));
    QVERIFY(near(item->renderMotion(MotionPanRight, 60, 30, false, false, 0).pixel(30, 15),
                 qRgb(0, 255, 0), 2));

    if (rotate)
        item->rotate();
    else
        item->clearCaches();
    QVERIFY(allBlack(item->renderMotion(MotionPanRight, 40, 20, true, true, 0)));
    QVERIFY(allBlack(item->renderImage(40, 20, false, true, false)));
}

void TestSlidePicture::clonesStartEmpty()
{
    const QString path = write("cloned.png", solid(80, 40, Qt::green));
    const auto item = slide(path);
    QVERIFY(!item->renderImage(40, 20, false, false, false).isNull());
    QVERIFY(QFile::remove(path));
    const std::unique_ptr<ProjectItemSimple> copy(static_cast<ProjectItemSimple*>(item->clone()));
    QVERIFY(copy->renderImage(40, 20, false, false, false).isNull());
}

void TestSlidePicture::motionCrop_data()
{
    QTest::addColumn<int>("motion");
    QTest::addColumn<double>("progress");
    QTest::addColumn<QRectF>("crop");
    // An enlarged picture of 1200 x 600: the window is 1000 x 500, 200 x 100 to spare.
    const double zoomed = 1 - (1 - 0.8); // f at full zoom
    const double w = 1200 * zoomed, h = 600 * zoomed;
    QTest::newRow("none") << 0 << 5000.0 << QRectF(0, 0, 1000, 500);
    QTest::newRow("random") << 1 << 5000.0 << QRectF(0, 0, 1000, 500);
    QTest::newRow("out of range") << 12 << 5000.0 << QRectF(0, 0, 1000, 500);
    QTest::newRow("left 0") << 2 << 0.0 << QRectF(0, 50, 1000, 500);
    QTest::newRow("left 2500") << 2 << 2500.0 << QRectF(50, 50, 1000, 500);
    QTest::newRow("left 10000") << 2 << 10000.0 << QRectF(200, 50, 1000, 500);
    QTest::newRow("right 0") << 3 << 0.0 << QRectF(200, 50, 1000, 500);
    QTest::newRow("right 10000") << 3 << 10000.0 << QRectF(0, 50, 1000, 500);
    QTest::newRow("up 0") << 4 << 0.0 << QRectF(100, 0, 1000, 500);
    QTest::newRow("up 10000") << 4 << 10000.0 << QRectF(100, 100, 1000, 500);
    QTest::newRow("down 0") << 5 << 0.0 << QRectF(100, 100, 1000, 500);
    QTest::newRow("down 5000") << 5 << 5000.0 << QRectF(100, 50, 1000, 500);
    QTest::newRow("zoom in 0") << 6 << 0.0 << QRectF(0, 0, 1200, 600);
    QTest::newRow("zoom in 10000") << 6 << 10000.0 << QRectF(600 - w / 2, 300 - h / 2, w, h);
    QTest::newRow("zoom in right 10000")
        << 7 << 10000.0 << QRectF(1200 - w, (600 - h) / 2, w, h);
    QTest::newRow("zoom in left 10000") << 8 << 10000.0 << QRectF(0, (600 - h) / 2, w, h);
    QTest::newRow("zoom out 0") << 9 << 0.0 << QRectF(600 - w / 2, 300 - h / 2, w, h);
    QTest::newRow("zoom out 10000") << 9 << 10000.0 << QRectF(0, 0, 1200, 600);
    QTest::newRow("zoom out right 0") << 10 << 0.0 << QRectF(1200 - w, (600 - h) / 2, w, h);
    QTest::newRow("zoom out left 0") << 11 << 0.0 << QRectF(0, (600 - h) / 2, w, h);
    QTest::newRow("zoom out left 10000") << 11 << 10000.0 << QRectF(0, 0, 1200, 600);
}

void TestSlidePicture::motionCrop()
{
    QFETCH(int, motion);
    QFETCH(double, progress);
    QFETCH(QRectF, crop);
    QCOMPARE(ProjectItemSimple::motionCrop(motion, QSize(1200, 600), progress), crop);
}

void TestSlidePicture::motionFrames_data()
{
    QTest::addColumn<int>("motion");
    QTest::addColumn<double>("progress");
    QTest::addColumn<QRectF>("crop"); // in picture pixels
    // The 120 x 60 picture is its own enlarged picture for a 100 x 50 frame.
    QTest::newRow("pan left, start") << 2 << 0.0 << QRectF(0, 5, 100, 50);
    QTest::newRow("pan left, end") << 2 << 10000.0 << QRectF(20, 5, 100, 50);
    QTest::newRow("zoom in, start") << 6 << 0.0 << QRectF(0, 0, 120, 60);
    QTest::newRow("zoom in, end") << 6 << 10000.0 << QRectF(12, 6, 96, 48);
    QTest::newRow("zoom out left, start") << 11 << 0.0 << QRectF(0, 6, 96, 48);
    QTest::newRow("zoom out left, end") << 11 << 10000.0 << QRectF(0, 0, 120, 60);
}

void TestSlidePicture::motionFrames()
{
    QFETCH(int, motion);
    QFETCH(double, progress);
    QFETCH(QRectF, crop);
    const auto item = slide(write("gradient.png", gradient(120, 60)));
    const QImage out = item->renderMotion(motion, 100, 50, false, false, progress);
    QCOMPARE(out.size(), QSize(100, 50));
    // The corner pixels show the crop window's corners.
    for (const QPoint& p : {QPoint(0, 0), QPoint(99, 0), QPoint(0, 49), QPoint(99, 49)}) {
        const double x = crop.left() + (p.x() + 0.5) * crop.width() / 100 - 0.5;
        const double y = crop.top() + (p.y() + 0.5) * crop.height() / 50 - 0.5;
        const QRgb expected = qRgb(qBound(0, qRound(2 * x), 238), qBound(0, qRound(4 * y), 236), 0);
        QVERIFY2(near(out.pixel(p), expected),
                 qPrintable(QStringLiteral("%1,%2: %3, expected %4")
                                .arg(p.x()).arg(p.y()).arg(describe(out.pixel(p)), describe(expected))));
    }
}

void TestSlidePicture::panSteps_data()
{
    QTest::addColumn<int>("motion");
    QTest::addColumn<QSize>("frame");
    QTest::addColumn<int>("frames"); // of the motion
    // A 4 s slide and a 12 s slide at 30 frames a second: about 1.07 and 0.71 pixels a frame.
    // At 1366 x 768 the window is a little smaller than the frame, so it is also scaled.
    for (int motion : {MotionPanLeft, MotionPanRight, MotionPanUp, MotionPanDown}) {
        QTest::addRow("motion %d, 640x360", motion) << motion << QSize(640, 360) << 120;
        QTest::addRow("motion %d, 1280x720", motion) << motion << QSize(1280, 720) << 360;
        QTest::addRow("motion %d, 1366x768", motion) << motion << QSize(1366, 768) << 120;
    }
}

void TestSlidePicture::panSteps()
{
    QFETCH(int, motion);
    QFETCH(QSize, frame);
    QFETCH(int, frames);
    // Every frame moves a bright spot by the same distance, fractions of a pixel included:
    // no frame stands still and none jumps a pixel further.
    QImage photo = solid(960, 540, Qt::black);
    QPainter(&photo).fillRect(460, 250, 40, 40, Qt::white);
    const auto item = slide(write("spot.png", photo));
    const bool across = motion == MotionPanLeft || motion == MotionPanRight;
    double least = std::numeric_limits<double>::max();
    double most = std::numeric_limits<double>::lowest();
    QPointF before;
    for (int i = 0; i <= frames; ++i) {
        const QPointF centre = brightCentre(item->renderMotion(
            motion, frame.width(), frame.height(), false, false, kFullProgress * i / frames));
        const double step = qAbs(across ? centre.x() - before.x() : centre.y() - before.y());
        if (i > 0) {
            least = std::min(least, step);
            most = std::max(most, step);
        }
        before = centre;
    }
    QVERIFY2(most - least < 0.15,
             qPrintable(QStringLiteral("steps from %1 to %2 px").arg(least).arg(most)));
}

void TestSlidePicture::motionNoneIsStill()
{
    const auto item = slide(write("still.png", gradient(120, 60)));
    QCOMPARE(item->renderMotion(MotionNone, 100, 50, true, false, 7000),
             item->renderImage(100, 50, false, true, false));
}

void TestSlidePicture::ownMotion()
{
    const auto item = slide(write("own.png", gradient(120, 60)));
    item->setMotion(MotionZoomInCenter);
    QImage out;
    item->motionFrame(out, 100, 50, false, false, 10000);
    QCOMPARE(out, item->renderMotion(MotionZoomInCenter, 100, 50, false, false, 10000));
    QCOMPARE(item->motionFrame(100, 50, false, false, 0),
             item->renderMotion(MotionZoomInCenter, 100, 50, false, false, 0));
}

void TestSlidePicture::turnedCornersBlack()
{
    // An angle from a document that is no multiple of 90 leaves the corners empty.
    const QString path = write("turned.png", solid(100, 100, Qt::white));
    ProjectItemSimple item;
    item.readJson(QJsonObject{{"file_name", path}, {"angle", 45}});
    const QImage out = item.renderMotion(MotionPanLeft, 100, 100, false, false, 0);
    QCOMPARE(out.pixel(0, 0), qRgb(0, 0, 0));
    QVERIFY(near(out.pixel(50, 50), qRgb(255, 255, 255), 2));
}

void TestSlidePicture::largePictureDecodedSmall_data()
{
    QTest::addColumn<int>("orientation"); // EXIF
    QTest::addColumn<int>("angle");       // the slide's
    QTest::newRow("as stored") << 1 << 0;
    QTest::newRow("turned by EXIF") << 6 << 0;
    QTest::newRow("turned slide") << 1 << 90;
    QTest::newRow("turned twice") << 8 << 90;
    QTest::newRow("slide at 30 degrees") << 1 << 30;
}

// A picture ten times the frame is decoded only as large as its motion needs: its frames
// look as those of the same picture at a tenth of the size, whichever way it is turned.
void TestSlidePicture::largePictureDecodedSmall()
{
    QFETCH(int, orientation);
    QFETCH(int, angle);
    const auto upright = [](int width, int height) {
        QImage image(width, height, QImage::Format_RGB32);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                image.setPixel(x, y, qRgb(255 * x / (width - 1), 255 * y / (height - 1), 128));
        return image;
    };
    const auto photo = [&](const QString& name, int width, int height) {
        // Stored turned back, so that the EXIF orientation makes it upright.
        const int back = orientation == 6 ? 270 : orientation == 8 ? 90 : 0;
        const QImage stored = upright(width, height).transformed(QTransform().rotate(back));
        const QString path = m_dir.filePath(name);
        if (!writeFile(path, orientedJpeg(stored, QDataStream::BigEndian, quint16(orientation))))
            return std::unique_ptr<ProjectItemSimple>();
        auto item = std::make_unique<ProjectItemSimple>();
        item->readJson(QJsonObject{{"file_name", path}, {"angle", angle}});
        return item;
    };
    const auto large = photo("large.jpg", 1600, 900);
    const auto small = photo("small.jpg", 160, 90);
    QVERIFY(large && small);
    for (double progress : {0.0, 10000.0}) {
        const QImage a = large->renderMotion(MotionZoomInCenter, 100, 50, false, false, progress);
        const QImage b = small->renderMotion(MotionZoomInCenter, 100, 50, false, false, progress);
        QCOMPARE(a.size(), b.size());
        for (int y = 5; y < 50; y += 10) {
            for (int x = 5; x < 100; x += 10) {
                if (!near(a.pixel(x, y), b.pixel(x, y), 10))
                    QFAIL(qPrintable(QStringLiteral("%1,%2: %3, not %4")
                                         .arg(x).arg(y).arg(describe(a.pixel(x, y)), describe(b.pixel(x, y)))));
            }
        }
    }
}

void TestSlidePicture::emptySize()
{
    const auto item = slide(write("empty.png", solid(10, 10, Qt::red)));
    QVERIFY(item->renderImage(0, 10, true, true, true).isNull());
    QVERIFY(item->renderMotion(MotionPanUp, 10, 0, true, true, 0).isNull());
}

QTEST_MAIN(TestSlidePicture)
#include "tst_slidepicture.moc"

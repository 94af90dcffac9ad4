#include <QtTest>

#include "pages/EffectNames.h"
#include "resources/Resources.h"

#include <QPainter>
#include <QSvgRenderer>

namespace {

// Every picture the program names outside the widget library's own.
const char* const kPaths[] = {
    ":/add-audio.svg",
    ":/add-color.svg",
    ":/add-folder.svg",
    ":/add-photo.svg",
    ":/appicon.png",
    ":/back.svg",
    ":/burger.svg",
    ":/clear.svg",
    ":/compose.svg",
    ":/down.svg",
    ":/duplicate.svg",
    ":/empty-20.svg",
    ":/empty-50.svg",
    ":/eye-closed.svg",
    ":/eye-opened.svg",
    ":/folder-filled.svg",
    ":/folder-outline.svg",
    ":/help.svg",
    ":/hint-blurbackground.svg",
    ":/hint-fade.svg",
    ":/hint-fps.svg",
    ":/hint-loopcount.svg",
    ":/hint-offset.svg",
    ":/hint-resolution.svg",
    ":/hint-scaletofit.svg",
    ":/hint-transitiontime.svg",
    ":/history.svg",
    ":/messagebox-error.svg",
    ":/motion-move-down.svg",
    ":/motion-move-left.svg",
    ":/motion-move-right.svg",
    ":/motion-move-up.svg",
    ":/motion-none.svg",
    ":/motion-random.svg",
    ":/motion-zoom-in-center.svg",
    ":/motion-zoom-in-left.svg",
    ":/motion-zoom-in-right.svg",
    ":/motion-zoom-out-center.svg",
    ":/motion-zoom-out-left.svg",
    ":/motion-zoom-out-right.svg",
    ":/nocolor.svg",
    ":/pause.svg",
    ":/play.svg",
    ":/play-checked.svg",
    ":/plus.svg",
    ":/preview.svg",
    ":/repeat-all.svg",
    ":/repeat-transition.svg",
    ":/resume-project.svg",
    ":/rotate.svg",
    ":/search.svg",
    ":/settings.svg",
    ":/shuffle.svg",
    ":/sort.svg",
    ":/sort_by_date.svg",
    ":/start-preview.svg",
    ":/stop.svg",
    ":/titlebar-close.svg",
    ":/titlebar-maximize.svg",
    ":/titlebar-minimize.svg",
    ":/titlebar-restore.svg",
    ":/transition-checkerboard.svg",
    ":/transition-crossfade.svg",
    ":/transition-fadetoblack.svg",
    ":/transition-fadetowhite.svg",
    ":/transition-flipover.svg",
    ":/transition-mosaicspiralin.svg",
    ":/transition-mosaicspiralout.svg",
    ":/transition-mosaicstripes.svg",
    ":/transition-mosaicwall.svg",
    ":/transition-none.svg",
    ":/transition-pixelate.svg",
    ":/transition-random.svg",
    ":/transition-rotatein.svg",
    ":/transition-rotateout.svg",
    ":/transition-slidefrombottom.svg",
    ":/transition-slidefromleft.svg",
    ":/transition-slidefromright.svg",
    ":/transition-slidefromtop.svg",
    ":/transition-slidefromtopleft.svg",
    ":/transition-stretchhorizontal.svg",
    ":/transition-stretchvertical.svg",
    ":/transition-wipebottomtotop.svg",
    ":/transition-wipelefttoright.svg",
    ":/transition-wiperighttoleft.svg",
    ":/transition-wipetoptobottom.svg",
    ":/transition-wipeverticalin.svg",
    ":/transition-wipeverticalout.svg",
    ":/transition-zoomin.svg",
    ":/transition-zoomout.svg",
    ":/trash.svg",
    ":/up.svg",
    ":/update.svg",
    ":/volume-0.svg",
    ":/volume-100.svg",
    ":/volume-33.svg",
    ":/volume-66.svg",
};

constexpr QRgb kIconColour = 0xFFC1C1C1;

QImage render(QSvgRenderer& renderer, QSize size, QImage::Format format = QImage::Format_ARGB32)
{
    QImage image(size, format);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}

int opaquePixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) > 0;
    return count;
}

int colourDifference(QRgb p, QRgb q)
{
    return std::max({qAbs(qRed(p) - qRed(q)), qAbs(qGreen(p) - qGreen(q)), qAbs(qBlue(p) - qBlue(q))});
}

// Pixels in another colour than the icons' one, beyond what the alpha's rounding explains.
int strayPixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            count += colourDifference(pixel, kIconColour) * qAlpha(pixel) > 4 * 255;
        }
    return count;
}

int largestDifference(const QImage& a, const QImage& b)
{
    int largest = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            largest = std::max({largest, colourDifference(p, q), qAbs(qAlpha(p) - qAlpha(q))});
        }
    return largest;
}

} // namespace

class TestResources : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void pictureLoads_data();
    void pictureLoads();
    void effectIconsAreInTheTable();
    void effectIconsLookDifferent();
    void appIconIsRenderedFromItsDrawing_data();
    void appIconIsRenderedFromItsDrawing();
};

void TestResources::initTestCase()
{
    initSlideshowResources();
    QCOMPARE(int(std::size(kPaths)), 97);
}

void TestResources::pictureLoads_data()
{
    QTest::addColumn<QString>("path");
    for (const char* path : kPaths)
        QTest::newRow(path) << QString::fromLatin1(path);
}

// The SVG icons are drawings on a 24-unit square in one colour, which buttons recolour;
// the two empty ones only give a swatch its size.
void TestResources::pictureLoads()
{
    QFETCH(QString, path);
    QVERIFY(QFile::exists(path));
    if (!path.endsWith(QLatin1String(".svg"))) {
        QVERIFY(!QImage(path).isNull());
        return;
    }
    QSvgRenderer renderer(path);
    QVERIFY(renderer.isValid());
    QCOMPARE(renderer.viewBoxF(), path.startsWith(QLatin1String(":/empty-"))
             ? QRectF(QPointF(), renderer.defaultSize()) : QRectF(0, 0, 24, 24));
    if (path == QLatin1String(":/empty-20.svg") || path == QLatin1String(":/empty-50.svg")) {
        const int side = path.mid(8, 2).toInt();
        QCOMPARE(renderer.defaultSize(), QSize(side, side));
        QCOMPARE(opaquePixels(render(renderer, renderer.defaultSize())), 0);
        return;
    }
    QCOMPARE(renderer.defaultSize(), QSize(24, 24));
    const QImage image = render(renderer, QSize(48, 48));
    QVERIFY(opaquePixels(image) > 20);
    QCOMPARE(strayPixels(image), 0);
}

void TestResources::effectIconsAreInTheTable()
{
    QSet<QString> table;
    for (const char* path : kPaths)
        table << QString::fromLatin1(path);
    for (int type = 0; type < 29; ++type)
        QVERIFY2(table.contains(transitionIcon(type)), qPrintable(transitionIcon(type)));
    for (int type = 0; type < 12; ++type)
        QVERIFY2(table.contains(motionIcon(type)), qPrintable(motionIcon(type)));
}

void TestResources::effectIconsLookDifferent()
{
    QStringList icons;
    for (int type = 0; type < 29; ++type)
        icons << transitionIcon(type);
    for (int type = 2; type < 12; ++type)
        icons << motionIcon(type);
    QHash<QByteArray, QString> seen;
    for (const QString& icon : icons) {
        QSvgRenderer renderer(icon);
        const QImage image = render(renderer, QSize(24, 24));
        const QByteArray pixels(reinterpret_cast<const char*>(image.constBits()), int(image.sizeInBytes()));
        QVERIFY2(!seen.contains(pixels), qPrintable(icon + " looks like " + seen.value(pixels)));
        seen.insert(pixels, icon);
    }
}

void TestResources::appIconIsRenderedFromItsDrawing_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("side");
    QTest::newRow("1x") << ":/appicon.png" << 20;
    QTest::newRow("2x") << ":/appicon@2x.png" << 40;
}

void TestResources::appIconIsRenderedFromItsDrawing()
{
    QFETCH(QString, path);
    QFETCH(int, side);
    const QImage png = QImage(path).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QCOMPARE(png.size(), QSize(side, side));
    QSvgRenderer drawing(QStringLiteral(TY_RESOURCES_DIR "/appicon.svg"));
    QVERIFY(drawing.isValid());
    QVERIFY(largestDifference(png, render(drawing, png.size(), png.format())) <= 2);
}

QTEST_MAIN(TestResources)
#include "tst_resources.moc"

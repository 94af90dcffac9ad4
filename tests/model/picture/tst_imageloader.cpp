#include <QtTest>

#include "model/picture/ImageLoader.h"
#include "support/PhotoFixtures.h"

#include <QImageReader>
#include <QImageWriter>

#include <sys/stat.h>

using namespace PhotoFixtures;
using ImageLoader::loadImage;

namespace {

bool near(QColor actual, QColor expected)
{
    return qAbs(actual.red() - expected.red()) < 48 && qAbs(actual.green() - expected.green()) < 48
        && qAbs(actual.blue() - expected.blue()) < 48 && actual.alpha() == 255;
}

} // namespace

class TestImageLoader : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void orientations_data();
    void orientations();
    void transparencyBecomesBlack();
    void scaledRead_data();
    void scaledRead();
    void information();
    void decodeSizeOfTheUprightPicture();
    void tooLarge_data();
    void tooLarge();
    void unreadable_data();
    void unreadable();
    void pipeIsNotOpened();
    void otherFormats_data();
    void otherFormats();
    void suffixes_data();
    void suffixes();
    void suffixLists();

private:
    QString write(const QString& name, const QByteArray& bytes);

    QTemporaryDir m_dir;
};

void TestImageLoader::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

QString TestImageLoader::write(const QString& name, const QByteArray& bytes)
{
    const QString path = m_dir.filePath(name);
    return writeFile(path, bytes) ? path : QString();
}

void TestImageLoader::orientations_data()
{
    // Which stored corner colour lands in each corner of the upright picture.
    QTest::addColumn<int>("order");
    QTest::addColumn<int>("orientation");
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QVector<QColor>>("corners"); // top-left, top-right, bottom-left, bottom-right
    const QColor r = TopLeft, g = TopRight, b = BottomLeft, w = BottomRight;
    const QVector<QVector<QColor>> upright = {
        {r, g, b, w}, {r, g, b, w}, {g, r, w, b}, {w, b, g, r}, {b, w, r, g},
        {r, b, g, w}, {b, r, w, g}, {w, g, b, r}, {g, w, r, b}, {r, g, b, w},
    };
    for (int o = 0; o <= 9; ++o) {
        const QByteArray le = QByteArray(1, char(o)) + QByteArray(1, 0);
        const QByteArray be = QByteArray(1, 0) + QByteArray(1, char(o));
        QTest::addRow("II %d", o) << int(QDataStream::LittleEndian) << 3 << le << upright[o];
        QTest::addRow("MM %d", o) << int(QDataStream::BigEndian) << 3 << be << upright[o];
    }
    QTest::newRow("byte 6") << int(QDataStream::BigEndian) << 1 << QByteArray("\x06") << upright[6];
    QTest::newRow("byte 8") << int(QDataStream::LittleEndian) << 1 << QByteArray("\x08") << upright[8];
    QTest::newRow("two bytes") << int(QDataStream::BigEndian) << 1 << QByteArray("\x06\x06") << upright[1];
}

void TestImageLoader::orientations()
{
    QFETCH(int, order);
    QFETCH(int, orientation);
    QFETCH(QByteArray, field);
    QFETCH(QVector<QColor>, corners);
    const int count = orientation == 1 ? field.size() : 1;
    const QByteArray block = TiffDirectory(QDataStream::ByteOrder(order))
                                 .inPlace(274, quint16(orientation), quint32(count), field)
                                 .block();
    const QString path = write("oriented.jpg", withSegment(encode(quadrants(48, 32), "jpg"), exifApp1(block)));
    const QImage image = loadImage(path, 0);
    QCOMPARE(image.format(), QImage::Format_ARGB32_Premultiplied);
    // Turned a quarter when the upright top edge was a stored side edge.
    const auto rightColumn = [](QColor c) { return c == TopRight || c == BottomRight; };
    const bool portrait = rightColumn(corners[0]) == rightColumn(corners[1]);
    QCOMPARE(image.size(), portrait ? QSize(32, 48) : QSize(48, 32));
    const int x = image.width() - 1;
    const int y = image.height() - 1;
    const QVector<QColor> actual = {image.pixelColor(0, 0), image.pixelColor(x, 0), image.pixelColor(0, y),
                                    image.pixelColor(x, y)};
    for (int i = 0; i < 4; ++i) {
        if (!near(actual[i], corners[i]))
            QFAIL(qPrintable(QStringLiteral("corner %1 is %2, expected %3")
                                 .arg(i).arg(actual[i].name(), corners[i].name())));
    }
}

void TestImageLoader::transparencyBecomesBlack()
{
    QImage image(4, 2, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    image.setPixelColor(1, 0, QColor(255, 0, 0, 128));
    image.setPixelColor(2, 0, QColor(0, 0, 255));
    const QImage loaded = loadImage(write("clear.png", encode(image, "png")), 0);
    QCOMPARE(loaded.format(), QImage::Format_ARGB32_Premultiplied);
    QCOMPARE(loaded.size(), QSize(4, 2));
    QCOMPARE(loaded.pixel(0, 0), qRgb(0, 0, 0));
    QCOMPARE(loaded.pixel(3, 1), qRgb(0, 0, 0));
    QCOMPARE(loaded.pixel(2, 0), qRgb(0, 0, 255));
    QVERIFY(qAbs(qRed(loaded.pixel(1, 0)) - 128) <= 1);
    QCOMPARE(qAlpha(loaded.pixel(1, 0)), 255);
}

void TestImageLoader::scaledRead_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QSize>("stored");
    QTest::addColumn<int>("orientation");
    QTest::addColumn<int>("size");
    QTest::addColumn<QSize>("expected");
    QTest::newRow("landscape jpeg") << "jpg" << QSize(400, 200) << 1 << 100 << QSize(200, 100);
    QTest::newRow("portrait jpeg") << "jpg" << QSize(120, 360) << 1 << 90 << QSize(90, 270);
    QTest::newRow("turned jpeg") << "jpg" << QSize(400, 200) << 6 << 100 << QSize(100, 200);
    QTest::newRow("square") << "jpg" << QSize(300, 300) << 1 << 64 << QSize(64, 64);
    QTest::newRow("odd ratio") << "jpg" << QSize(333, 100) << 1 << 50 << QSize(166, 50);
    QTest::newRow("small png grows") << "png" << QSize(30, 60) << 1 << 90 << QSize(90, 180);
    QTest::newRow("size 0") << "jpg" << QSize(400, 200) << 1 << 0 << QSize(400, 200);
    QTest::newRow("size -1") << "png" << QSize(40, 20) << 1 << -1 << QSize(40, 20);
}

void TestImageLoader::scaledRead()
{
    QFETCH(QString, format);
    QFETCH(QSize, stored);
    QFETCH(int, orientation);
    QFETCH(int, size);
    QFETCH(QSize, expected);
    const QImage picture = quadrants(stored.width(), stored.height());
    const QByteArray bytes = format == "jpg"
        ? orientedJpeg(picture, QDataStream::BigEndian, quint16(orientation))
        : encode(picture, "png");
    const QImage image = loadImage(write("scaled." + format, bytes), size);
    QCOMPARE(image.size(), expected);
    QCOMPARE(image.format(), QImage::Format_ARGB32_Premultiplied);
    const QColor topLeft = orientation == 6 ? BottomLeft : TopLeft;
    QVERIFY(near(image.pixelColor(0, 0), topLeft));
    const QColor bottomRight = orientation == 6 ? TopRight : BottomRight;
    QVERIFY(near(image.pixelColor(image.width() - 1, image.height() - 1), bottomRight));
}

void TestImageLoader::information()
{
    ImageLoader::ImageInfo info;
    const QString jpeg = write("info.jpg", orientedJpeg(quadrants(80, 40), QDataStream::BigEndian, 6));
    QCOMPARE(loadImage(jpeg, 20, &info).size(), QSize(20, 40));
    QCOMPARE(info.size, QSize(80, 40));
    QCOMPARE(info.format, QStringLiteral("jpeg"));
    QVERIFY(!info.failed);

    const QString png = write("info.jpg.png", encode(quadrants(8, 6), "png"));
    QVERIFY(!loadImage(png, 0, &info).isNull());
    QCOMPARE(info.size, QSize(8, 6));
    QCOMPARE(info.format, QStringLiteral("png"));
    QVERIFY(!info.failed);

    QVERIFY(loadImage(write("info-broken.jpg", "broken"), 100, &info).isNull());
    QVERIFY(info.failed);
}

// The choice sees the upright size, and its answer is upright too.
void TestImageLoader::decodeSizeOfTheUprightPicture()
{
    const QString jpeg = write("choice.jpg", orientedJpeg(quadrants(80, 40), QDataStream::BigEndian, 6));
    QSize seen;
    const QImage image = loadImage(jpeg, [&seen](const QSize& upright) {
        seen = upright;
        return QSize(10, 20);
    });
    QCOMPARE(seen, QSize(40, 80));
    QCOMPARE(image.size(), QSize(10, 20));
    QVERIFY(near(image.pixelColor(0, 0), BottomLeft));
    QCOMPARE(loadImage(jpeg, [](const QSize&) { return QSize(); }).size(), QSize(40, 80));
}

void TestImageLoader::tooLarge_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QSize>("declared");
    QTest::addColumn<bool>("refused");
    // Small files whose headers declare pictures of gigabytes.
    const QByteArray jpeg = orientedJpeg(quadrants(64, 64), QDataStream::LittleEndian, 6);
    const QByteArray png = encode(quadrants(64, 64), "png");
    QTest::newRow("jpeg 24000 square, turned") << declaringSize(jpeg, {24000, 24000}) << QSize(24000, 24000) << true;
    QTest::newRow("jpeg 65500 square") << declaringSize(jpeg, {65500, 65500}) << QSize(65500, 65500) << true;
    QTest::newRow("png 40000 square") << declaringSize(png, {40000, 40000}) << QSize(40000, 40000) << true;
    QTest::newRow("jpeg a line too many") << declaringSize(jpeg, {16000, 16001}) << QSize(16000, 16001) << true;
    QTest::newRow("jpeg at the limit") << declaringSize(jpeg, {16000, 16000}) << QSize(16000, 16000) << false;
}

// Pictures above the limit are refused from their header, before any pixel is decoded.
void TestImageLoader::tooLarge()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QSize, declared);
    QFETCH(bool, refused);
    const QString path = write(QStringLiteral("large-%1x%2").arg(declared.width()).arg(declared.height()), bytes);
    ImageLoader::ImageInfo info;
    for (int size : {0, 100}) {
        if (!refused && size == 0)
            continue; // would decode gigabytes
        const QImage image = loadImage(path, size, &info);
        QCOMPARE(info.size, declared);
        QCOMPARE(image.isNull(), refused);
        QCOMPARE(info.failed, refused);
        QCOMPARE(info.problem.contains(QLatin1String("256 million")), refused);
    }
}

void TestImageLoader::unreadable_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("mayDecode"); // a cut-off scan may still decode in part
    const QByteArray jpeg = orientedJpeg(quadrants(64, 64), QDataStream::LittleEndian, 6);
    const int app1End = jpeg.indexOf(QByteArray("\xFF\xE0", 2));
    QTest::newRow("zero bytes") << "empty.jpg" << QByteArray() << false;
    QTest::newRow("text named jpg") << "text.jpg" << QByteArray("hello, not a picture") << false;
    QTest::newRow("cut after app1") << "cut-app1.jpg" << jpeg.left(app1End) << false;
    QTest::newRow("cut in header") << "cut-header.jpg" << jpeg.left(app1End + 40) << false;
    QTest::newRow("cut in scan") << "cut-scan.jpg" << jpeg.left(jpeg.size() - 60) << true;
    QTest::newRow("png cut") << "cut.png" << encode(quadrants(64, 64), "png").left(60) << false;
    QTest::newRow("random bytes") << "noise.jpg" << QByteArray("\xFF\xD8\xFF\xE1\x00\x02\x13\x37\xFF\xDA", 10)
                                  << false;
}

void TestImageLoader::unreadable()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, mayDecode);
    const QString path = write(name, bytes);
    QVERIFY(!path.isEmpty());
    for (int size : {0, 100}) {
        const QImage image = loadImage(path, size);
        if (!mayDecode)
            QVERIFY(image.isNull());
        else if (!image.isNull())
            QCOMPARE(image.format(), QImage::Format_ARGB32_Premultiplied);
    }
}

void TestImageLoader::otherFormats_data()
{
    QTest::addColumn<QByteArray>("format");
    QTest::newRow("jpeg without exif") << QByteArray("jpg");
    QTest::newRow("tiff") << QByteArray("tiff");
    QTest::newRow("webp") << QByteArray("webp");
    QTest::newRow("bmp") << QByteArray("bmp");
}

void TestImageLoader::otherFormats()
{
    QFETCH(QByteArray, format);
    QVERIFY2(QImageWriter::supportedImageFormats().contains(format), "image format plugins missing");
    const QString path = write("other." + QString::fromLatin1(format), encode(quadrants(40, 20), format));
    const QImage image = loadImage(path, 10);
    QCOMPARE(image.size(), QSize(20, 10));
    QVERIFY(near(image.pixelColor(0, 0), TopLeft));

    QVERIFY(loadImage(m_dir.path(), 0).isNull());
    QVERIFY(QDir(m_dir.path()).mkpath("folder.jpg"));
    QVERIFY(loadImage(m_dir.filePath("folder.jpg"), 0).isNull());
    QVERIFY(loadImage(m_dir.filePath("missing.jpg"), 100).isNull());
}

void TestImageLoader::pipeIsNotOpened()
{
    // A read would wait for a writer forever.
    const QString pipe = m_dir.filePath("pipe.jpg");
    QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    ImageLoader::ImageInfo info;
    QVERIFY(loadImage(pipe, 100, &info).isNull());
    QVERIFY(info.failed);
}

void TestImageLoader::suffixes_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("supported");
    QTest::newRow("upper case") << "photo.JPG" << true;
    QTest::newRow("jpeg in folder") << "/a/b.c/photo.jpeg" << true;
    QTest::newRow("png") << "x.Png" << true;
    QTest::newRow("tiff") << "scan.tiff" << true;
    QTest::newRow("webp") << "web.webp" << true;
    QTest::newRow("ico") << "favicon.ico" << false;
    QTest::newRow("icns") << "app.icns" << false;
    QTest::newRow("cur") << "arrow.cur" << false;
    QTest::newRow("tga") << "old.TGA" << false;
    QTest::newRow("no suffix") << "jpg" << false;
    QTest::newRow("dot in folder") << "/pics.jpg/readme" << false;
    QTest::newRow("last dot counts") << "photo.jpg.txt" << false;
    QTest::newRow("hidden") << ".jpg" << true;
}

void TestImageLoader::suffixes()
{
    QFETCH(QString, path);
    QFETCH(bool, supported);
    QCOMPARE(isSupportedImage(path), supported);
}

void TestImageLoader::suffixLists()
{
    const QStringList suffixes = supportedImageSuffixes();
    for (const char* refused : {"icns", "ico", "cur", "tga"})
        QVERIFY(!suffixes.contains(QLatin1String(refused)));
    for (const char* wanted : {"jpg", "jpeg", "png", "bmp", "tiff", "webp"})
        QVERIFY2(suffixes.contains(QLatin1String(wanted)), wanted);
    QStringList expected;
    for (const QByteArray& format : QImageReader::supportedImageFormats()) {
        if (!QByteArrayList{"icns", "ico", "cur", "tga"}.contains(format))
            expected << QString::fromLatin1(format);
    }
    QCOMPARE(suffixes, expected);
    const QStringList filters = supportedImageFilters();
    QCOMPARE(filters.size(), suffixes.size());
    for (int i = 0; i < filters.size(); ++i)
        QCOMPARE(filters.at(i), "*." + suffixes.at(i));
}

QTEST_GUILESS_MAIN(TestImageLoader)
#include "tst_imageloader.moc"

#include <QtTest>

#include "model/picture/ExifReader.h"
#include "support/PhotoFixtures.h"

#include <QBuffer>
#include <QRandomGenerator>

using namespace PhotoFixtures;

namespace {

const quint16 Orientation = 274;

ExifReader readBytes(const QByteArray& bytes, bool* loaded = nullptr)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    ExifReader reader;
    const bool ok = reader.loadFromJpeg(&buffer);
    if (loaded)
        *loaded = ok;
    return reader;
}

QByteArray plainJpeg()
{
    return encode(quadrants(16, 16), "jpg");
}

QByteArray jpegWithBlock(const QByteArray& block)
{
    return withSegment(plainJpeg(), exifApp1(block));
}

} // namespace

class TestExifReader : public QObject
{
    Q_OBJECT

private slots:
    void orientation_data();
    void orientation();
    void valueTypes_data();
    void valueTypes();
    void valuesOutsideTheField();
    void noExif_data();
    void noExif();
    void fromPath();
    void hostile_data();
    void hostile();
    void mutatedFiles();
};

void TestExifReader::orientation_data()
{
    QTest::addColumn<int>("order");
    QTest::addColumn<int>("value");
    for (int value : {1, 3, 6, 8}) {
        QTest::addRow("II %d", value) << int(QDataStream::LittleEndian) << value;
        QTest::addRow("MM %d", value) << int(QDataStream::BigEndian) << value;
    }
}

void TestExifReader::orientation()
{
    QFETCH(int, order);
    QFETCH(int, value);
    bool loaded = false;
    const QByteArray jpeg = orientedJpeg(quadrants(16, 16), QDataStream::ByteOrder(order), quint16(value));
    const ExifReader reader = readBytes(jpeg, &loaded);
    QVERIFY(loaded);
    QVERIFY(!reader.value(Orientation).isNull());
    QCOMPARE(int(reader.value(Orientation).toShort()), value);
    QCOMPARE(int(reader.value(Orientation).toLong()), value);
    QVERIFY(reader.value(Orientation + 1).isNull());
    QVERIFY(reader.value(-1).isNull());
    QVERIFY(reader.value(0x10000 + Orientation).isNull());
}

void TestExifReader::valueTypes_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("count");
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<int>("toShort");
    QTest::addColumn<int>("toLong");
    QTest::newRow("byte") << 1 << 1 << QByteArray("\x06") << 6 << 6;
    QTest::newRow("two bytes") << 1 << 2 << QByteArray("\x06\x01") << 0 << 0;
    QTest::newRow("short 0xFFFF") << 3 << 1 << QByteArray("\xFF\xFF") << 0xFFFF << 0xFFFF;
    QTest::newRow("two shorts") << 3 << 2 << QByteArray("\x00\x06\x00\x01", 4) << 0 << 0;
    QTest::newRow("long") << 4 << 1 << QByteArray("\x00\x01\x00\x06", 4) << 0 << 0x10006;
    QTest::newRow("slong") << 9 << 1 << QByteArray("\xFF\xFF\xFF\xFE") << 0 << int(0xFFFFFFFE);
    QTest::newRow("ascii") << 2 << 2 << QByteArray("6\0", 2) << 0 << 0;
    QTest::newRow("undefined") << 7 << 1 << QByteArray("\x06") << 0 << 0;
}

void TestExifReader::valueTypes()
{
    QFETCH(int, type);
    QFETCH(int, count);
    QFETCH(QByteArray, field);
    QFETCH(int, toShort);
    QFETCH(int, toLong);
    const QByteArray block = TiffDirectory(QDataStream::BigEndian)
                                 .inPlace(Orientation, quint16(type), quint32(count), field)
                                 .block();
    const ExifValue value = readBytes(jpegWithBlock(block)).value(Orientation);
    QVERIFY(!value.isNull());
    QCOMPARE(int(value.type()), type);
    QCOMPARE(int(value.count()), count);
    QCOMPARE(int(value.toShort()), toShort);
    QCOMPARE(value.toLong(), quint32(toLong));
}

void TestExifReader::valuesOutsideTheField()
{
    // A SHORT list, a RATIONAL and an ASCII text stored after the directory.
    TiffDirectory dir(QDataStream::LittleEndian);
    const quint32 data = 8 + 2 + 3 * 12 + 4;
    dir.atOffset(Orientation, 3, 3, data).atOffset(282, 5, 1, data + 6).atOffset(271, 2, 6, data + 14);
    const QByteArray tail = dir.number<quint16>(6) + dir.number<quint16>(1) + dir.number<quint16>(2)
        + dir.number<quint32>(72) + dir.number<quint32>(1) + QByteArray("Maker\0", 6);
    const ExifReader reader = readBytes(jpegWithBlock(dir.block(0, tail)));
    QCOMPARE(reader.value(Orientation).count(), 3u);
    QCOMPARE(int(reader.value(Orientation).toShort()), 0);
    QCOMPARE(int(reader.value(282).type()), int(ExifValue::Rational));
    QCOMPARE(int(reader.value(271).type()), int(ExifValue::Ascii));
}

void TestExifReader::noExif_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray exif = exifApp1(TiffDirectory(QDataStream::BigEndian).shortValue(Orientation, 6).block());
    const QByteArray xmp = app1(QByteArray("http://ns.adobe.com/xap/1.0/\0<x:xmpmeta/>", 41));
    QTest::newRow("png") << encode(quadrants(16, 16), "png");
    QTest::newRow("jpeg without exif") << plainJpeg();
    QTest::newRow("app1 not exif") << withSegment(plainJpeg(), xmp);
    QTest::newRow("ends right after app1") << QByteArray("\xFF\xD8", 2) + exif;
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("text") << QByteArray("not a picture at all");
    QTest::newRow("soi only") << QByteArray("\xFF\xD8", 2);
    QTest::newRow("byte order XX") << jpegWithBlock(QByteArray("XX\0\x2A\0\0\0\x08", 8) + QByteArray(20, 0));
    QTest::newRow("magic 43") << jpegWithBlock(QByteArray("MM\0\x2B\0\0\0\x08", 8) + QByteArray(20, 0));
    QTest::newRow("exif after image data") << plainJpeg() + exif;
}

void TestExifReader::noExif()
{
    QFETCH(QByteArray, bytes);
    bool loaded = true;
    const ExifReader reader = readBytes(bytes, &loaded);
    QVERIFY(!loaded);
    QVERIFY(reader.value(Orientation).isNull());
    QCOMPARE(int(reader.value(Orientation).toShort()), 0);
}

void TestExifReader::fromPath()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString photo = dir.filePath("photo.jpg");
    QVERIFY(writeFile(photo, orientedJpeg(quadrants(16, 16), QDataStream::BigEndian, 6)));
    QCOMPARE(int(ExifReader(photo).value(Orientation).toShort()), 6);
    QVERIFY(ExifReader(dir.filePath("missing.jpg")).value(Orientation).isNull());
    QVERIFY(QDir(dir.path()).mkdir("folder.jpg"));
    QVERIFY(ExifReader(dir.filePath("folder.jpg")).value(Orientation).isNull());

    // A loaded reader that loads again starts from empty tables.
    ExifReader reader(photo);
    const ExifReader copy = reader;
    QBuffer empty;
    empty.open(QIODevice::ReadOnly);
    QVERIFY(!reader.loadFromJpeg(&empty));
    QVERIFY(!reader.loadFromJpeg(nullptr));
    QVERIFY(reader.value(Orientation).isNull());
    QCOMPARE(int(copy.value(Orientation).toShort()), 6);
}

void TestExifReader::hostile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("orientation");
    const auto order = QDataStream::BigEndian;
    const auto withOrientation = [order] { return TiffDirectory(order).shortValue(Orientation, 6); };
    const QByteArray soi("\xFF\xD8", 2);

    QTest::newRow("entry count past the block")
        << jpegWithBlock(withOrientation().declareCount(0xFFFF).block()) << 6;
    QTest::newRow("huge counts of other entries")
        << jpegWithBlock(withOrientation()
                             .atOffset(270, 2, 0xFFFFFFFF, 8)
                             .atOffset(282, 5, 0x20000000, 8)
                             .atOffset(531, 3, 0x80000000, 0)
                             .atOffset(532, 10, 0xFFFFFFFF, 0xFFFFFFF0)
                             .block())
        << 6;
    QTest::newRow("huge orientation count")
        << jpegWithBlock(TiffDirectory(order).atOffset(Orientation, 3, 0x7FFFFFFF, 8).block()) << 0;
    QTest::newRow("orientation data past the end")
        << jpegWithBlock(TiffDirectory(order).atOffset(Orientation, 3, 4, 0xFFFFFFFE).block()) << 0;
    QTest::newRow("unknown type")
        << jpegWithBlock(TiffDirectory(order).atOffset(Orientation, 13, 0xFFFFFFFF, 8).block()) << 0;
    QTest::newRow("first directory past the end")
        << jpegWithBlock(QByteArray("MM\0\x2A\xFF\xFF\xFF\xF0", 8) + QByteArray(20, 0)) << 0;
    QTest::newRow("next directory past the end")
        << jpegWithBlock(withOrientation().block(0xFFFFFFFF)) << 6;
    QTest::newRow("next directory is the first")
        << jpegWithBlock(withOrientation().block(8)) << 6;
    QTest::newRow("sub-directories point anywhere")
        << jpegWithBlock(withOrientation()
                             .longValue(34665, 8)
                             .longValue(34853, 0xFFFFFFFF)
                             .block())
        << 6;
    {
        TiffDirectory first = withOrientation();
        TiffDirectory thumbnail(order);
        thumbnail.longValue(513, 4).longValue(514, 0xFFFFFFFF);
        const QByteArray block = first.block(first.tailOffset(), thumbnail.bytes(first.tailOffset()));
        QTest::newRow("thumbnail past the end, directory loop") << jpegWithBlock(block) << 6;
    }
    const QByteArray exif = exifApp1(withOrientation().block());
    QTest::newRow("app1 size 7") << soi + QByteArray("\xFF\xE1\x00\x07" "Exif\0\0", 10) + exif << 0;
    QTest::newRow("app1 size 0") << soi + QByteArray("\xFF\xE1\x00\x00" "Exif\0\0", 10) + exif << 0;
    QTest::newRow("app1 longer than the file") << soi + QByteArray("\xFF\xE1\xFF\xFF" "Exif\0\0MM\0\x2A", 14) << 0;
    QTest::newRow("segment length 0") << soi + QByteArray("\xFF\xE0\x00\x00", 4) + exif << 0;
    QTest::newRow("segment length 1") << soi + QByteArray("\xFF\xE0\x00\x01", 4) + exif << 0;
    QTest::newRow("segment past the end") << soi + QByteArray("\xFF\xE0\xFF\xFF", 4) << 0;
    QTest::newRow("no marker") << soi + QByteArray("\x12\x34\x00\x10", 4) + exif << 0;
    QTest::newRow("block is the header only")
        << soi + exifApp1(QByteArray("MM\0\x2A\0\0\0\x08", 8)) + plainJpeg().mid(2) << 0;
}

void TestExifReader::hostile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, orientation);
    const ExifValue value = readBytes(bytes).value(Orientation);
    QCOMPARE(int(value.toShort()), orientation);
    QCOMPARE(value.isNull(), orientation == 0);
}

void TestExifReader::mutatedFiles()
{
    // Random damage to the headers of a good file: never a crash, and no value after a failure.
    TiffDirectory first(QDataStream::LittleEndian);
    first.shortValue(Orientation, 6).longValue(34665, 26).atOffset(282, 5, 1, 8);
    TiffDirectory thumbnail(QDataStream::LittleEndian);
    thumbnail.longValue(513, 8).longValue(514, 16);
    const QByteArray block = first.block(first.tailOffset(), thumbnail.bytes(0));
    const QByteArray good = jpegWithBlock(block);
    const int headerEnd = 2 + 10 + block.size() + 40;
    QRandomGenerator random(20240601);
    for (int round = 0; round < 4000; ++round) {
        QByteArray bytes = good;
        const int changes = 1 + random.bounded(6);
        for (int i = 0; i < changes; ++i)
            bytes[random.bounded(headerEnd)] = char(random.bounded(256));
        if (random.bounded(4) == 0)
            bytes.truncate(random.bounded(headerEnd));
        bool loaded = false;
        const ExifReader reader = readBytes(bytes, &loaded);
        if (!loaded)
            QVERIFY(reader.value(Orientation).isNull());
    }
}

QTEST_GUILESS_MAIN(TestExifReader)
#include "tst_exifreader.moc"

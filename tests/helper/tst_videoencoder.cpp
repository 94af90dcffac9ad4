#include <QtTest>

#include "support/SoundFixture.h"
#include "support/VideoProbe.h"
#include "helper/VideoEncoder.h"

#include <QPainter>

extern "C" {
#include <libavcodec/avcodec.h>
}

namespace {

const QList<QRgb> kColors = {qRgb(220, 30, 30), qRgb(30, 200, 40), qRgb(40, 50, 210)};
constexpr int kTolerance = 8;

QImage filled(const QSize& size, QRgb color, QImage::Format format = QImage::Format_RGB32)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    return image.convertToFormat(format);
}

// The output of a program run to its end.
QByteArray outputOf(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    return process.readAllStandardOutput();
}

QRgb centre(const QImage& image)
{
    return image.pixel(image.width() / 2, image.height() / 2);
}

} // namespace

class TestVideoEncoder : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void containers_data();
    void containers();
    void coloursTagged_data();
    void coloursTagged();
    void bitRateForHeight_data();
    void bitRateForHeight();
    void framesOfChangingSizeAndFormat();
    void oddWidthReadsOnlyTheImage_data();
    void oddWidthReadsOnlyTheImage();
    void unsupportedFormatRefused_data();
    void unsupportedFormatRefused();
    void openFails_data();
    void openFails();
    void refusedUnlessOpen();
    void closeRestoresDefaults();
    void fullDiskReported_data();
    void fullDiskReported();

private:
    QString path(const QString& name) const { return m_dir->filePath(name); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestVideoEncoder::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestVideoEncoder::containers_data()
{
    QTest::addColumn<QString>("extension");
    QTest::addColumn<int>("codecId");
    QTest::addColumn<int>("pixelFormat");
    QTest::addColumn<bool>("timed"); // the container keeps frame rate and duration
    QTest::newRow("mp4") << "mp4" << int(AV_CODEC_ID_H264) << int(AV_PIX_FMT_YUV420P) << true;
    QTest::newRow("mkv") << "mkv" << int(AV_CODEC_ID_H264) << int(AV_PIX_FMT_YUV420P) << true;
    QTest::newRow("mov") << "mov" << int(AV_CODEC_ID_H264) << int(AV_PIX_FMT_YUV420P) << true;
    QTest::newRow("webm") << "webm" << int(AV_CODEC_ID_VP8) << int(AV_PIX_FMT_YUV420P) << true;
    QTest::newRow("avi") << "avi" << int(AV_CODEC_ID_MPEG4) << int(AV_PIX_FMT_YUV420P) << true;
    QTest::newRow("wmv") << "wmv" << int(AV_CODEC_ID_MSMPEG4V3) << int(AV_PIX_FMT_YUV420P) << true;
    QTest::newRow("mjpeg") << "mjpeg" << int(AV_CODEC_ID_MJPEG) << int(AV_PIX_FMT_YUVJ420P) << false;
}

// 25 odd-sized frames in cycling colours: every frame arrives, in order, at an even size.
void TestVideoEncoder::containers()
{
    QFETCH(QString, extension);
    QFETCH(int, codecId);
    QFETCH(int, pixelFormat);
    QFETCH(bool, timed);

    const QString file = path("video." + extension);
    {
        VideoEncoder encoder;
        encoder.setFileName(file);
        encoder.setWidth(321);
        encoder.setHeight(241);
        encoder.setFps(30);
        QVERIFY(encoder.open());
        for (int i = 0; i < 25; ++i)
            QVERIFY(encoder.encodeFrame(filled(QSize(321, 241), kColors[i % 3])));
        encoder.close();
    }

    const VideoProbe probe = VideoProbe::read(file);
    QVERIFY(probe.ok);
    QCOMPARE(probe.codecId, codecId);
    QCOMPARE(probe.size, QSize(320, 240));
    QCOMPARE(probe.pixelFormat, pixelFormat);
    QCOMPARE(probe.frames.size(), 25);
    for (int i = 0; i < probe.frames.size(); ++i)
        QVERIFY2(colorsClose(centre(probe.frames[i]), kColors[i % 3], kTolerance), qPrintable(QString::number(i)));
    if (!timed)
        return;
    QCOMPARE(probe.rateNum, 30 * probe.rateDen);
    QVERIFY2(qAbs(probe.durationSeconds - 25 / 30.0) < 0.02, qPrintable(QString::number(probe.durationSeconds)));
}

void TestVideoEncoder::coloursTagged_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("space"); // matrix, primaries and transfer
    QTest::newRow("640x360") << QSize(640, 360) << "smpte170m";
    QTest::newRow("1920x1080") << QSize(1920, 1080) << "bt709";
}

// Solid colours come back within 3 of their RGB when ffmpeg decodes the video as a player
// does, by its colour tags.
void TestVideoEncoder::coloursTagged()
{
    QFETCH(QSize, size);
    QFETCH(QString, space);
    const QList<QRgb> colours = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255),
                                 qRgb(128, 128, 128)};
    const int repeats = 3;
    const QString file = path("colours.mp4");
    {
        VideoEncoder encoder;
        encoder.setFileName(file);
        encoder.setWidth(size.width());
        encoder.setHeight(size.height());
        encoder.setFps(10);
        QVERIFY(encoder.open());
        for (QRgb colour : colours) {
            for (int i = 0; i < repeats; ++i)
                QVERIFY(encoder.encodeFrame(filled(size, colour)));
        }
        encoder.close();
    }
    const QByteArray tags = outputOf(
        QStandardPaths::findExecutable("ffprobe"),
        {"-v", "error", "-select_streams", "v:0", "-show_entries",
         "stream=color_space,color_primaries,color_transfer,color_range", "-of",
         "default=nw=1", file});
    QCOMPARE(QString(tags).split('\n', Qt::SkipEmptyParts),
             QStringList({"color_range=tv", "color_space=" + space, "color_transfer=" + space,
                          "color_primaries=" + space}));
    // The centre 16 x 16 of every frame, cut before the conversion to RGB.
    const int side = 16;
    const QByteArray rgb = outputOf(
        SoundFixture::ffmpeg(),
        {"-v", "error", "-i", file, "-vf",
         QStringLiteral("crop=%1:%1:%2:%3").arg(side).arg((size.width() - side) / 2).arg((size.height() - side) / 2),
         "-f", "rawvideo", "-pix_fmt", "rgb24", "-"});
    QCOMPARE(rgb.size(), colours.size() * repeats * side * side * 3);
    for (int f = 0; f < colours.size() * repeats; ++f) {
        const auto* pixel = reinterpret_cast<const uchar*>(rgb.constData()) + f * side * side * 3
            + (side / 2 * side + side / 2) * 3;
        const QRgb decoded = qRgb(pixel[0], pixel[1], pixel[2]);
        QVERIFY2(colorsClose(decoded, colours[f / repeats], 3),
                 qPrintable(QStringLiteral("frame %1: %2").arg(f).arg(decoded, 8, 16)));
    }
}

void TestVideoEncoder::bitRateForHeight_data()
{
    QTest::addColumn<int>("height");
    QTest::addColumn<qint64>("bitRate");
    QTest::newRow("240") << 240 << qint64(1000000);
    QTest::newRow("360") << 360 << qint64(1000000);
    QTest::newRow("361") << 361 << qint64(2500000);
    QTest::newRow("480") << 480 << qint64(2500000);
    QTest::newRow("481") << 481 << qint64(6500000);
    QTest::newRow("720") << 720 << qint64(6500000);
    QTest::newRow("721") << 721 << qint64(10000000);
    QTest::newRow("1080") << 1080 << qint64(10000000);
    QTest::newRow("1081") << 1081 << qint64(20000000);
    QTest::newRow("1440") << 1440 << qint64(20000000);
    QTest::newRow("1441") << 1441 << qint64(44000000);
    QTest::newRow("2160") << 2160 << qint64(44000000);
    QTest::newRow("2161") << 2161 << qint64(56000000);
}

void TestVideoEncoder::bitRateForHeight()
{
    QFETCH(int, height);
    QFETCH(qint64, bitRate);
    QCOMPARE(VideoEncoder::bitRateForHeight(height), bitRate);
}

// Each change of size or source format rebuilds the scaler; the encoder size stays.
void TestVideoEncoder::framesOfChangingSizeAndFormat()
{
    QImage blackOnWhite(QSize(90, 70), QImage::Format_Mono);
    blackOnWhite.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    blackOnWhite.fill(1);
    QImage whiteOnBlack(QSize(90, 70), QImage::Format_Mono);
    whiteOnBlack.fill(1);
    const QList<QPair<QImage, QRgb>> frames = {
        {filled(QSize(160, 120), kColors[0]), kColors[0]},
        {filled(QSize(160, 120), kColors[1], QImage::Format_RGB888), kColors[1]},
        {filled(QSize(320, 240), kColors[2], QImage::Format_RGB16), kColors[2]},
        {filled(QSize(41, 33), kColors[0], QImage::Format_ARGB32_Premultiplied), kColors[0]},
        {blackOnWhite, qRgb(0, 0, 0)},
        {whiteOnBlack, qRgb(255, 255, 255)},
        {filled(QSize(160, 120), kColors[1], QImage::Format_ARGB32), kColors[1]},
    };
    const QString file = path("changes.avi");
    {
        VideoEncoder encoder;
        encoder.setFileName(file);
        encoder.setWidth(160);
        encoder.setHeight(120);
        QVERIFY(encoder.open());
        for (const auto& frame : frames)
            QVERIFY(encoder.encodeFrame(frame.first));
    }

    const VideoProbe probe = VideoProbe::read(file);
    QCOMPARE(probe.frames.size(), frames.size());
    QCOMPARE(probe.size, QSize(160, 120));
    for (int i = 0; i < frames.size(); ++i)
        QVERIFY2(colorsClose(centre(probe.frames[i]), frames[i].second, kTolerance), qPrintable(QString::number(i)));
}

void TestVideoEncoder::oddWidthReadsOnlyTheImage_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<int>("pixelBytes");
    QTest::newRow("rgb32") << int(QImage::Format_RGB32) << 4;
    QTest::newRow("argb32 premultiplied") << int(QImage::Format_ARGB32_Premultiplied) << 4;
    QTest::newRow("rgb888") << int(QImage::Format_RGB888) << 3;
    QTest::newRow("rgb16") << int(QImage::Format_RGB16) << 2;
}

// The same grey pixels, once followed in memory by red and once by blue, each row and after the
// last: the video shows the image alone, grey up to its right edge.
void TestVideoEncoder::oddWidthReadsOnlyTheImage()
{
    QFETCH(int, format);
    QFETCH(int, pixelBytes);
    const QSize size(33, 17);
    const QRgb grey = qRgb(128, 128, 128);
    const int stride = (size.width() * pixelBytes + 3) / 4 * 4;
    QList<QImage> decoded;
    for (const QRgb beyond : {qRgb(255, 0, 0), qRgb(0, 0, 255)}) {
        std::vector<quint32> memory(size_t(stride * size.height() / 4 + 16), beyond);
        QImage image(reinterpret_cast<uchar*>(memory.data()), size.width(), size.height(), stride,
                     QImage::Format(format));
        QPainter(&image).fillRect(image.rect(), QColor(grey));
        const QString file = path(QStringLiteral("odd%1.avi").arg(decoded.size()));
        VideoEncoder encoder;
        encoder.setFileName(file);
        encoder.setWidth(size.width());
        encoder.setHeight(size.height());
        QVERIFY(encoder.open());
        QVERIFY(encoder.encodeFrame(image));
        QVERIFY(encoder.close());
        const VideoProbe probe = VideoProbe::read(file);
        QCOMPARE(probe.frames.size(), 1);
        decoded << probe.frames[0];
    }
    QCOMPARE(decoded[0], decoded[1]);
    const QImage& frame = decoded[0];
    for (int y = 0; y < frame.height(); ++y)
        QVERIFY2(colorsClose(frame.pixel(frame.width() - 1, y), grey, kTolerance), qPrintable(QString::number(y)));
}

void TestVideoEncoder::unsupportedFormatRefused_data()
{
    QTest::addColumn<QImage>("image");
    QImage indexed(QSize(64, 48), QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(255, 0, 0)});
    indexed.fill(0);
    QImage coloured(QSize(64, 48), QImage::Format_Mono);
    coloured.setColorTable({qRgb(255, 0, 0), qRgb(0, 0, 255)});
    QTest::newRow("indexed8") << indexed;
    QTest::newRow("mono lsb") << filled(QSize(64, 48), qRgb(0, 0, 0), QImage::Format_MonoLSB);
    QTest::newRow("mono in colour") << coloured;
    QTest::newRow("grayscale8") << filled(QSize(64, 48), kColors[0], QImage::Format_Grayscale8);
    QTest::newRow("null") << QImage();
}

// A refused frame leaves no trace: the next supported one of the same size is frame 0.
void TestVideoEncoder::unsupportedFormatRefused()
{
    QFETCH(QImage, image);
    const QString file = path("refused.mkv");
    {
        VideoEncoder encoder;
        encoder.setFileName(file);
        encoder.setWidth(64);
        encoder.setHeight(48);
        QVERIFY(encoder.open());
        QVERIFY(!encoder.encodeFrame(image));
        QVERIFY(encoder.encodeFrame(filled(QSize(64, 48), kColors[2])));
    }
    const VideoProbe probe = VideoProbe::read(file);
    QCOMPARE(probe.frames.size(), 1);
    QVERIFY(colorsClose(centre(probe.frames[0]), kColors[2], kTolerance));
}

void TestVideoEncoder::openFails_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("mode");
    QTest::newRow("missing folder") << "missing/video.mp4" << 1;
    QTest::newRow("unknown extension") << "video.nosuchformat" << 1;
    QTest::newRow("no file name") << "" << 1;
    QTest::newRow("no video stream") << "video.mp4" << 0;
    QTest::newRow("codec refuses the size") << "video.3gp" << 1;
}

// Nothing is encoded after a failed open, and closing or destroying is clean.
void TestVideoEncoder::openFails()
{
    QFETCH(QString, name);
    QFETCH(int, mode);
    VideoEncoder encoder;
    encoder.setFileName(name.isEmpty() ? name : path(name));
    encoder.setWidth(64);
    encoder.setHeight(48);
    encoder.setMode(mode);
    QVERIFY(!encoder.open());
    QVERIFY(!encoder.encodeFrame(filled(QSize(64, 48), kColors[0])));
    encoder.close();
    encoder.close();
}

void TestVideoEncoder::refusedUnlessOpen()
{
    VideoEncoder encoder;
    const QImage frame = filled(QSize(64, 48), kColors[0]);
    QVERIFY(!encoder.encodeFrame(frame));
    encoder.setFileName(path("once.mkv"));
    encoder.setWidth(64);
    encoder.setHeight(48);
    QVERIFY(encoder.open());
    QVERIFY(!encoder.open());
    QVERIFY(encoder.encodeFrame(frame));
    encoder.close();
    QVERIFY(!encoder.encodeFrame(frame));
    QCOMPARE(VideoProbe::read(path("once.mkv")).frames.size(), 1);
}

// The next file gets the default size and rate, and its frames start at time 0.
void TestVideoEncoder::closeRestoresDefaults()
{
    VideoEncoder encoder;
    encoder.setFileName(path("first.mp4"));
    encoder.setWidth(64);
    encoder.setHeight(48);
    encoder.setFps(30);
    QVERIFY(encoder.open());
    for (int i = 0; i < 10; ++i)
        QVERIFY(encoder.encodeFrame(filled(QSize(64, 48), kColors[0])));
    QVERIFY(encoder.close());

    encoder.setFileName(path("second.mp4"));
    QVERIFY(encoder.open());
    for (int i = 0; i < 3; ++i)
        QVERIFY(encoder.encodeFrame(filled(QSize(64, 48), kColors[1])));
    encoder.close();

    const VideoProbe probe = VideoProbe::read(path("second.mp4"));
    QCOMPARE(probe.size, QSize(640, 480));
    QCOMPARE(probe.rateNum, 15 * probe.rateDen);
    QCOMPARE(probe.frames.size(), 3);
    QVERIFY2(qAbs(probe.durationSeconds - 0.2) < 0.02, qPrintable(QString::number(probe.durationSeconds)));
}

void TestVideoEncoder::fullDiskReported_data()
{
    QTest::addColumn<QString>("extension");
    // Not mp4: its muxer refuses /dev/full at once, as the device cannot seek.
    QTest::newRow("mkv") << "mkv";
    QTest::newRow("avi") << "avi";
}

// Every write to /dev/full fails as on a full disk; a small video is only written
// when the file is finished, so closing must report it.
void TestVideoEncoder::fullDiskReported()
{
    QFETCH(QString, extension);
    if (!QFileInfo::exists("/dev/full"))
        QSKIP("no /dev/full");
    const QString name = path("full." + extension);
    QVERIFY(QFile::link("/dev/full", name));
    VideoEncoder encoder;
    encoder.setFileName(name);
    encoder.setWidth(64);
    encoder.setHeight(48);
    QVERIFY(encoder.open());
    for (int i = 0; i < 3; ++i)
        encoder.encodeFrame(filled(QSize(64, 48), kColors[i]));
    QVERIFY(!encoder.close());
    QVERIFY(encoder.close()); // nothing left to fail
}

QTEST_GUILESS_MAIN(TestVideoEncoder)
#include "tst_videoencoder.moc"

#include <QtTest>

#include "app/ThubnailProvider.h"

namespace {

const QColor kGrey(101, 101, 101);

QImage filled(const QSize& size, const QColor& color)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(color);
    return image;
}

// The rectangle of the thumbnail that is not grey.
QRect pictureArea(const QImage& thumbnail)
{
    QRect area;
    for (int y = 0; y < thumbnail.height(); ++y) {
        for (int x = 0; x < thumbnail.width(); ++x) {
            if (thumbnail.pixelColor(x, y) != kGrey)
                area |= QRect(x, y, 1, 1);
        }
    }
    return area;
}

} // namespace

class TestThumbnails : public QObject
{
    Q_OBJECT

private slots:
    void pictureFitsCentredOnGrey_data();
    void pictureFitsCentredOnGrey();
    void requestsBecomeThumbnails();
    void skippedRequestGivesNone();
    void interruptionEndsAnIdleLoop();
    void stopEndsTheThreadFromItsPause();

private:
    QString writePicture(const QString& name, const QSize& size) const;
    QTemporaryDir m_folder;
};

QString TestThumbnails::writePicture(const QString& name, const QSize& size) const
{
    const QString path = m_folder.filePath(name);
    return filled(size, Qt::red).save(path) ? path : QString();
}

void TestThumbnails::pictureFitsCentredOnGrey_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QRect>("area");
    QTest::newRow("wide") << QSize(124, 62) << QRect(0, 15, 62, 31);
    QTest::newRow("tall") << QSize(62, 124) << QRect(15, 0, 31, 62);
    QTest::newRow("small square is enlarged") << QSize(31, 31) << QRect(0, 0, 62, 62);
    QTest::newRow("odd") << QSize(200, 99) << QRect(0, 16, 62, 30);
    QTest::newRow("no picture") << QSize() << QRect();
}

void TestThumbnails::pictureFitsCentredOnGrey()
{
    QFETCH(QSize, size);
    QFETCH(QRect, area);
    const QImage thumbnail = ThubnailProvider::makeThumbnail(size.isValid() ? filled(size, Qt::red) : QImage());
    QCOMPARE(thumbnail.size(), QSize(62, 62));
    QCOMPARE(thumbnail.format(), QImage::Format_ARGB32);
    QCOMPARE(pictureArea(thumbnail), area);
    if (!area.isEmpty())
        QCOMPARE(thumbnail.pixelColor(area.center()), QColor(Qt::red));
}

void TestThumbnails::requestsBecomeThumbnails()
{
    ThubnailProvider provider(nullptr);
    QSignalSpy complete(&provider, &ThubnailProvider::complete);
    provider.appendRequest(QStringLiteral("wide"), writePicture(QStringLiteral("wide.png"), QSize(124, 62)));
    provider.appendRequest(QStringLiteral("missing"), m_folder.filePath(QStringLiteral("none.png")));
    QVERIFY(provider.thumbnail(QStringLiteral("wide")).isNull());
    provider.start();
    QTRY_COMPARE_WITH_TIMEOUT(complete.count(), 2, 10000);
    QCOMPARE(complete.at(0).at(0).toString(), QStringLiteral("wide"));
    QCOMPARE(complete.at(1).at(0).toString(), QStringLiteral("missing"));
    QCOMPARE(pictureArea(provider.thumbnail(QStringLiteral("wide"))), QRect(0, 15, 62, 31));
    // A picture that cannot be read still gets its grey square.
    QCOMPARE(pictureArea(provider.thumbnail(QStringLiteral("missing"))), QRect());
    QVERIFY(!provider.thumbnail(QStringLiteral("missing")).isNull());
    provider.requestInterruption();
    QVERIFY(provider.wait(10000));
}

void TestThumbnails::skippedRequestGivesNone()
{
    ThubnailProvider provider(nullptr);
    QSignalSpy complete(&provider, &ThubnailProvider::complete);
    const QString path = writePicture(QStringLiteral("square.png"), QSize(10, 10));
    provider.appendRequest(QStringLiteral("skipped"), path, true);
    provider.appendRequest(QStringLiteral("next"), path);
    provider.start();
    QTRY_COMPARE_WITH_TIMEOUT(complete.count(), 1, 10000);
    QCOMPARE(complete.at(0).at(0).toString(), QStringLiteral("next"));
    QVERIFY(provider.thumbnail(QStringLiteral("skipped")).isNull());
    provider.requestInterruption();
    QVERIFY(provider.wait(10000));
    QCOMPARE(complete.count(), 1);
}

void TestThumbnails::interruptionEndsAnIdleLoop()
{
    ThubnailProvider provider(nullptr);
    provider.start();
    QTRY_VERIFY(provider.isRunning());
    provider.requestInterruption();
    // One idle pause is 500 ms: four times that is room enough on a busy machine.
    QVERIFY(provider.wait(2000));
}

void TestThumbnails::stopEndsTheThreadFromItsPause()
{
    ThubnailProvider provider(nullptr);
    QSignalSpy complete(&provider, &ThubnailProvider::complete);
    provider.appendRequest(QStringLiteral("one"), writePicture(QStringLiteral("one.png"), QSize(10, 10)));
    provider.start();
    // In the idle pause after the request.
    QTRY_COMPARE_WITH_TIMEOUT(complete.count(), 1, 10000);
    QElapsedTimer stopping;
    stopping.start();
    provider.stop();
    qInfo("stop took %lld ms", stopping.elapsed());
    QVERIFY(provider.isFinished());
}

QTEST_GUILESS_MAIN(TestThumbnails)
#include "tst_thumbnails.moc"

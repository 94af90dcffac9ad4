#include "support/UiTestSupport.h"

#include "model/ProjectItemSimple.h"
#include "pages/SlideRowThumbnailCache.h"
#include "uilib/style/CPainterScope.h"

#include <QAtomicInt>
#include <QSemaphore>
#include <QStyleOption>
#include <QThreadPool>
#include <QPainter>
#include <QTemporaryDir>

#include <memory>

namespace {

using Cache = SlideRowWidget::ThumbnailCache;

// Counts paint events of the widgets it watches.
class PaintCounter : public QObject
{
public:
    QHash<QObject*, int> paints;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints[watched];
        return false;
    }
};

// A side x side picture, red on its left half and blue on its right.
QImage halves(int side)
{
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::blue);
    QPainter(&image).fillRect(0, 0, side / 2, side, Qt::red);
    return image;
}

// A thumbnail whose painting the test drives through a paint scope at any ratio.
class ThumbnailProbe : public SlideRowWidget::ThumbnailButton
{
public:
    ThumbnailProbe() : ThumbnailButton(nullptr) {}

    QImage paint(double ratio, const QColor& background = Qt::transparent)
    {
        return paintAtRatio(size(), ratio, [this](QPainter* painter) {
            QStyleOption option;
            option.rect = rect();
            CPainterScope scope(painter, &option);
            drawButton(scope);
        }, background);
    }
};

bool sameColour(const QColor& a, const QColor& b)
{
    return a.rgba() == b.rgba();
}

} // namespace

// The row thumbnail cache and the thumbnail's painting at every ratio.
class TestThumbnailCache : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void twoRequestsStartOneLoadAndRepaintTheLast();
    void cachedKeyReturnsAtOnce();
    void pictureIsCentredAndCropped();
    void unreadableFileCachesTransparentSquare();
    void ratioChangeStartsNewLoad_data();
    void ratioChangeStartsNewLoad();
    void paintingSnapsEdges_data();
    void paintingSnapsEdges();
    // Last: the cache stays closed afterwards.
    void closedCacheDropsLateLoads();

private:
    QString uniquePath() { return m_dir.filePath(QStringLiteral("p%1.jpg").arg(++m_counter)); }
    // Caches the halves picture of the path at that side.
    void preload(int side, const QString& path);

    QTemporaryDir m_dir;
    int m_counter = 0;
    std::shared_ptr<QAtomicInt> m_loads;
    std::shared_ptr<QImage> m_nextPicture;
};

void TestThumbnailCache::init()
{
    m_loads = std::make_shared<QAtomicInt>(0);
    m_nextPicture = std::make_shared<QImage>();
    auto loads = m_loads;
    auto next = m_nextPicture;
    Cache::instance()->setLoader([loads, next](const QString&, int side) {
        loads->ref();
        return next->isNull() ? halves(side) : *next;
    });
}

void TestThumbnailCache::cleanup()
{
    Cache::instance()->setLoader({});
}

void TestThumbnailCache::preload(int side, const QString& path)
{
    Cache* cache = Cache::instance();
    QVERIFY(cache->thumbnail(side, path, nullptr).isNull());
    QTRY_VERIFY_WITH_TIMEOUT(!cache->isPending(side, path), 10000);
    QVERIFY(!cache->thumbnail(side, path, nullptr).isNull());
}

void TestThumbnailCache::twoRequestsStartOneLoadAndRepaintTheLast()
{
    QWidget window;
    window.resize(200, 100);
    auto* first = new SlideRowWidget::ThumbnailButton(&window);
    auto* second = new SlideRowWidget::ThumbnailButton(&window);
    second->move(100, 0);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    PaintCounter counter;
    first->installEventFilter(&counter);
    second->installEventFilter(&counter);

    QSemaphore gate;
    auto loads = m_loads;
    Cache::instance()->setLoader([&gate, loads](const QString&, int side) {
        loads->ref();
        gate.acquire();
        return halves(side);
    });
    const QString path = uniquePath();
    QVERIFY(Cache::instance()->thumbnail(64, path, first).isNull());
    QVERIFY(Cache::instance()->thumbnail(64, path, second).isNull());
    gate.release();
    QTRY_VERIFY_WITH_TIMEOUT(!Cache::instance()->isPending(64, path), 10000);
    QTRY_VERIFY(counter.paints.value(second) > 0);
    QCoreApplication::processEvents();
    QCOMPARE(counter.paints.value(first), 0);
    QCOMPARE(m_loads->loadAcquire(), 1);
}

void TestThumbnailCache::cachedKeyReturnsAtOnce()
{
    const QString path = uniquePath();
    preload(64, path);
    const QPixmap pixmap = Cache::instance()->thumbnail(64, path, nullptr);
    QCOMPARE(pixmap.size(), QSize(64, 64));
    QVERIFY(!Cache::instance()->isPending(64, path));
    QCOMPARE(m_loads->loadAcquire(), 1);
}

void TestThumbnailCache::pictureIsCentredAndCropped()
{
    // 20 x 10 covering a 10 x 10 square: its middle ten columns are kept.
    QImage wide(20, 10, QImage::Format_ARGB32_Premultiplied);
    wide.fill(Qt::green);
    QPainter(&wide).fillRect(5, 0, 5, 10, Qt::red);
    QPainter(&wide).fillRect(10, 0, 5, 10, Qt::blue);
    *m_nextPicture = wide;
    const QString path = uniquePath();
    preload(10, path);
    const QImage square = Cache::instance()->thumbnail(10, path, nullptr).toImage();
    QCOMPARE(square.size(), QSize(10, 10));
    QCOMPARE(square.pixelColor(0, 5), QColor(Qt::red));
    QCOMPARE(square.pixelColor(4, 5), QColor(Qt::red));
    QCOMPARE(square.pixelColor(5, 5), QColor(Qt::blue));
    QCOMPARE(square.pixelColor(9, 5), QColor(Qt::blue));
}

void TestThumbnailCache::unreadableFileCachesTransparentSquare()
{
    Cache::instance()->setLoader({});
    const QString path = m_dir.filePath(QStringLiteral("missing.jpg"));
    preload(32, path);
    const QImage square = Cache::instance()->thumbnail(32, path, nullptr).toImage();
    QCOMPARE(square.size(), QSize(32, 32));
    for (int y = 0; y < square.height(); ++y)
        for (int x = 0; x < square.width(); ++x)
            QCOMPARE(qAlpha(square.pixel(x, y)), 0);
}

void TestThumbnailCache::ratioChangeStartsNewLoad_data()
{
    QTest::addColumn<double>("ratio");
    addRatioRows();
}

void TestThumbnailCache::ratioChangeStartsNewLoad()
{
    QFETCH(double, ratio);
    const QString path = uniquePath();
    ProjectItemSimple slide(path, 1000, 0);
    ThumbnailProbe button;
    button.setItem(&slide);
    preload(64, path);
    const int side = qRound(64 * ratio);
    button.paint(ratio);
    QCOMPARE(Cache::instance()->isPending(side, path), side != 64);
    QTRY_VERIFY_WITH_TIMEOUT(!Cache::instance()->isPending(side, path), 10000);
    QCOMPARE(m_loads->loadAcquire(), side == 64 ? 1 : 2);
    QCOMPARE(Cache::instance()->thumbnail(side, path, nullptr).width(), side);
}

void TestThumbnailCache::paintingSnapsEdges_data()
{
    QTest::addColumn<double>("ratio");
    addRatioRows();
}

// With a one-pixel margin the picture's edges fall between device pixels at fractional ratios;
// they are drawn whole, and the picture's halves meet in the middle of the square.
void TestThumbnailCache::paintingSnapsEdges()
{
    QFETCH(double, ratio);
    const QString path = uniquePath();
    ProjectItemSimple slide(path, 1000, 0);
    ThumbnailProbe button;
    button.setContentsMargins(1, 1, 1, 1);
    button.setItem(&slide);
    const int left = qRound(1 * ratio);
    const int right = qRound(63 * ratio);
    const int side = right - left;
    preload(side, path);

    const QColor background(Qt::white);
    const QImage image = button.paint(ratio, background);
    const int y = qRound(10 * ratio);
    QVERIFY(sameColour(devicePixel(image, left - 1, y), background));
    QVERIFY(sameColour(devicePixel(image, left, y), Qt::red));
    QVERIFY(sameColour(devicePixel(image, left + side / 2 - 1, y), Qt::red));
    QVERIFY(sameColour(devicePixel(image, left + side / 2, y), Qt::blue));
    QVERIFY(sameColour(devicePixel(image, right - 1, y), Qt::blue));
    QVERIFY(sameColour(devicePixel(image, right, y), background));
}

void TestThumbnailCache::closedCacheDropsLateLoads()
{
    QSemaphore gate;
    Cache::instance()->setLoader([&gate](const QString&, int side) {
        gate.acquire();
        return halves(side);
    });
    const QString path = uniquePath();
    QVERIFY(Cache::instance()->thumbnail(16, path, nullptr).isNull());
    QVERIFY(QMetaObject::invokeMethod(QCoreApplication::instance(), "aboutToQuit", Qt::DirectConnection));
    gate.release();
    QTest::qWait(0);
    QThreadPool::globalInstance()->waitForDone(10000);
    QCoreApplication::processEvents();
    QVERIFY(!Cache::instance()->isPending(16, path));
    QVERIFY(Cache::instance()->thumbnail(16, path, nullptr).isNull());
    QVERIFY(!Cache::instance()->isPending(16, path));
}

TY_UI_TEST_MAIN(TestThumbnailCache)
#include "tst_thumbnailcache.moc"

#include "support/UiTestSupport.h"

#include "app/CSystemTools.h"
#include "uilib/controls/CStartScreen.h"
#include "uilib/controls/CWindow.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QScreen>
#include <QSet>
#include <QTimer>

namespace {

QPixmap picture(const QSize& size)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::black);
    return pixmap;
}

struct Times
{
    int minimum = 200;
    int tick = 20;
    bool handOver = false;
};

CStartScreen* makeSplash(const Times& times, int firstDots = 1, int maxDots = 3)
{
    auto* splash = new CStartScreen(QRect(), picture(QSize(400, 200)), QStringLiteral("1.0"), times.minimum,
                                    times.tick, firstDots, maxDots, times.handOver, QPoint(), QPoint(),
                                    QColor(), QColor(), false);
    splash->show();
    return splash;
}

// Counts the paints of a widget.
class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

} // namespace

class TestStartScreen : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void closesAtFirstTickAfterMinimum_data();
    void closesAtFirstTickAfterMinimum();
    void dotsCycle();
    void handOverWaitsForMainWindow();
    void earlyFinishDoesNothingAndTickHandsOver();
    void transparentColoursHideTexts_data();
    void transparentColoursHideTexts();
    void offsets_data();
    void offsets();
    void pictureFollowsRatio();
};

void TestStartScreen::cleanup()
{
    CSystemTools::instance()->setMainWindow(nullptr);
}

void TestStartScreen::closesAtFirstTickAfterMinimum_data()
{
    QTest::addColumn<int>("tick");
    QTest::addColumn<int>("maxPaints");
    QTest::newRow("ticking") << 20 << 1000;
    // No dots and no busy loop: the timer comes back once, at the minimum time.
    QTest::newRow("tick 0") << 0 << 20;
    QTest::newRow("negative tick") << -5 << 20;
}

void TestStartScreen::closesAtFirstTickAfterMinimum()
{
    QFETCH(int, tick);
    QFETCH(int, maxPaints);
    Times times;
    times.tick = tick;
    QElapsedTimer clock;
    clock.start();
    QPointer<CStartScreen> splash = makeSplash(times);
    PaintCounter counter;
    splash->installEventFilter(&counter);
    qint64 closedAfter = -1;
    connect(splash, &QObject::destroyed, &counter, [&] { closedAfter = clock.elapsed(); });
    QTRY_VERIFY_WITH_TIMEOUT(!splash, 10000);
    QVERIFY(closedAfter >= times.minimum);
    QVERIFY(counter.paints <= maxPaints);
}

void TestStartScreen::dotsCycle()
{
    Times times;
    times.minimum = 400;
    times.tick = 40;
    QPointer<CStartScreen> splash = makeSplash(times, 1, 3);
    QSet<QString> seen;
    QTimer sampler;
    connect(&sampler, &QTimer::timeout, this, [&] {
        if (splash)
            seen << splash->loadingText();
    });
    sampler.start(5);
    QTRY_VERIFY_WITH_TIMEOUT(!splash, 10000);
    QCOMPARE(seen, (QSet<QString>{"Loading.", "Loading..", "Loading..."}));
}

void TestStartScreen::handOverWaitsForMainWindow()
{
    Times times;
    times.handOver = true;
    QPointer<CStartScreen> splash = makeSplash(times);
    QTRY_VERIFY(splash->isMinimumTimeOver());
    // No main window at that tick: the splash stays and its dots run on.
    QVERIFY(splash->isVisible());
    QVERIFY(splash->isTicking());
    CWindow window(0, nullptr);
    window.resize(200, 100);
    splash->finishWith(&window);
    QVERIFY(window.isVisible());
    QTRY_VERIFY(!splash);
}

void TestStartScreen::earlyFinishDoesNothingAndTickHandsOver()
{
    Times times;
    times.handOver = true;
    times.minimum = 300;
    QPointer<CStartScreen> splash = makeSplash(times);
    CWindow window(0, nullptr);
    window.resize(200, 100);
    CSystemTools::instance()->setMainWindow(&window);
    splash->finishWith(&window);
    QVERIFY(splash);
    QVERIFY(!splash->isMinimumTimeOver());
    QVERIFY(!window.isVisible());
    QTRY_VERIFY(!splash);
    QVERIFY(window.isVisible());
    // Without a window a late finish closes the splash.
    CSystemTools::instance()->setMainWindow(nullptr);
    times.minimum = 0;
    splash = makeSplash(times);
    QTRY_VERIFY(splash->isMinimumTimeOver());
    QVERIFY(splash->isVisible());
    splash->finishWith(nullptr);
    QTRY_VERIFY(!splash);
}

void TestStartScreen::transparentColoursHideTexts_data()
{
    QTest::addColumn<QColor>("version");
    QTest::addColumn<QColor>("loading");
    QTest::addColumn<bool>("versionShown");
    QTest::addColumn<bool>("loadingShown");
    QTest::newRow("both hidden") << QColor(Qt::transparent) << QColor(255, 255, 255, 0) << false << false;
    QTest::newRow("version only") << QColor(Qt::white) << QColor(Qt::transparent) << true << false;
    QTest::newRow("loading only") << QColor(Qt::transparent) << QColor(Qt::white) << false << true;
    QTest::newRow("invalid is white") << QColor() << QColor() << true << true;
}

void TestStartScreen::transparentColoursHideTexts()
{
    QFETCH(QColor, version);
    QFETCH(QColor, loading);
    QFETCH(bool, versionShown);
    QFETCH(bool, loadingShown);
    CStartScreen splash(QRect(), picture(QSize(400, 200)), QStringLiteral("1.0"), 100000, 20, 3, 3, false,
                        QPoint(), QPoint(), version, loading, false);
    QTRY_VERIFY(splash.loadingText() == QStringLiteral("Loading..."));
    const QImage image = splash.grab().toImage();
    // The version stands bottom-left from x 105, the loading text bottom-right.
    const QFontMetrics metrics(splash.font());
    const QRect versionArea(105, 154 - metrics.height(), metrics.horizontalAdvance("v1.0"), metrics.height());
    const int loadingWidth = metrics.horizontalAdvance("Loading...");
    const QRect loadingArea(380 - loadingWidth, 180 - metrics.height(), loadingWidth, metrics.height());
    QCOMPARE(!isFlatImage(image.copy(versionArea)), versionShown);
    QCOMPARE(!isFlatImage(image.copy(loadingArea)), loadingShown);
}

void TestStartScreen::offsets_data()
{
    QTest::addColumn<QPoint>("versionOffset");
    QTest::addColumn<QPoint>("loadingOffset");
    QTest::addColumn<bool>("atLeft");
    QTest::addColumn<QRect>("versionRect");
    QTest::addColumn<QRect>("loadingRect");
    QTest::newRow("defaults") << QPoint() << QPoint() << false << QRect(105, 0, 295, 154) << QRect(0, 0, 380, 180);
    QTest::newRow("given, at the right") << QPoint(10, 20) << QPoint(50, 104) << false << QRect(10, 0, 390, 180)
                                         << QRect(0, 0, 350, 96);
    QTest::newRow("given, at the left") << QPoint(10, 20) << QPoint(50, 104) << true << QRect(10, 0, 390, 180)
                                        << QRect(50, 0, 350, 96);
}

void TestStartScreen::offsets()
{
    QFETCH(QPoint, versionOffset);
    QFETCH(QPoint, loadingOffset);
    QFETCH(bool, atLeft);
    QFETCH(QRect, versionRect);
    QFETCH(QRect, loadingRect);
    CStartScreen splash(QRect(), picture(QSize(400, 200)), QStringLiteral("1.0"), 100000, 20, 0, 3, false,
                        versionOffset, loadingOffset, QColor(), QColor(), atLeft);
    QCOMPARE(splash.versionRect(), versionRect);
    QCOMPARE(splash.loadingRect(), loadingRect);
}

void TestStartScreen::pictureFollowsRatio()
{
    const char* const childMark = "TY_STARTSCREEN_RATIO_CHILD";
    const double ratio = QGuiApplication::primaryScreen()->devicePixelRatio();
    CStartScreen splash(QRect(100, 50, 800, 600), picture(QSize(800, 400)), QStringLiteral("1.0"), 100000, 20, 0,
                        3, false, QPoint(), QPoint(), QColor(), QColor(), false);
    QCOMPARE(splash.size(), QSize(qRound(800 / ratio), qRound(400 / ratio)));
    // Centred on the place hint.
    QCOMPARE(splash.geometry().center(), QRect(100, 50, 800, 600).center());
    if (!qEnvironmentVariableIsEmpty(childMark)) {
        QCOMPARE(ratio, 2.0);
        return;
    }
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(childMark, QStringLiteral("1"));
    environment.insert(QStringLiteral("QT_SCALE_FACTOR"), QStringLiteral("2"));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("pictureFollowsRatio")});
    QVERIFY2(child.waitForFinished(60000), "the ratio 2 run did not end");
    QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0, child.readAll().constData());
}

TY_UI_TEST_MAIN(TestStartScreen)
#include "tst_startscreen.moc"

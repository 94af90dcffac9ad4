#include "support/UiTestSupport.h"

#include "app/CApplicaiton.h"
#include "uilib/style/CAnimationWidget.h"
#include "uilib/style/CIcon.h"
#include "uilib/style/CIconRepo.h"
#include "uilib/style/CResourceCache.h"

#include <QDir>
#include <QFile>
#include <QPainter>

namespace {

QColor centre(const QPixmap& pixmap)
{
    const QImage image = pixmap.toImage();
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

bool sameRgb(const QColor& a, const QColor& b, int tolerance = 2)
{
    return qAbs(a.red() - b.red()) <= tolerance && qAbs(a.green() - b.green()) <= tolerance
        && qAbs(a.blue() - b.blue()) <= tolerance;
}

} // namespace

class TestIcons : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void variantPaths_data();
    void variantPaths();
    void fallbackChain_data();
    void fallbackChain();
    void svgByExtensionInAnyCase();
    void cacheKeysAtFractionalRatios();
    void colorWithAlphaDrawsHalfOpacity();
    void paintCrossFadesHover();
    void missingPathGivesEmptyIcon();
    void standardIconVariants();
    void brokenFileStaysUnderItsPath();
    void addIconKeepsTheFirst();
    void paintAlignedSnaps_data();
    void paintAlignedSnaps();
    void libraryIconsLoad();

private:
    QString write(const QString& name, const QByteArray& data);
    // A 10 x 10 square of one colour.
    QString square(const QString& name, const char* color)
    {
        return writeSquareSvg(m_dir->filePath(name), 10, color);
    }
    QString writeImage(const QString& name, const QSize& size, const QColor& color);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<CIconRepo> m_repo;
};

void TestIcons::init()
{
    m_dir.reset(new QTemporaryDir);
    QVERIFY(m_dir->isValid());
    m_repo.reset(new CIconRepo(nullptr));
}

void TestIcons::cleanup()
{
    m_repo.reset();
    m_dir.reset();
}

QString TestIcons::write(const QString& name, const QByteArray& data)
{
    const QString path = m_dir->filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size())
        return QString();
    return path;
}

QString TestIcons::writeImage(const QString& name, const QSize& size, const QColor& color)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(color);
    const QString path = m_dir->filePath(name);
    return image.save(path) ? path : QString();
}

void TestIcons::variantPaths_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QString>("expected");
    QTest::newRow("svg") << "a/b/close.svg" << "-hover" << "a/b/close-hover.svg";
    QTest::newRow("png") << "a/b/close.png" << "High" << "a/b/closeHigh.png";
    QTest::newRow("last dot") << "a.b/x.y.svg" << "-checked" << "a.b/x.y-checked.svg";
    QTest::newRow("no dot") << "a/b/close" << "-hover" << "a/b/close";
    QTest::newRow("resource") << ":/uilib/close-10.svg" << "-pressed" << ":/uilib/close-10-pressed.svg";
}

void TestIcons::variantPaths()
{
    QFETCH(QString, path);
    QFETCH(QString, suffix);
    QFETCH(QString, expected);
    QCOMPARE(CIcon::variantPath(path, suffix), expected);
}

void TestIcons::fallbackChain_data()
{
    QTest::addColumn<bool>("checkedFile");
    QTest::addColumn<int>("state");
    QTest::addColumn<QColor>("expected");
    QTest::newRow("checked-hover takes checked") << true << int(CIcon::CheckedHover) << QColor(Qt::blue);
    QTest::newRow("checked-disabled takes checked") << true << int(CIcon::CheckedDisabled) << QColor(Qt::blue);
    QTest::newRow("hover takes normal") << true << int(CIcon::Hover) << QColor(Qt::red);
    QTest::newRow("checked alone takes normal") << false << int(CIcon::Checked) << QColor(Qt::red);
    QTest::newRow("checked-pressed alone takes normal") << false << int(CIcon::CheckedPressed) << QColor(Qt::red);
}

void TestIcons::fallbackChain()
{
    QFETCH(bool, checkedFile);
    QFETCH(int, state);
    QFETCH(QColor, expected);
    const QString path = square("x.svg", "#ff0000");
    if (checkedFile)
        QVERIFY(!square("x-checked.svg", "#0000ff").isEmpty());
    CIcon* icon = m_repo->icon(path);
    QVERIFY(icon->isValid());
    QCOMPARE(icon->defaultSize(), QSize(10, 10));
    QCOMPARE(centre(icon->pixmap(1.0, QSize(), QColor(), state)), expected);
}

void TestIcons::svgByExtensionInAnyCase()
{
    for (const char* name : {"a.svg", "b.SVG"}) {
        CIcon* icon = m_repo->icon(square(QString::fromLatin1(name), "#00ff00"));
        QVERIFY2(dynamic_cast<CIconCustom*>(icon), name);
        QVERIFY(icon->isValid());
    }
}

void TestIcons::cacheKeysAtFractionalRatios()
{
    const QString svg = square("k.svg", "#ff0000");
    const QString png = writeImage("k.png", QSize(10, 10), Qt::red);
    for (double ratio : {1.25, 1.5}) {
        QVERIFY(!m_repo->icon(svg)->pixmap(ratio, QSize(), QColor(), CIcon::Normal).isNull());
        QVERIFY(!m_repo->icon(png)->pixmap(ratio, QSize(), QColor(), CIcon::Normal).isNull());
    }
    CResourceCache* cache = m_repo->cache();
    QVERIFY(cache->find(QStringLiteral("CIcon-%1-original-original-1.25-13-13-1)").arg(svg), nullptr));
    QVERIFY(cache->find(QStringLiteral("CIcon-%1-original-original-1.5-15-15-1)").arg(svg), nullptr));
    QVERIFY(cache->find(QStringLiteral("CIcon-%1-original-1.25-13-13-1)").arg(png), nullptr));
    QVERIFY(cache->find(QStringLiteral("CIcon-%1-original-1.5-15-15-1)").arg(png), nullptr));
}

void TestIcons::colorWithAlphaDrawsHalfOpacity()
{
    const QString path = square("c.svg", "#ff0000");
    const QColor blue(0, 0, 255, 128);
    const QPixmap pixmap = m_repo->icon(path)->pixmap(2.0, QSize(), blue, CIcon::Normal);
    QCOMPARE(pixmap.size(), QSize(20, 20));
    QCOMPARE(pixmap.devicePixelRatio(), 2.0);
    const QColor pixel = centre(pixmap);
    QVERIFY2(qAbs(pixel.alpha() - 128) <= 1, qPrintable(QString::number(pixel.alpha())));
    QVERIFY(sameRgb(pixel, Qt::blue));
    QVERIFY(m_repo->cache()->find(QStringLiteral("CIcon-%1-#0000ff-128-2-20-20-1)").arg(path), nullptr));
}

void TestIcons::paintCrossFadesHover()
{
    const QString path = square("h.svg", "#ff0000");
    QVERIFY(!square("h-hover.svg", "#0000ff").isEmpty());
    CAnimationWidget state(0, nullptr);
    state.setHoveredProgress(0.5);
    const QColor pixel = centre(m_repo->icon(path)->paint(1.0, QSize(), QColor(), state));
    QVERIFY2(sameRgb(pixel, QColor(128, 0, 127), 2), qPrintable(pixel.name()));
    QCOMPARE(pixel.alpha(), 255);

    // A colour gives the plain picture in that colour; hover is then the caller's business.
    const QColor green = centre(m_repo->icon(path)->paint(1.0, QSize(), Qt::green, state));
    QVERIFY(sameRgb(green, Qt::green));
}

void TestIcons::missingPathGivesEmptyIcon()
{
    CIcon* none = m_repo->icon(m_dir->filePath("nothing.svg"));
    QVERIFY(!none->isValid());
    QCOMPARE(m_repo->icon(m_dir->filePath("other.png")), none);
    QVERIFY(!m_repo->contains(m_dir->filePath("nothing.svg")));
    const QPixmap pixmap = none->pixmap(1.5, QSize(8, 6), Qt::red, CIcon::Normal);
    QCOMPARE(pixmap.size(), QSize(12, 9));
    QVERIFY(isFlatImage(pixmap.toImage()));
    QCOMPARE(centre(pixmap).alpha(), 0);
}

void TestIcons::standardIconVariants()
{
    const QString path = writeImage("s.png", QSize(10, 10), Qt::red);
    QVERIFY(!writeImage("s@2x.png", QSize(20, 20), Qt::blue).isEmpty());
    QVERIFY(!writeImage("sHigh.png", QSize(10, 10), Qt::green).isEmpty());
    CIcon* icon = m_repo->icon(path);
    QVERIFY(dynamic_cast<CIconStandard*>(icon));
    QCOMPARE(icon->defaultSize(), QSize(10, 10));
    QCOMPARE(centre(icon->pixmap(1.0, QSize(), QColor(), CIcon::Normal)), QColor(Qt::red));
    QCOMPARE(centre(icon->pixmap(2.0, QSize(), QColor(), CIcon::Normal)), QColor(Qt::blue));
    QCOMPARE(centre(icon->pixmap(1.0, QSize(), QColor(), CIcon::Hover)), QColor(Qt::green));
    // No "Press" file: pressed takes the normal picture, checked takes pressed.
    QCOMPARE(centre(icon->pixmap(1.0, QSize(), QColor(), CIcon::Checked)), QColor(Qt::red));
    QCOMPARE(centre(icon->pixmap(1.0, QSize(), Qt::yellow, CIcon::Normal)), QColor(Qt::yellow));
}

void TestIcons::brokenFileStaysUnderItsPath()
{
    const QString path = write("broken.svg", "<svg this is not");
    CIcon* icon = m_repo->icon(path);
    QVERIFY(!icon->isValid());
    QVERIFY(icon->pixmap(1.0, QSize(10, 10), QColor(), CIcon::Normal).isNull());
    QCOMPARE(m_repo->icon(path), icon);
    QVERIFY(m_repo->contains(path));
    QVERIFY(!m_repo->contains(QString()));
    QVERIFY(!m_repo->icon(write("broken.png", "not an image"))->isValid());
    QVERIFY(!m_repo->contains(QString()));
}

void TestIcons::addIconKeepsTheFirst()
{
    auto* first = new CIconNone;
    QVERIFY(m_repo->addIcon(first));
    CIconNone second;
    QVERIFY(!m_repo->addIcon(&second));
    QVERIFY(!m_repo->addIcon(nullptr));
    QCOMPARE(m_repo->icon(QString()), first);
}

void TestIcons::paintAlignedSnaps_data()
{
    QTest::addColumn<double>("ratio");
    addRatioRows();
}

void TestIcons::paintAlignedSnaps()
{
    QFETCH(double, ratio);
    CIcon* icon = m_repo->icon(square("p.svg", "#ff0000"));
    const QImage image = paintAtRatio(QSize(21, 21), ratio, [&](QPainter* painter) {
        icon->paintAligned(painter, QRect(0, 0, 21, 21), Qt::AlignCenter, QSize(), QColor(), CIcon::Normal);
    });
    // The picture lands on whole device pixels: every pixel is fully red or fully clear.
    int red = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const int alpha = image.pixelColor(x, y).alpha();
            QVERIFY2(alpha == 0 || alpha == 255, qPrintable(QStringLiteral("%1,%2: %3").arg(x).arg(y).arg(alpha)));
            red += alpha == 255;
        }
    }
    const int side = qRound(10 * ratio);
    QCOMPARE(red, side * side);
}

void TestIcons::libraryIconsLoad()
{
    CIconRepo* repo = CIconRepo::instance();
    QCOMPARE(repo, static_cast<CApplicaiton*>(QCoreApplication::instance())->iconRepo());
    for (const char* path : {":/uilib/close-10.svg", ":/uilib/titlebar-minimize.svg", ":/uilib/titlebar-maximize.svg",
                             ":/uilib/titlebar-restore.svg", ":/uilib/titlebar-close.svg"}) {
        CIcon* icon = repo->iconFromUtf8(path);
        QVERIFY2(icon->isValid(), path);
        QCOMPARE(icon->defaultSize(), QSize(10, 10));
        QVERIFY(!isFlatImage(icon->pixmap(2.0, QSize(), QColor(), CIcon::Normal).toImage()));
    }
}

TY_UI_TEST_MAIN(TestIcons)
#include "tst_icons.moc"

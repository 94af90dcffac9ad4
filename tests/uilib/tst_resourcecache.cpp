#include "uilib/style/CResourceCache.h"

#include <QTest>

class TestResourceCache : public QObject
{
    Q_OBJECT
private slots:
    void costs_data();
    void costs();
    void tooLargeIsRefused();
    void reinsertKeepsOneEntry();
    void leastRecentGoesFirst();
    void limitZeroEmpties();
};

void TestResourceCache::costs_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("cost");
    QTest::newRow("100x100") << QSize(100, 100) << 39;
    QTest::newRow("1x1") << QSize(1, 1) << 1;
    QTest::newRow("64x32") << QSize(64, 32) << 8;
}

void TestResourceCache::costs()
{
    QFETCH(QSize, size);
    QFETCH(int, cost);
    CResourceCache cache(nullptr);
    QPixmap pixmap(size);
    QCOMPARE(pixmap.depth(), 32);
    QVERIFY(cache.insert(QStringLiteral("a"), pixmap));
    QCOMPARE(cache.totalCost(), cost);
}

void TestResourceCache::tooLargeIsRefused()
{
    CResourceCache cache(nullptr);
    cache.setCacheLimit(50);
    QVERIFY(cache.insert(QStringLiteral("small"), QPixmap(10, 10)));
    // 4000 x 3840 x 32 bits is 60,000 KB, above 51,200 KB.
    QVERIFY(!cache.insert(QStringLiteral("huge"), QPixmap(4000, 3840)));
    QVERIFY(!cache.find(QStringLiteral("huge"), nullptr));
    QVERIFY(cache.find(QStringLiteral("small"), nullptr));
    QCOMPARE(cache.totalCost(), 1);
}

void TestResourceCache::reinsertKeepsOneEntry()
{
    CResourceCache cache(nullptr);
    QPixmap first(100, 100);
    first.fill(Qt::red);
    QPixmap second(1, 1);
    second.fill(Qt::blue);
    QVERIFY(cache.insert(QStringLiteral("k"), first));
    QVERIFY(cache.insert(QStringLiteral("k"), second));
    QCOMPARE(cache.totalCost(), 1);
    QPixmap out;
    QVERIFY(cache.find(QStringLiteral("k"), &out));
    QCOMPARE(out.size(), QSize(1, 1));
    QCOMPARE(out.toImage().pixelColor(0, 0), QColor(Qt::blue));
}

void TestResourceCache::leastRecentGoesFirst()
{
    CResourceCache cache(nullptr);
    cache.setCacheLimit(1); // 1024 KB; a 256 x 256 pixmap costs 256 KB
    const QPixmap pixmap(256, 256);
    for (const char* key : {"a", "b", "c", "d"})
        QVERIFY(cache.insert(QString::fromLatin1(key), pixmap));
    QCOMPARE(cache.totalCost(), 1024);
    QVERIFY(cache.find(QStringLiteral("a"), nullptr)); // now the most recent
    QVERIFY(cache.insert(QStringLiteral("e"), pixmap));
    QVERIFY(!cache.find(QStringLiteral("b"), nullptr));
    for (const char* key : {"a", "c", "d", "e"})
        QVERIFY2(cache.find(QString::fromLatin1(key), nullptr), key);
    // Freed key slots are taken again without disturbing live entries.
    for (int i = 0; i < 20; ++i)
        QVERIFY(cache.insert(QStringLiteral("n%1").arg(i), pixmap));
    QCOMPARE(cache.totalCost(), 1024);
    for (int i = 16; i < 20; ++i)
        QVERIFY(cache.find(QStringLiteral("n%1").arg(i), nullptr));
    QVERIFY(!cache.find(QStringLiteral("n15"), nullptr));
}

void TestResourceCache::limitZeroEmpties()
{
    CResourceCache cache(nullptr);
    QVERIFY(cache.insert(QStringLiteral("a"), QPixmap(10, 10)));
    QVERIFY(cache.insert(QStringLiteral("b"), QPixmap(20, 20)));
    cache.setCacheLimit(0);
    QCOMPARE(cache.totalCost(), 0);
    QVERIFY(!cache.find(QStringLiteral("a"), nullptr));
    QVERIFY(!cache.find(QStringLiteral("b"), nullptr));
    QVERIFY(!cache.insert(QStringLiteral("c"), QPixmap(1, 1)));
}

QTEST_MAIN(TestResourceCache)
#include "tst_resourcecache.moc"

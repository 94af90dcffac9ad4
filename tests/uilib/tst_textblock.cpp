#include "support/UiTestSupport.h"

#include "uilib/style/LibUtils.h"
#include "uilib/style/TextBlock.h"

#include <QFontMetrics>
#include <QPainter>
#include <QtMath>

namespace {

QFont testFont()
{
    return makeFont(14, QFont::Normal, QStringLiteral("DejaVu Sans"));
}

// The lowest device row with ink, or -1.
int lowestInkRow(const QImage& image)
{
    for (int y = image.height() - 1; y >= 0; --y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y).alpha() > 0)
                return y;
    return -1;
}

int rightmostInkColumn(const QImage& image)
{
    for (int x = image.width() - 1; x >= 0; --x)
        for (int y = 0; y < image.height(); ++y)
            if (image.pixelColor(x, y).alpha() > 0)
                return x;
    return -1;
}

} // namespace

class TestTextBlock : public QObject
{
    Q_OBJECT
private slots:
    void size_data();
    void size();
    void fittingTextIsNotElided();
    void narrowLineIsElided_data();
    void narrowLineIsElided();
    void maximumLinesStayInsideBlock_data();
    void maximumLinesStayInsideBlock();
};

void TestTextBlock::size_data()
{
    const QFontMetrics metrics(testFont());
    const int spacing = metrics.lineSpacing();
    const QString three = QStringLiteral("one\nthe longest paragraph\nthree");
    const int widest = metrics.horizontalAdvance(QStringLiteral("the longest paragraph"));

    QTest::addColumn<QString>("text");
    QTest::addColumn<QSize>("available");
    QTest::addColumn<int>("lineSpacing");
    QTest::addColumn<int>("maxLines");
    QTest::addColumn<QSize>("expected");
    QTest::newRow("no wrap, natural width") << three << QSize(0, 1000) << 0 << 0 << QSize(widest, 3 * spacing);
    QTest::newRow("at most two lines") << three << QSize(0, 1000) << 0 << 2 << QSize(widest, 2 * spacing);
    QTest::newRow("no height") << three << QSize(300, 0) << 0 << 0 << QSize(300, 0);
    QTest::newRow("room for one line") << three << QSize(300, spacing + spacing / 2) << 0 << 0 << QSize(300, spacing);
    QTest::newRow("own spacing") << three << QSize(300, 1000) << 30 << 0 << QSize(300, 90);
    QTest::newRow("empty paragraphs count") << QStringLiteral("\n\n") << QSize(50, 1000) << 10 << 0 << QSize(50, 30);
    QTest::newRow("width capped") << QStringLiteral("x") << QSize(0x1000000, 100) << 0 << 0 << QSize(0xFFFFFF, spacing);
}

void TestTextBlock::size()
{
    QFETCH(QString, text);
    QFETCH(QSize, available);
    QFETCH(int, lineSpacing);
    QFETCH(int, maxLines);
    QFETCH(QSize, expected);
    const QSize size = textBlockSize(text, testFont(), QTextOption::WordWrap, available, lineSpacing, maxLines);
    QCOMPARE(size.height(), expected.height());
    QVERIFY2(qAbs(size.width() - expected.width()) <= 1, qPrintable(QString::number(size.width())));
}

void TestTextBlock::fittingTextIsNotElided()
{
    bool elided = false;
    const QImage image = paintAtRatio(QSize(200, 40), 1.0, [&](QPainter* painter) {
        painter->setFont(testFont());
        painter->setPen(Qt::black);
        drawTextBlock(painter, QStringLiteral("Fits"), QRectF(0, 0, 200, 40), Qt::AlignLeft | Qt::AlignTop,
                      QTextOption::NoWrap, Qt::ElideRight, 0, 0, &elided);
    });
    QVERIFY(!elided);
    QVERIFY(!isFlatImage(image));
}

void TestTextBlock::narrowLineIsElided_data()
{
    QTest::addColumn<double>("ratio");
    addRatioRows();
}

void TestTextBlock::narrowLineIsElided()
{
    QFETCH(double, ratio);
    const QFontMetrics metrics(testFont());
    const QString text = QStringLiteral("A caption far too long for its narrow box");
    const int width = metrics.horizontalAdvance(text) / 3;
    bool elided = false;
    const QImage image = paintAtRatio(QSize(width + 40, 40), ratio, [&](QPainter* painter) {
        painter->setFont(testFont());
        painter->setPen(Qt::black);
        drawTextBlock(painter, text, QRectF(0, 0, width, metrics.lineSpacing()), Qt::AlignLeft | Qt::AlignTop,
                      QTextOption::NoWrap, Qt::ElideRight, 0, 0, &elided);
    });
    QVERIFY(elided);
    QVERIFY(rightmostInkColumn(image) < qCeil(width * ratio));
}

void TestTextBlock::maximumLinesStayInsideBlock_data()
{
    QTest::addColumn<double>("ratio");
    addRatioRows();
}

void TestTextBlock::maximumLinesStayInsideBlock()
{
    QFETCH(double, ratio);
    const QFontMetrics metrics(testFont());
    const int spacing = metrics.lineSpacing();
    const QString text = QStringLiteral("many words that wrap over a good number of lines in a narrow block of text");
    const QSize measured = textBlockSize(text, testFont(), QTextOption::WordWrap, QSize(120, 1000), 0, 2);
    QCOMPARE(measured.height(), 2 * spacing);
    bool elided = false;
    const QImage image = paintAtRatio(QSize(160, 10 * spacing), ratio, [&](QPainter* painter) {
        painter->setFont(testFont());
        painter->setPen(Qt::black);
        drawTextBlock(painter, text, QRectF(0, 0, 120, 10 * spacing), Qt::AlignLeft | Qt::AlignTop,
                      QTextOption::WordWrap, Qt::ElideRight, 0, 2, &elided);
    });
    QVERIFY(elided);
    // The second line's glyphs may reach below the spacing by the font's negative leading.
    QVERIFY(lowestInkRow(image) < qCeil((spacing + metrics.height()) * ratio));
    QVERIFY(lowestInkRow(image) > qCeil(spacing * ratio));
}

TY_UI_TEST_MAIN(TestTextBlock)
#include "tst_textblock.moc"

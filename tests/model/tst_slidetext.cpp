#include <QtTest>

#include "model/SlideText.h"

#include <QFontMetrics>
#include <QJsonDocument>
#include <QPainter>

namespace {

QJsonObject parse(const char* json)
{
    return QJsonDocument::fromJson(json).object();
}

SlideText caption(const QString& text, int position = TextInfo::Center, int step = 0)
{
    SlideText c;
    c.text = text;
    c.position = TextInfo::Pos(position);
    c.font_size = TextInfo::FontSize(step);
    return c;
}

} // namespace

class TestSlideText : public QObject
{
    Q_OBJECT

private slots:
    void defaults();
    void readJson_data();
    void readJson();
    void writeJson();
    void colourRoundTrip();
    void candidateSize_data();
    void candidateSize();
    void fontIsTheRecords_data();
    void fontIsTheRecords();
    void cells_data();
    void cells();
    void shrinking();
    void textRectMatchesLayout();
    void renderBox_data();
    void renderBox();
    void renderFlipKeepsFrame();
    void renderNullFrame();
};

void TestSlideText::defaults()
{
    const SlideText c;
    QVERIFY(c.text.isEmpty());
    QCOMPARE(c.font, QStringLiteral("Segoe UI"));
    QCOMPARE(c.text_color, QColor(Qt::black));
    QVERIFY(!c.bg_color.isValid());
    QCOMPARE(int(c.position), 4);
    QCOMPARE(c.transition, 27);
    QVERIFY(!c.changed);
    QCOMPARE(int(c.font_size), 0);
}

void TestSlideText::readJson_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("font");
    QTest::addColumn<QColor>("textColor");
    QTest::addColumn<QColor>("bgColor");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("transition");
    QTest::addColumn<bool>("changed");
    QTest::addColumn<int>("fontSize");

    QTest::newRow("every key")
        << QByteArray(R"({"text":"Hi","font":"Tahoma","text_color":"#102030",
                         "bg_color":"#80ff0000","position":7,"transition":10,
                         "changed":true,"font_size":-1})")
        << "Hi" << "Tahoma" << QColor(0x10, 0x20, 0x30) << QColor(255, 0, 0, 128) << 7 << 10
        << true << -1;
    QTest::newRow("empty object") << QByteArray("{}") << "" << "" << QColor() << QColor() << 0
                                  << 0 << false << 0;
    QTest::newRow("position below") << QByteArray(R"({"position":-1})") << "" << "" << QColor()
                                    << QColor() << 4 << 0 << false << 0;
    QTest::newRow("position above") << QByteArray(R"({"position":9})") << "" << "" << QColor()
                                    << QColor() << 4 << 0 << false << 0;
    QTest::newRow("wrong types")
        << QByteArray(R"({"text":5,"font":true,"text_color":"nonsense","bg_color":7,
                         "position":"3","transition":2.5,"changed":"yes","font_size":null})")
        << "" << "" << QColor() << QColor() << 0 << 0 << false << 0;
}

void TestSlideText::readJson()
{
    QFETCH(QByteArray, json);
    const SlideText c = SlideText::fromJson(QJsonDocument::fromJson(json).object());
    QTEST(c.text, "text");
    QTEST(c.font, "font");
    QTEST(c.text_color, "textColor");
    QTEST(c.bg_color, "bgColor");
    QTEST(int(c.position), "position");
    QTEST(c.transition, "transition");
    QTEST(c.changed, "changed");
    QTEST(int(c.font_size), "fontSize");
}

void TestSlideText::writeJson()
{
    SlideText c = caption(QStringLiteral("Текст"), 2, 1);
    c.text_color = QColor(1, 2, 3, 100);
    c.transition = 5;
    c.changed = true;
    QCOMPARE(c.toJson(), parse(R"({"text":"Текст","font":"Segoe UI","text_color":"#010203",
                                   "position":2,"transition":5,"changed":true,"font_size":1})"));
    c.bg_color = Qt::black;
    QCOMPARE(c.toJson().value("bg_color").toString(), QStringLiteral("#ff000000"));
}

void TestSlideText::colourRoundTrip()
{
    SlideText c;
    c.bg_color = QColor(10, 20, 30, 40);
    c.text_color = QColor(200, 100, 50);
    const SlideText back = SlideText::fromJson(c.toJson());
    QCOMPARE(back.bg_color, c.bg_color);
    QCOMPARE(back.text_color, c.text_color);
}

void TestSlideText::candidateSize_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("margin");
    QTest::addColumn<int>("pixelSize");

    QTest::newRow("1024 centre +2") << 1024 << 4 << 2 << 60 << 96;
    QTest::newRow("512 centre +2") << 512 << 4 << 2 << 30 << 48;
    QTest::newRow("1024 top centre +1") << 1024 << 1 << 1 << 60 << 80;
    QTest::newRow("1024 bottom centre 0") << 1024 << 7 << 0 << 60 << 64;
    QTest::newRow("1024 centre -2") << 1024 << 4 << -2 << 60 << 36;
    QTest::newRow("1024 left +2") << 1024 << 0 << 2 << 60 << 64;
    QTest::newRow("1024 right 0") << 1024 << 5 << 0 << 60 << 42;
    QTest::newRow("1024 corner -2") << 1024 << 8 << -2 << 60 << 24;
    QTest::newRow("1920 corner +2") << 1920 << 8 << 2 << 112 << 120;
    QTest::newRow("460 centre 0") << 460 << 4 << 0 << 26 << 28;
    QTest::newRow("unknown position as side") << 1024 << 12 << 2 << 60 << 64;
    // Steps only a document can carry: no more than one size is ever dropped below...
    QTest::newRow("step 5 keeps all") << 1024 << 4 << 5 << 60 << 96;
    // ...and at most all but the smallest are dropped, which is then used.
    QTest::newRow("step -20 keeps one") << 1024 << 4 << -20 << 60 << 8;
    QTest::newRow("tiny frame") << 64 << 3 << -2 << 3 << 1;
}

void TestSlideText::candidateSize()
{
    QFETCH(int, width);
    QFETCH(int, position);
    QFETCH(int, step);
    const SlideText::Layout l = caption(QStringLiteral("A"), position, step).layout(width, 600);
    QTEST(l.margin, "margin");
    QFETCH(int, margin);
    QCOMPARE(l.textArea, QRect(2 * margin, 2 * margin, width - 4 * margin, 600 - 4 * margin));
    QTEST(l.font.pixelSize(), "pixelSize");
    QVERIFY(!l.shrunk);
}

void TestSlideText::fontIsTheRecords_data()
{
    QTest::addColumn<QString>("family");
    QTest::newRow("default") << "Segoe UI";
    QTest::newRow("other") << "Tahoma";
}

void TestSlideText::fontIsTheRecords()
{
    QFETCH(QString, family);
    SlideText c = caption(QStringLiteral("Caption"));
    c.font = family;
    const QFont font = c.layout(1024, 768).font;
    QCOMPARE(font.family(), family);
    QVERIFY(!font.italic());
    QCOMPARE(font.weight(), QFont().weight());
}

void TestSlideText::cells_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("horizontal"); // -1 left, 0 centre, 1 right
    QTest::addColumn<int>("vertical");   // -1 top, 0 middle, 1 bottom
    for (int p = 0; p < 9; ++p)
        QTest::addRow("cell %d", p) << p << p % 3 - 1 << p / 3 - 1;
    QTest::newRow("outside as top-left") << 42 << -1 << -1;
}

void TestSlideText::cells()
{
    QFETCH(int, position);
    QFETCH(int, horizontal);
    QFETCH(int, vertical);
    const SlideText::Layout l = caption(QStringLiteral("Cell"), position).layout(1024, 768);
    const QRect text = l.rect.adjusted(l.margin, l.margin, -l.margin, -l.margin);
    const QRect area = l.textArea;
    const auto place = [](int low, int high, int areaLow, int areaHigh) {
        if (low == areaLow)
            return -1;
        if (high == areaHigh)
            return 1;
        return qAbs((low + high) - (areaLow + areaHigh)) <= 1 ? 0 : 99;
    };
    QCOMPARE(place(text.left(), text.right(), area.left(), area.right()), horizontal);
    QCOMPARE(place(text.top(), text.bottom(), area.top(), area.bottom()), vertical);
}

void TestSlideText::shrinking()
{
    const QString longLine(200, QLatin1Char('W'));
    SlideText c = caption(longLine, TextInfo::Center, 2);
    SlideText::Layout l = c.layout(1024, 768);
    QVERIFY(l.shrunk);
    // Nothing fits: the next-to-smallest size stays, the smallest is never tried.
    QCOMPARE(l.font.pixelSize(), 16);

    c.text = QStringLiteral("Two\nlines");
    l = c.layout(1024, 768);
    QVERIFY(!l.shrunk);
    QCOMPARE(l.font.pixelSize(), 96);

    // A text that is too high for the largest size but fits a smaller one.
    c.text = QStringLiteral("1\n2\n3\n4\n5\n6");
    l = c.layout(1024, 768);
    QVERIFY(l.shrunk);
    QVERIFY(l.font.pixelSize() < 96 && l.font.pixelSize() > 16);
    QVERIFY(l.rect.height() - 2 * l.margin <= l.textArea.height());
}

void TestSlideText::textRectMatchesLayout()
{
    const SlideText c = caption(QStringLiteral("Some words\nand more"), TextInfo::BottomRight);
    const SlideText::Layout l = c.layout(800, 600);
    bool shrunk = true;
    QCOMPARE(c.textRect(800, 600, &shrunk), l.rect);
    QCOMPARE(shrunk, l.shrunk);
    QCOMPARE(c.textRect(800, 600), l.rect);

    // The rectangle is the measured text grown by the margin.
    const QRect measured = QFontMetrics(l.font).boundingRect(l.textArea, l.flags, c.text);
    QCOMPARE(l.rect, measured.adjusted(-l.margin, -l.margin, l.margin, l.margin));
}

void TestSlideText::renderBox_data()
{
    QTest::addColumn<QColor>("background");
    QTest::newRow("box") << QColor(0, 0, 255);
    QTest::newRow("no box") << QColor();
}

void TestSlideText::renderBox()
{
    QFETCH(QColor, background);
    SlideText c = caption(QStringLiteral("Box"));
    c.text_color = QColor(255, 0, 0);
    c.bg_color = background;
    QImage frame(512, 384, QImage::Format_ARGB32_Premultiplied);
    frame.fill(Qt::green);

    QImage image;
    QRect rect;
    c.render(frame, image, rect);
    QCOMPARE(rect, c.textRect(512, 384));
    QCOMPARE(image.size(), rect.size());
    // The margin band shows the box or nothing; the text is in the text colour.
    const QRgb corner = image.pixel(1, 1);
    QCOMPARE(corner, background.isValid() ? background.rgba() : qRgba(0, 0, 0, 0));
    bool textPixel = false;
    for (int y = 0; y < image.height() && !textPixel; ++y)
        for (int x = 0; x < image.width() && !textPixel; ++x)
            textPixel = image.pixel(x, y) == qRgb(255, 0, 0);
    QVERIFY(textPixel);
}

void TestSlideText::renderFlipKeepsFrame()
{
    SlideText c = caption(QStringLiteral("Flip"));
    c.transition = TransitionFlipOver;
    QImage frame(512, 384, QImage::Format_ARGB32_Premultiplied);
    frame.fill(Qt::green);
    QImage image;
    QRect rect;
    c.render(frame, image, rect);
    QCOMPARE(image.pixel(0, 0), qRgb(0, 255, 0));
}

void TestSlideText::renderNullFrame()
{
    QImage image(4, 4, QImage::Format_ARGB32);
    QRect rect(1, 1, 1, 1);
    caption(QStringLiteral("x")).render(QImage(), image, rect);
    QVERIFY(image.isNull());
    QVERIFY(rect.isNull());
}

QTEST_MAIN(TestSlideText)
#include "tst_slidetext.moc"

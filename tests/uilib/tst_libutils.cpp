#include "uilib/style/LibUtils.h"

#include <QEvent>
#include <QTest>
#include <QWidget>

namespace {

class FontChangeCounter : public QWidget
{
public:
    int changes = 0;

protected:
    void changeEvent(QEvent* event) override
    {
        changes += event->type() == QEvent::FontChange;
        QWidget::changeEvent(event);
    }
};

} // namespace

Q_DECLARE_METATYPE(Qt::Alignment)

class TestLibUtils : public QObject
{
    Q_OBJECT
private slots:
    void makeFont();
    void applyFontToWidget();
    void alignRect_data();
    void alignRect();
    void alignRectF();
};

void TestLibUtils::makeFont()
{
    const QFont font = ::makeFont(14, QFont::Bold, QStringLiteral("Tahoma"));
    QCOMPARE(font.family(), QStringLiteral("Tahoma"));
    QCOMPARE(font.pixelSize(), 14);
    QCOMPARE(font.pointSize(), -1);
    QCOMPARE(font.weight(), int(QFont::Bold));
}

void TestLibUtils::applyFontToWidget()
{
    FontChangeCounter widget;
    ::applyFontToWidget(&widget, 13, QFont::Normal, QStringLiteral("DejaVu Sans"));
    QCOMPARE(widget.changes, 1);
    QCOMPARE(widget.font().pixelSize(), 13);
    ::applyFontToWidget(&widget, 13, QFont::Normal, QStringLiteral("DejaVu Sans"));
    QCOMPARE(widget.changes, 1);
    ::applyFontToWidget(&widget, 13, QFont::Bold, QStringLiteral("DejaVu Sans"));
    QCOMPARE(widget.changes, 2);
    QCOMPARE(widget.font().weight(), int(QFont::Bold));
    ::applyFontToWidget(nullptr, 13, QFont::Bold, QString());
}

void TestLibUtils::alignRect_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<Qt::Alignment>("alignment");
    QTest::addColumn<bool>("clip");
    QTest::addColumn<QRect>("expected");
    const QSize small(10, 5);
    QTest::newRow("same size") << QSize(100, 50) << Qt::Alignment(Qt::AlignRight | Qt::AlignBottom) << false
                               << QRect(10, 20, 100, 50);
    QTest::newRow("none") << small << Qt::Alignment() << false << QRect(10, 20, 10, 5);
    QTest::newRow("centre") << small << Qt::Alignment(Qt::AlignCenter) << false << QRect(55, 42, 10, 5);
    QTest::newRow("right bottom") << small << Qt::Alignment(Qt::AlignRight | Qt::AlignBottom) << false
                                  << QRect(100, 65, 10, 5);
    QTest::newRow("odd centre rounds down") << QSize(11, 6) << Qt::Alignment(Qt::AlignCenter) << false
                                            << QRect(54, 42, 11, 6);
    QTest::newRow("larger, unclipped") << QSize(120, 60) << Qt::Alignment(Qt::AlignCenter) << false
                                       << QRect(0, 15, 120, 60);
    QTest::newRow("larger, clipped") << QSize(120, 60) << Qt::Alignment(Qt::AlignCenter) << true
                                     << QRect(10, 20, 100, 50);
}

void TestLibUtils::alignRect()
{
    QFETCH(QSize, size);
    QFETCH(Qt::Alignment, alignment);
    QFETCH(bool, clip);
    QFETCH(QRect, expected);
    QCOMPARE(alignRectInArea(size, alignment, QRect(10, 20, 100, 50), clip), expected);
}

void TestLibUtils::alignRectF()
{
    const QRectF area(0.5, 0.5, 10, 4);
    QCOMPARE(alignRectInArea(QSizeF(10, 4), Qt::AlignRight, area, false), area);
    QCOMPARE(alignRectInArea(QSizeF(3, 1), Qt::AlignCenter, area, false), QRectF(4, 2, 3, 1));
    QCOMPARE(alignRectInArea(QSizeF(3, 1), Qt::AlignRight | Qt::AlignBottom, area, false), QRectF(7.5, 3.5, 3, 1));
}

QTEST_MAIN(TestLibUtils)
#include "tst_libutils.moc"

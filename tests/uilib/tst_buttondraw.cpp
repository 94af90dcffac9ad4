#include "support/UiTestSupport.h"

#include "uilib/style/CAnimationWidget.h"
#include "uilib/style/CButtonDraw.h"
#include "uilib/style/CPainterScope.h"
#include "uilib/style/LibUtils.h"

#include <QFontMetrics>
#include <QWidget>

namespace {

const QMargins Padding(8, 4, 8, 4);
constexpr int Spacing = 4;
const ArrowSpec Down{QSize(8, 5), QMargins(0, 1, 0, 0), Qt::DownArrow, 0.0};
const ArrowSpec Up{QSize(8, 5), QMargins(0, 1, 0, 0), Qt::UpArrow, 0.0};
const ArrowSpec NoArrow{QSize(0, 0), QMargins(), Qt::DownArrow, 0.0};

QFont testFont()
{
    return makeFont(14, QFont::Normal, QStringLiteral("DejaVu Sans"));
}

QSize whole(const QString& text)
{
    return QFontMetrics(testFont()).size(0, text);
}

QImage paintButton(CButtonDraw& button, const QSize& size, const CAnimationWidget& state, double ratio = 1.0)
{
    return paintInScope(size, ratio, [&](CPainterScope& scope) { button.paint(scope, state); });
}

} // namespace

class TestButtonDraw : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void separatorSplits();
    void contentSize_data();
    void contentSize();
    void heightForWidth_data();
    void heightForWidth();
    void hasHeightForWidth();
    void shrinkableMinimumUsesDots();
    void elisionSetsAndClears();
    void stackedPairCentredAsBlock();
    void sideBySideTexts();
    void iconAlpha();
    void secondArrowOnlyWhenCheckedAndSet();
    void iconAtLeftOnlyMovesRight();
    void arrowAfterTexts();

private:
    void setUpButton(CButtonDraw& button);
    QString m_iconPath;
    QTemporaryDir m_dir;
};

void TestButtonDraw::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_iconPath = writeSquareSvg(m_dir.filePath(QStringLiteral("square.svg")), 16, "#ff0000");
    QVERIFY(!m_iconPath.isEmpty());
}

void TestButtonDraw::setUpButton(CButtonDraw& button)
{
    button.setFont(testFont());
    button.setSecondaryFont(testFont());
    button.setPadding(Padding);
    button.setSpacing(Spacing);
    button.setTextColors(ColorSet(Qt::black));
}

void TestButtonDraw::separatorSplits()
{
    CButtonDraw button(nullptr);
    button.setText(QStringLiteral("Main|Second"));
    QCOMPARE(button.text(), QStringLiteral("Main|Second"));
    button.setSeparator(QLatin1Char('|'));
    button.setText(QStringLiteral("Open|Ctrl+O|x"));
    QCOMPARE(button.text(), QStringLiteral("Open"));
    QCOMPARE(button.secondaryText(), QStringLiteral("Ctrl+O|x"));
    button.setText(QStringLiteral("Only"));
    QCOMPARE(button.text(), QStringLiteral("Only"));
    QVERIFY(button.secondaryText().isEmpty());
}

void TestButtonDraw::contentSize_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("secondary");
    QTest::addColumn<bool>("icon");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("arrows");
    QTest::addColumn<QSize>("content");

    const QString t = QStringLiteral("Save");
    const QString s = QStringLiteral("12 files");
    const QSize T = whole(t);
    const QSize S = whole(s);
    const int I = 16;
    const QSize A(8, 6); // the arrow grown by its margins
    QTest::newRow("text") << t << QString() << false << 2 << 2 << false << T;
    QTest::newRow("icon only") << QString() << QString() << true << 2 << 2 << false << QSize(I, I);
    QTest::newRow("icon left of text") << t << QString() << true << 2 << 2 << false
                                       << QSize(I + Spacing + T.width(), qMax(I, T.height()));
    QTest::newRow("icon right of stacked texts")
        << t << s << true << 4 << 2 << false
        << QSize(I + Spacing + qMax(T.width(), S.width()), qMax(I, T.height() + S.height()));
    QTest::newRow("texts side by side") << t << s << false << 2 << 1 << false
                                        << QSize(T.width() + Spacing + S.width(), qMax(T.height(), S.height()));
    QTest::newRow("icon beside texts side by side")
        << t << s << true << 2 << 1 << false
        << QSize(I + Spacing + T.width() + Spacing + S.width(), qMax(I, qMax(T.height(), S.height())));
    QTest::newRow("icon above stacked texts")
        << t << s << true << 1 << 2 << false
        << QSize(qMax(I, qMax(T.width(), S.width())), I + Spacing + T.height() + Spacing + S.height());
    QTest::newRow("icon below texts side by side")
        << t << s << true << 8 << 1 << false
        << QSize(qMax(I, T.width() + Spacing + S.width()), I + Spacing + qMax(T.height(), S.height()));
    QTest::newRow("text and arrow") << t << QString() << false << 2 << 2 << true
                                    << QSize(T.width() + Spacing + A.width(), qMax(T.height(), A.height()));
    QTest::newRow("icon above text, arrow")
        << t << QString() << true << 1 << 2 << true
        << QSize(qMax(I, T.width()) + Spacing + A.width(), I + Spacing + T.height());
}

void TestButtonDraw::contentSize()
{
    QFETCH(QString, text);
    QFETCH(QString, secondary);
    QFETCH(bool, icon);
    QFETCH(int, position);
    QFETCH(int, mode);
    QFETCH(bool, arrows);
    QFETCH(QSize, content);
    CButtonDraw button(nullptr);
    setUpButton(button);
    button.setText(text);
    button.setSecondaryText(secondary);
    if (icon)
        button.setIcon(m_iconPath);
    button.setIconPosition(position);
    button.setLayoutMode(mode);
    if (arrows)
        button.setArrows(Down, NoArrow);
    const QSize panel(Padding.left() + Padding.right(), Padding.top() + Padding.bottom());
    QCOMPARE(button.sizeHint(), panel + content);
    QCOMPARE(button.minimumSizeHint(), panel + content);
}

void TestButtonDraw::heightForWidth_data()
{
    QTest::addColumn<bool>("icon");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    const QFontMetrics metrics(testFont());
    const int panelWidth = Padding.left() + Padding.right();
    const int panelHeight = Padding.top() + Padding.bottom();
    const int line = metrics.lineSpacing();
    const int oneLine = panelWidth + metrics.horizontalAdvance(QStringLiteral("wrap these words")) + 1;
    const int twoLines = panelWidth + metrics.horizontalAdvance(QStringLiteral("wrap these")) + 1;
    const int beside = 16 + Spacing;
    QTest::newRow("one line") << false << oneLine << panelHeight + line;
    QTest::newRow("two lines") << false << twoLines << panelHeight + 2 * line;
    QTest::newRow("icon, one line") << true << beside + oneLine << panelHeight + qMax(16, line);
    QTest::newRow("icon, two lines") << true << beside + twoLines << panelHeight + qMax(16, 2 * line);
}

void TestButtonDraw::heightForWidth()
{
    QFETCH(bool, icon);
    QFETCH(int, width);
    QFETCH(int, height);
    CButtonDraw button(nullptr);
    setUpButton(button);
    button.setWrapMode(QTextOption::WordWrap);
    button.setText(QStringLiteral("wrap these words"));
    if (icon)
        button.setIcon(m_iconPath);
    QCOMPARE(button.heightForWidth(width), height);
}

void TestButtonDraw::hasHeightForWidth()
{
    CButtonDraw button(nullptr);
    button.setWrapMode(QTextOption::WordWrap);
    QVERIFY(!button.hasHeightForWidth());
    button.setSecondaryText(QStringLiteral("x"));
    QVERIFY(button.hasHeightForWidth());
    button.setWrapMode(QTextOption::NoWrap);
    QVERIFY(!button.hasHeightForWidth());
}

void TestButtonDraw::shrinkableMinimumUsesDots()
{
    QWidget owner;
    CButtonDraw button(&owner);
    setUpButton(button);
    QCOMPARE(owner.font().pixelSize(), 14);
    QCOMPARE(button.textFont().family(), testFont().family());
    button.setText(QStringLiteral("A rather long caption"));
    const QSize panel(Padding.left() + Padding.right(), Padding.top() + Padding.bottom());
    owner.setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    QCOMPARE(button.minimumSizeHint(), panel + whole(QStringLiteral("...")));
    QCOMPARE(button.sizeHint(), panel + whole(QStringLiteral("A rather long caption")));
    owner.setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    QCOMPARE(button.minimumSizeHint(), button.sizeHint());
}

void TestButtonDraw::elisionSetsAndClears()
{
    CButtonDraw button(nullptr);
    setUpButton(button);
    const QString text = QStringLiteral("A caption too wide");
    button.setText(text);
    CAnimationWidget state(0, nullptr);
    button.setRect(QRect(0, 0, 60, 30));
    paintButton(button, QSize(60, 30), state);
    QVERIFY(button.isTextElided());
    button.setRect(QRect(QPoint(), button.sizeHint() + QSize(4, 0)));
    paintButton(button, button.sizeHint() + QSize(4, 0), state);
    QVERIFY(!button.isTextElided());
}

void TestButtonDraw::stackedPairCentredAsBlock()
{
    CButtonDraw button(nullptr);
    setUpButton(button);
    button.setText(QStringLiteral("Title"));
    button.setSecondaryText(QStringLiteral("a longer subtitle"));
    button.setTextAlignment(Qt::AlignCenter);
    button.setRect(QRect(0, 0, 300, 100));
    const QRect inner(8, 4, 300 - 16, 100 - 8);
    const QRect text = button.textRect();
    const QRect secondary = button.secondaryTextRect();
    QCOMPARE(text.size(), whole(QStringLiteral("Title")));
    QCOMPARE(text.bottom() + 1, secondary.top());
    QVERIFY(qAbs(text.center().x() - inner.center().x()) <= 1);
    QVERIFY(qAbs(secondary.center().x() - inner.center().x()) <= 1);
    const double blockCentre = (text.top() + secondary.bottom() + 1) / 2.0;
    QVERIFY2(qAbs(blockCentre - (inner.top() + inner.height() / 2.0)) <= 1.0, qPrintable(QString::number(blockCentre)));
}

void TestButtonDraw::sideBySideTexts()
{
    CButtonDraw button(nullptr);
    setUpButton(button);
    button.setLayoutMode(1);
    button.setText(QStringLiteral("Name"));
    button.setSecondaryText(QStringLiteral("Ctrl+N"));
    button.setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    button.setRect(QRect(0, 0, 300, 30));
    QCOMPARE(button.textRect().left(), 8);
    QCOMPARE(button.secondaryTextRect().right(), 300 - 8 - 1);
}

void TestButtonDraw::iconAlpha()
{
    CButtonDraw button(nullptr);
    button.setIcon(m_iconPath);
    button.setRect(QRect(0, 0, 16, 16));
    CAnimationWidget state(0, nullptr);
    QCOMPARE(devicePixel(paintButton(button, QSize(16, 16), state), 8, 8), QColor(Qt::red));
    button.setIconColors(ColorSet(QColor(0, 0, 255, 0)));
    QCOMPARE(devicePixel(paintButton(button, QSize(16, 16), state), 8, 8).alpha(), 0);
    // Not recoloured, an alpha of 0 still hides it.
    button.setIconRecolored(false);
    QCOMPARE(devicePixel(paintButton(button, QSize(16, 16), state), 8, 8).alpha(), 0);
    button.setIconColors(ColorSet(QColor(0, 0, 255, 128)));
    QVERIFY(button.isIconRecolored());
    const QColor half = devicePixel(paintButton(button, QSize(16, 16), state), 8, 8);
    QVERIFY2(qAbs(half.alpha() - 128) <= 1, qPrintable(QString::number(half.alpha())));
    QCOMPARE(half.blue(), 255);
}

void TestButtonDraw::secondArrowOnlyWhenCheckedAndSet()
{
    CButtonDraw button(nullptr);
    button.setArrowColors(ColorSet(Qt::black));
    button.setRect(QRect(0, 0, 16, 16));
    CAnimationWidget unchecked(0, nullptr);
    CAnimationWidget checked(0, nullptr);
    checked.setChecked(true, false);
    button.setArrows(Down, NoArrow);
    const QImage down = paintButton(button, QSize(16, 16), unchecked);
    QVERIFY(!isFlatImage(down));
    QCOMPARE(paintButton(button, QSize(16, 16), checked), down);
    button.setArrows(Down, Up);
    QCOMPARE(paintButton(button, QSize(16, 16), unchecked), down);
    const QImage up = paintButton(button, QSize(16, 16), checked);
    QVERIFY(up != down);
    QVERIFY(!isFlatImage(up));
}

void TestButtonDraw::iconAtLeftOnlyMovesRight()
{
    CButtonDraw button(nullptr);
    setUpButton(button);
    button.setIcon(m_iconPath);
    button.setText(QStringLiteral("Centred"));
    button.setRect(QRect(0, 0, 300, 30));
    const QRect text = button.textRect();
    const QRect icon = button.iconRect();
    QVERIFY(icon.left() > 8);
    QCOMPARE(icon.right() + 1 + Spacing, text.left());
    QVERIFY(text.left() > icon.right());

    // Too narrow to centre: the icon stays at the left edge.
    button.setRect(QRect(0, 0, 40, 30));
    QCOMPARE(button.iconRect().left(), 8);
    button.setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    button.setRect(QRect(0, 0, 300, 30));
    QCOMPARE(button.iconRect().left(), 8);
}

void TestButtonDraw::arrowAfterTexts()
{
    CButtonDraw button(nullptr);
    setUpButton(button);
    button.setText(QStringLiteral("Sort"));
    button.setArrows(Down, NoArrow);
    button.setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    button.setRect(QRect(0, 0, 200, 30));
    QCOMPARE(button.arrowRect().right(), 200 - 8 - 1);
    button.setArrowPlacement(1);
    QVERIFY(button.arrowRect().left() > button.textRect().right());
    QVERIFY(button.arrowRect().left() <= button.textRect().right() + Spacing + 2);
}

TY_UI_TEST_MAIN(TestButtonDraw)
#include "tst_buttondraw.moc"

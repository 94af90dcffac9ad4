#include "support/UiTestSupport.h"

#include "app/CSystemTools.h"
#include "uilib/style/CAnimationIcon.h"
#include "uilib/style/CButtonDraw.h"
#include "uilib/style/CIcon.h"
#include "uilib/style/CSpinBoxDraw.h"
#include "uilib/style/ColorUtils.h"
#include "uilib/style/Cpalette.h"

#include <QLabel>
#include <QSpinBox>
#include <QWidget>

Q_DECLARE_METATYPE(QMargins)

namespace {

const QColor Grey(0x656565);
const QColor Ink(0x2C2B30);
const QColor Light(0xF4F4F4);
const QColor Hover(0, 0, 0, 24);
const QColor Clear(Qt::transparent);

// Only the toggle's track colour differs.
class GreenTrackPalette : public Cpalette
{
public:
    using Cpalette::Cpalette;
    QColor color(int role) const override { return role == 21 ? QColor(Qt::green) : Cpalette::color(role); }
};

class LookSpin : public QSpinBox, public CSpinBoxDraw
{
public:
    LookSpin()
        : CSpinBoxDraw(this)
    {
    }
};

QMargins uniform(int width)
{
    return QMargins(width, width, width, width);
}

} // namespace

class TestLooks : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void buttonKinds_data();
    void buttonKinds();
    void otherKindsOnlySetTheIcon_data();
    void otherKindsOnlySetTheIcon();
    void checkBoxKeepsGivenIcon();
    void layoutAndSpacing();
    void boxLookForAnySpinKind();
    void styleText_data();
    void styleText();
    void animatedIconLooks();
    void trackFollowsColor21();

private:
    Cpalette m_palette{nullptr};
    QString m_iconPath;
    QTemporaryDir m_dir;
};

void TestLooks::initTestCase()
{
    // The application's style set-up registers the animated icons.
    QVERIFY(CSystemTools::instance());
    QVERIFY(m_dir.isValid());
    m_iconPath = writeSquareSvg(m_dir.filePath(QStringLiteral("given.svg")), 12, "#00ff00");
    QVERIFY(!m_iconPath.isEmpty());
}

void TestLooks::buttonKinds_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QColor>("background");
    QTest::addColumn<QColor>("backgroundHovered");
    QTest::addColumn<QColor>("border");
    QTest::addColumn<QMargins>("widths");
    QTest::addColumn<int>("radius");
    QTest::addColumn<QColor>("text");
    QTest::addColumn<QMargins>("padding");
    QTest::addColumn<QSize>("arrow");
    QTest::addColumn<QColor>("arrowColor");
    QTest::addColumn<QSize>("minimum");
    QTest::addColumn<QSize>("maximum");
    QTest::addColumn<bool>("arrowCursor");

    const QColor none;
    const QMargins zero;
    const QSize free(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    const QSize noArrow(0, 0);
    QTest::newRow("11") << 11 << Grey << Hover << none << zero << 0 << Light << QMargins(16, 4, 16, 4) << noArrow << none
                  << QSize(92, 36) << free << false;
    QTest::newRow("12") << 12 << none << none << none << zero << 0 << Grey << zero << noArrow << none << QSize(0, 0) << free
                  << false;
    QTest::newRow("13") << 13 << none << none << none << zero << 0 << Ink << zero << noArrow << none << QSize(0, 0) << free
                  << false;
    QTest::newRow("14") << 14 << none << none << none << zero << 0 << Ink << zero << noArrow << none << QSize(0, 0) << free
                  << false;
    QTest::newRow("15") << 15 << none << none << none << zero << 0 << Ink << zero << noArrow << none << QSize(0, 0) << free
                  << false;
    QTest::newRow("16") << 16 << Clear << Hover << none << zero << 0 << Ink << QMargins(12, 4, 12, 4) << noArrow << none
                  << QSize(0, 0) << free << false;
    QTest::newRow("17") << 17 << Clear << Hover << none << zero << 0 << Ink << QMargins(12, 4, 12, 4) << QSize(5, 8) << Ink
                  << QSize(0, 0) << free << false;
    QTest::newRow("18") << 18 << QColor(Qt::white) << QColor(Qt::white) << QColor(0xE2E2E2) << uniform(1) << 0 << Ink
                  << QMargins(8, 0, 8, 0) << QSize(8, 5) << QColor(0xE2E2E2) << QSize(0, 24) << free << false;
    QTest::newRow("19") << 19 << Clear << Hover << Clear << zero << 0 << Ink << QMargins(9, 1, 9, 1) << QSize(8, 5) << Clear
                  << QSize(0, 0) << free << false;
    QTest::newRow("20") << 20 << Grey << Hover << none << zero << 0 << Light << QMargins(16, 4, 16, 4) << noArrow << none
                  << QSize(92, 36) << free << false;
    QTest::newRow("21") << 21 << Grey << Hover << none << zero << 0 << Light << QMargins(16, 4, 16, 4) << noArrow << none
                  << QSize(92, 36) << free << false;
    for (const char* name : {"22", "23", "24"}) {
        QTest::newRow(name) << QByteArray(name).toInt() << Clear << Hover << none << zero << 0 << Ink << zero << noArrow << none
                                            << QSize(48, 32) << QSize(48, 32) << false;
    }
    QTest::newRow("25") << 25 << Clear << QColor(0xE81123) << none << zero << 0 << Ink << zero << noArrow << none
                  << QSize(48, 32) << QSize(48, 32) << false;
    QTest::newRow("26") << 26 << none << none << none << zero << 0 << Grey << zero << noArrow << none << QSize(24, 0)
                  << QSize(24, QWIDGETSIZE_MAX) << true;
    QTest::newRow("28") << 28 << Grey << Hover << Grey << uniform(1) << 6 << Light << QMargins(8, 4, 8, 4) << noArrow << none
                  << QSize(0, 0) << free << false;
}

void TestLooks::buttonKinds()
{
    QFETCH(int, kind);
    QFETCH(QColor, background);
    QFETCH(QColor, backgroundHovered);
    QFETCH(QColor, border);
    QFETCH(QMargins, widths);
    QFETCH(int, radius);
    QFETCH(QColor, text);
    QFETCH(QMargins, padding);
    QFETCH(QSize, arrow);
    QFETCH(QColor, arrowColor);
    QFETCH(QSize, minimum);
    QFETCH(QSize, maximum);
    QFETCH(bool, arrowCursor);

    QWidget owner;
    CButtonDraw owned(&owner);
    CButtonDraw ownerless(nullptr);
    for (CButtonDraw* button : {&owned, &ownerless}) {
        m_palette.styleButton(button, kind, QString());
        QCOMPARE(button->backgroundColors().normal, background);
        QCOMPARE(button->backgroundColors().hovered, backgroundHovered);
        QCOMPARE(button->borderColors().normal, border);
        QCOMPARE(button->borderWidths(), widths);
        QCOMPARE(button->radius(), (CPanelDraw::Radii{radius, radius, radius, radius}));
        QCOMPARE(button->textColors().normal, text);
        QCOMPARE(button->padding(), padding);
        QCOMPARE(button->firstArrow().size, arrow);
        QCOMPARE(button->arrowColors().normal, arrowColor);
        QCOMPARE(button->secondArrow().size, QSize(0, 0));
    }
    QCOMPARE(owner.minimumSize(), minimum);
    QCOMPARE(owner.maximumSize(), maximum);
    QCOMPARE(owner.testAttribute(Qt::WA_SetCursor), arrowCursor);
    if (arrowCursor)
        QCOMPARE(owner.cursor().shape(), Qt::ArrowCursor);
}

void TestLooks::otherKindsOnlySetTheIcon_data()
{
    QTest::addColumn<int>("kind");
    for (int kind : {-1, 0, 10, 27, 29, 40})
        QTest::addRow("%d", kind) << kind;
}

void TestLooks::otherKindsOnlySetTheIcon()
{
    QFETCH(int, kind);
    QWidget owner;
    CButtonDraw button(&owner);
    const QFont font = owner.font();
    m_palette.styleButton(&button, kind, m_iconPath);
    QCOMPARE(button.icon()->path(), m_iconPath);
    QVERIFY(!button.backgroundColors().normal.isValid());
    QVERIFY(!button.textColors().normal.isValid());
    QCOMPARE(button.padding(), QMargins());
    QCOMPARE(button.borderWidths(), QMargins());
    QCOMPARE(button.spacing(), 0);
    QVERIFY(!button.hasArrows());
    QCOMPARE(owner.minimumSize(), QSize(0, 0));
    QCOMPARE(owner.font(), font);
}

void TestLooks::checkBoxKeepsGivenIcon()
{
    CButtonDraw given(nullptr);
    m_palette.styleButton(&given, 13, m_iconPath);
    QCOMPARE(given.icon()->path(), m_iconPath);
    // Without a given icon the check box, radio and toggle take their own; other kinds keep theirs.
    CButtonDraw plain(nullptr);
    m_palette.styleButton(&plain, 13, QString());
    QCOMPARE(plain.icon()->path(), QStringLiteral("CheckBoxIcon1"));
    QVERIFY(!plain.isIconRecolored());
    m_palette.styleButton(&plain, 14, QString());
    QCOMPARE(plain.icon()->path(), QStringLiteral("RadioIcon1"));
    m_palette.styleButton(&plain, 15, QString());
    QCOMPARE(plain.icon()->path(), QStringLiteral("ToggleIcon1"));
    CButtonDraw kept(nullptr);
    m_palette.styleButton(&kept, 11, m_iconPath);
    m_palette.styleButton(&kept, 11, QString());
    QCOMPARE(kept.icon()->path(), m_iconPath);
}

void TestLooks::layoutAndSpacing()
{
    CButtonDraw button(nullptr);
    m_palette.styleButton(&button, 13, QString());
    QCOMPARE(button.spacing(), 8);
    QCOMPARE(button.textAlignment(), Qt::AlignLeft | Qt::AlignVCenter);
    m_palette.styleButton(&button, 16, QString());
    QCOMPARE(button.layoutMode(), 1);
    QCOMPARE(button.secondaryTextColors().normal, colorWithAlpha(Ink, 0.57));
    m_palette.styleButton(&button, 12, QString());
    QVERIFY(button.isIconRecolored());
}

void TestLooks::boxLookForAnySpinKind()
{
    for (int kind : {36, 5, -1}) {
        LookSpin spin;
        m_palette.styleSpinBox(&spin, kind);
        QCOMPARE(spin.backgroundColors().normal, QColor(Qt::white));
        QCOMPARE(spin.backgroundColors().disabled, QColor(0xF4F4F4));
        QCOMPARE(spin.borderColors().normal, QColor(0xE2E2E2));
        QCOMPARE(spin.borderWidths(), uniform(1));
        QCOMPARE(spin.minimumHeight(), 24);
        QCOMPARE(spin.palette().color(QPalette::Active, QPalette::Text), Ink);
        const bool arrows = kind == 36;
        QCOMPARE(spin.padding(), arrows ? QMargins(8, 0, 0, 0) : QMargins(8, 0, 8, 0));
        QCOMPARE(spin.upArrow()->hasArrows(), arrows);
        QCOMPARE(spin.downArrow()->hasArrows(), arrows);
        if (arrows) {
            QCOMPARE(spin.upArrow()->firstArrow().direction, Qt::UpArrow);
            QCOMPARE(spin.downArrow()->firstArrow().direction, Qt::DownArrow);
            QCOMPARE(spin.upArrow()->arrowColors(), m_palette.colorSet(6));
        }
    }
}

void TestLooks::styleText_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QColor>("color");
    QTest::addColumn<int>("pixelSize");
    QTest::addColumn<int>("weight");
    QTest::addColumn<int>("alignment");
    QTest::addColumn<bool>("wrap");
    QTest::addColumn<QMargins>("margins");
    const QLabel plain;
    const int alignment = int(plain.alignment());
    const int size = plain.font().pixelSize();
    QTest::newRow("-1") << -1 << QColor() << size << int(QFont::Normal) << alignment << false << QMargins();
    QTest::newRow("0") << 0 << QColor() << size << int(QFont::Normal) << alignment << false << QMargins();
    QTest::newRow("5") << 5 << Ink << size << int(QFont::Normal) << alignment << false << QMargins();
    QTest::newRow("7") << 7 << Ink << QFont().pixelSize() << int(QFont::Normal) << alignment << false << QMargins();
    QTest::newRow("8") << 8 << QColor(0xFF373A) << 12 << int(QFont::Normal) << 0xA4 << false << QMargins();
    QTest::newRow("9") << 9 << Ink << size << int(QFont::Normal) << alignment << true << QMargins();
    QTest::newRow("27") << 27 << Ink << 12 << int(QFont::Bold) << 0x21 << false << QMargins(8, 4, 8, 4);
}

void TestLooks::styleText()
{
    QFETCH(int, kind);
    QFETCH(QColor, color);
    QFETCH(int, pixelSize);
    QFETCH(int, weight);
    QFETCH(int, alignment);
    QFETCH(bool, wrap);
    QFETCH(QMargins, margins);
    QLabel label;
    const QColor before = label.palette().color(label.foregroundRole());
    m_palette.styleText(&label, kind);
    QCOMPARE(label.palette().color(label.foregroundRole()), color.isValid() ? color : before);
    QCOMPARE(label.font().pixelSize(), pixelSize);
    QCOMPARE(label.font().weight(), weight);
    QCOMPARE(int(label.alignment()), alignment);
    QCOMPARE(label.wordWrap(), wrap);
    QCOMPARE(label.contentsMargins(), margins);
    if (kind == 8 || kind == 27)
        QCOMPARE(label.font().family(), QStringLiteral("Tahoma"));
}

void TestLooks::animatedIconLooks()
{
    CAnimationIcon::CheckBoxIcon check;
    m_palette.styleAnimationIcon(&check);
    QCOMPARE(check.defaultSize(), QSize(18, 18));
    QCOMPARE(check.borderWidth(), 1);
    QCOMPARE(check.cornerRadius(), 2);
    QCOMPARE(check.markWidth(), 1.4);
    QCOMPARE(check.markPath().elementCount(), 3);
    QCOMPARE(check.markColors().checkedNormal, QColor(Qt::white));
    QCOMPARE(check.borderColors().normal, QColor(0xE2E2E2));

    CAnimationIcon::RadioIcon radio;
    m_palette.styleAnimationIcon(&radio);
    QCOMPARE(radio.dotInset(), 5);
    QCOMPARE(radio.dotColors().checkedNormal, QColor(Qt::white));
    QVERIFY(!radio.dotColors().disabled.isValid());

    // Any other icon is left alone.
    CIconNone none;
    m_palette.styleAnimationIcon(&none);
    m_palette.styleAnimationIcon(nullptr);
    QCOMPARE(none.defaultSize(), QSize());
}

void TestLooks::trackFollowsColor21()
{
    GreenTrackPalette palette(nullptr);
    CAnimationIcon::ToggleIcon toggle;
    palette.styleAnimationIcon(&toggle);
    QCOMPARE(toggle.defaultSize(), QSize(28, 18));
    QCOMPARE(toggle.knobInset(), 3);
    QCOMPARE(toggle.trackColors().normal, QColor(Qt::green));
    QCOMPARE(toggle.trackColors().disabled, colorWithAlpha(Qt::green, 0.6));
    QCOMPARE(toggle.trackColors().checkedDisabled, colorWithAlpha(Qt::green, 0.6));
    QCOMPARE(toggle.knobColors().normal, QColor(Qt::white));
    m_palette.styleAnimationIcon(&toggle);
    QCOMPARE(toggle.trackColors().normal, Grey);
}

TY_UI_TEST_MAIN(TestLooks)
#include "tst_looks.moc"

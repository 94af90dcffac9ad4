#include "support/UiTestSupport.h"

#include "pages/Style.h"
#include "pages/TyStyle.h"
#include "resources/Resources.h"
#include "uilib/controls/CBorder.h"
#include "uilib/controls/CButton.h"
#include "uilib/controls/CDialog.h"
#include "uilib/controls/CLinEdit.h"
#include "uilib/controls/CPanel.h"
#include "uilib/controls/CProgressBar.h"
#include "uilib/controls/CScrollArea.h"
#include "uilib/controls/CScrollBar.h"
#include "uilib/controls/CSlider.h"
#include "uilib/controls/CSpinBox.h"
#include "uilib/controls/CTextEdit.h"
#include "uilib/controls/CTitleBar.h"
#include "uilib/controls/CWidgetIcon.h"
#include "uilib/style/CAnimationIcon.h"
#include "uilib/style/CIcon.h"
#include "uilib/style/CIconRepo.h"
#include "uilib/style/CShadowEffect.h"

#include <QBoxLayout>
#include <QLabel>

#include <memory>

Q_DECLARE_METATYPE(QMargins)

namespace {

// Style on a dark look, as a palette answering isDark() would give it.
class DarkStyle : public Style
{
public:
    using Style::Style;
    bool isDark() const override { return true; }
};

enum Variant { LightStyle, DarkStyleVariant, TyStyleVariant };

std::unique_ptr<Cpalette> makePalette(int variant)
{
    switch (variant) {
    case LightStyle: return std::make_unique<Style>(nullptr);
    case DarkStyleVariant: return std::make_unique<DarkStyle>(nullptr);
    default: return std::make_unique<TyStyle>(nullptr);
    }
}

// A button without a look of its own, so that only the palette under test styles it.
std::unique_ptr<CButton> bareButton()
{
    return std::make_unique<CButton>(-1, nullptr);
}

void compareButtons(CButton& a, CButton& b)
{
    QCOMPARE(a.minimumHeight(), b.minimumHeight());
    QCOMPARE(a.maximumHeight(), b.maximumHeight());
    QCOMPARE(a.textFont(), b.textFont());
    QCOMPARE(a.padding(), b.padding());
    QCOMPARE(a.backgroundColors(), b.backgroundColors());
    QCOMPARE(a.borderColors(), b.borderColors());
    QCOMPARE(a.textColors(), b.textColors());
    QCOMPARE(a.borderWidths(), b.borderWidths());
    QCOMPARE(a.radius(), b.radius());
}

} // namespace

class TestAppStyle : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { initSlideshowResources(); }
    void names();
    void roles_data();
    void roles();
    void unknownValuesGoToTheBase();
    void metrics_data();
    void metrics();
    void progressBarSheet();
    void aliasKinds_data();
    void aliasKinds();
    void outlinedButtonUnderTyStyle();
    void accentReachesStyleLooks();
    void textEditKinds();
    void floatingPanels_data();
    void floatingPanels();
    void textKinds_data();
    void textKinds();
    void roundButtonFollowsWidth();
    void checkableKinds_data();
    void checkableKinds();
    void tallLinkButtonIsNotFixed();
    void dialogLook();
    void mainWindowLook();
    void sliderLook();
    void popupSliderTrackShows();
    void playButtonShowsPauseWhenChecked();
    void inputLooks();
    void scrollAreaLook();
    void animatedIcons();
    void libraryKindsKeepBaseLook();
};

void TestAppStyle::names()
{
    const TyStyle ty(nullptr);
    const Style style(nullptr);
    QCOMPARE(ty.name(), QStringLiteral("TyStyle"));
    QCOMPARE(style.name(), QStringLiteral("Cpalette"));
    QVERIFY(ty.baseName().isEmpty());
    QVERIFY(ty.isDark());
    QVERIFY(!style.isDark());
}

void TestAppStyle::roles_data()
{
    QTest::addColumn<int>("variant");
    QTest::addColumn<int>("role");
    QTest::addColumn<QColor>("expected");
    const QColor white(Qt::white);
    // Light Style, dark Style, TyStyle.
    const struct
    {
        int role;
        QColor light, dark, ty;
    } rows[] = {
        {0, QColor(0x0B96DB), QColor(0x0B96DB), QColor(0x009FAD)},
        {1, QColor(0xD6D6D6), QColor(0x4F4F4F), QColor(0x3C3D3F)},
        {2, QColor(0xFFFFFF), QColor(0x2B2B2B), QColor(0x1C1D1E)},
        {17, white, white, white},
        {18, QColor(0x0B96DB), QColor(0x0B96DB), QColor(0x2DCFDE)},
        {1013, QColor(0xD6D6D6), QColor(0x4F4F4F), QColor(0x4F4F4F)},
        {1018, QColor(0x656565), QColor(0x656565), QColor(0x2C2D2E)},
        // The text colour, and under TyStyle the secondary one (white at 0.57).
        {1019, QColor(0x2C2B30), white, QColor::fromRgbF(1, 1, 1, 0.57)},
        {3, QColor::fromRgbF(0, 0, 0, 0.2), QColor::fromRgbF(1, 1, 1, 0.12), QColor::fromRgbF(1, 1, 1, 0.12)},
        {1016, QColor::fromRgbF(0, 0, 0, 0.2), QColor::fromRgbF(0, 0, 0, 0.6), QColor::fromRgbF(0, 0, 0, 0.6)},
        {1002, QColor::fromRgbF(0x0B / 255.0, 0x96 / 255.0, 0xDB / 255.0, 0.15),
         QColor::fromRgbF(0x0B / 255.0, 0x96 / 255.0, 0xDB / 255.0, 0.15),
         QColor::fromRgbF(0, 0x9F / 255.0, 0xAD / 255.0, 0.15)},
    };
    for (const auto& row : rows) {
        const QColor expected[] = {row.light, row.dark, row.ty};
        const char* names[] = {"Style", "dark Style", "TyStyle"};
        for (int variant = 0; variant < 3; ++variant) {
            QTest::addRow("%d %s", row.role, names[variant]) << variant << row.role << expected[variant];
        }
    }
}

void TestAppStyle::roles()
{
    QFETCH(int, variant);
    QFETCH(int, role);
    QFETCH(QColor, expected);
    const auto palette = makePalette(variant);
    const QColor actual = palette->color(role);
    QCOMPARE(actual.rgb(), expected.rgb());
    QCOMPARE(actual.alpha(), expected.alpha());
}

void TestAppStyle::unknownValuesGoToTheBase()
{
    const Cpalette base(nullptr);
    const TyStyle ty(nullptr);
    QCOMPARE(ty.color(20), base.color(20));
    QVERIFY(!ty.color(1020).isValid());
    QCOMPARE(ty.metric(29), base.metric(29));
    // An alias of the base follows the override: metric 3 is metric 0.
    QCOMPARE(ty.metric(3), 0);
    QCOMPARE(ty.colorSet(8), base.colorSet(8));
    QCOMPARE(ty.margins(4), base.margins(4));
    QCOMPARE(ty.titleBarIcon(1), base.titleBarIcon(1));
    QCOMPARE(ty.titleBarIcon(13), QStringLiteral(":/titlebar-close.svg"));
    QCOMPARE(ty.arrowStyle(0).size, base.arrowStyle(0).size);
    QCOMPARE(ty.arrowStyle(1001).direction, Qt::UpArrow);
}

void TestAppStyle::metrics_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("ty");
    QTest::newRow("corner radius of controls") << 19 << 4 << 8;
    QTest::newRow("corner radius of panels") << 23 << 4 << 8;
    QTest::newRow("main-button weight") << 1002 << 57 << 63;
    QTest::newRow("outline width") << 1001 << 1 << 2;
    QTest::newRow("shadow blur") << 1 << 48 << 48;
}

void TestAppStyle::metrics()
{
    QFETCH(int, id);
    QFETCH(int, style);
    QFETCH(int, ty);
    QCOMPARE(Style(nullptr).metric(id), style);
    QCOMPARE(TyStyle(nullptr).metric(id), ty);
}

void TestAppStyle::progressBarSheet()
{
    TyStyle ty(nullptr);
    CProgressBar bar(-1);
    ty.styleProgressBar(&bar, 38);
    QCOMPARE(bar.styleSheet(),
             QStringLiteral("QProgressBar { background-color: #ff3a3a3a; border: none; border-radius: 8px; "
                            "font: 15px 'Segoe UI'; color: #ffffffff; } QProgressBar::chunk { "
                            "background-color: #009fad; border-radius: 8px;} QProgressBar::chunk:disabled { "
                            "background-color: #7d7d7d; } "));
    QCOMPARE(bar.minimumHeight(), 32);
    QCOMPARE(bar.maximumHeight(), 32);

    CProgressBar other(-1);
    ty.styleProgressBar(&other, 37);
    QVERIFY(other.styleSheet().isEmpty());
}

void TestAppStyle::aliasKinds_data()
{
    QTest::addColumn<int>("variant");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("like");
    for (int variant : {LightStyle, TyStyleVariant}) {
        const char* name = variant == LightStyle ? "Style" : "TyStyle";
        QTest::addRow("20 %s", name) << variant << 20 << 1003;
        QTest::addRow("21 %s", name) << variant << 21 << 1009;
    }
}

void TestAppStyle::aliasKinds()
{
    QFETCH(int, variant);
    QFETCH(int, kind);
    QFETCH(int, like);
    const auto palette = makePalette(variant);
    auto alias = bareButton();
    auto original = bareButton();
    palette->styleButton(alias.get(), kind, QString());
    palette->styleButton(original.get(), like, QString());
    compareButtons(*alias, *original);
}

void TestAppStyle::outlinedButtonUnderTyStyle()
{
    TyStyle ty(nullptr);
    auto button = bareButton();
    ty.styleButton(button.get(), 1003, QString());
    QCOMPARE(button->minimumHeight(), 40);
    QCOMPARE(button->maximumHeight(), 40);
    QCOMPARE(button->textFont().pixelSize(), 14);
    QCOMPARE(button->textFont().weight(), 63);
    QCOMPARE(button->textFont().family(), QStringLiteral("Tahoma"));
    QCOMPARE(button->borderWidths(), QMargins(2, 2, 2, 2));
    QCOMPARE(button->borderColors(), ty.colorSet(1004));

    Style style(nullptr);
    auto plain = bareButton();
    style.styleButton(plain.get(), 1003, QString());
    QCOMPARE(plain->textFont().weight(), 57);
    QCOMPARE(plain->borderWidths(), QMargins(1, 1, 1, 1));
}

void TestAppStyle::accentReachesStyleLooks()
{
    TyStyle ty(nullptr);
    auto button = bareButton();
    ty.styleButton(button.get(), 1009, QString());
    QCOMPARE(button->backgroundColors().normal, QColor(0x009FAD));
    QCOMPARE(button->backgroundColors().hovered, QColor(0x007C87));
    QCOMPARE(button->backgroundColors().pressed, QColor(0x005961));
    // The corner radius of kind 11 reads metric 19 again.
    QCOMPARE(button->radius(), (CPanelDraw::Radii{8, 8, 8, 8}));
    QVERIFY(button->isIconRecolored());

    Style style(nullptr);
    auto plain = bareButton();
    style.styleButton(plain.get(), 1009, QString());
    QCOMPARE(plain->backgroundColors().normal, QColor(0x0B96DB));
}

void TestAppStyle::textEditKinds()
{
    Style style(nullptr);
    CTextEdit untouched(-1, nullptr);
    const ColorSet background = untouched.backgroundColors();
    const QMargins padding = untouched.padding();
    const QMargins widths = untouched.borderWidths();
    style.styleTextEdit(&untouched, 33);
    QCOMPARE(untouched.backgroundColors(), background);
    QCOMPARE(untouched.padding(), padding);
    QCOMPARE(untouched.borderWidths(), widths);

    CTextEdit styled(-1, nullptr);
    style.styleTextEdit(&styled, 35);
    QCOMPARE(styled.padding(), QMargins(10, 8, 10, 8));
    QCOMPARE(styled.backgroundColors(), style.colorSet(4));
    QVERIFY(styled.fitToDocument());
}

void TestAppStyle::floatingPanels_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QMargins>("padding");
    QTest::addColumn<int>("edge");
    QTest::newRow("1054 from the bottom") << 1054 << QMargins(12, 0, 12, 0) << int(Qt::BottomEdge);
    QTest::newRow("1055 from the right") << 1055 << QMargins(0, 12, 0, 12) << int(Qt::RightEdge);
    QTest::newRow("1056 from the left") << 1056 << QMargins(12, 12, 0, 0) << int(Qt::LeftEdge);
}

void TestAppStyle::floatingPanels()
{
    QFETCH(int, kind);
    QFETCH(QMargins, padding);
    QFETCH(int, edge);
    TyStyle ty(nullptr);
    // A window fades without sliding: the panel sits in one.
    QWidget window;
    CPanel panel(-1, &window);
    ty.stylePanel(&panel, kind);
    auto* shadow = qobject_cast<CShadowEffect*>(panel.graphicsEffect());
    QVERIFY(shadow);
    QCOMPARE(shadow->blurRadius(), 20.0);
    QCOMPARE(shadow->color(), ty.color(1016));
    QCOMPARE(shadow->offset(), QPointF(0, 0));
    QCOMPARE(shadow->padding(), padding);
    QCOMPARE(shadow->slideEdge(), edge);
    QCOMPARE(shadow->slideDistance(), 16);
    QVERIFY(panel.testAttribute(Qt::WA_OpaquePaintEvent));
    QCOMPARE(panel.backgroundColors().normal, QColor(0x3C3D3F));
    QCOMPARE(panel.borderColors().normal, QColor(0x1C1D1E));

    // Styled again, the panel keeps its shadow.
    ty.stylePanel(&panel, kind);
    QCOMPARE(panel.graphicsEffect(), shadow);

    CPanel plain(-1);
    ty.stylePanel(&plain, 1053);
    QVERIFY(!plain.graphicsEffect());
    QCOMPARE(plain.borderColors().normal, QColor(0x2C2D2E));
    CPanel other(-1);
    const ColorSet before = other.backgroundColors();
    ty.stylePanel(&other, 1057);
    QCOMPARE(other.backgroundColors(), before);
}

void TestAppStyle::textKinds_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("pixelSize");
    QTest::addColumn<int>("weight");
    QTest::addColumn<QColor>("colour");
    const TyStyle ty(nullptr);
    const QColor text = ty.textColor();
    const QColor secondary = ty.secondaryTextColor();
    const struct
    {
        int kind, pixelSize, weight;
        QColor colour;
    } rows[] = {
        {9, 14, 50, secondary},     {1057, 12, 50, text},      {1058, 12, 50, secondary},
        {1059, 12, 50, ty.color(17)}, {1060, 13, 50, text},    {1061, 13, 50, secondary},
        {1062, 14, 50, text},       {1063, 14, 50, secondary}, {1064, 14, 50, ty.color(0)},
        {1065, 14, 57, secondary},  {1066, 15, 50, text},      {1067, 15, 50, secondary},
        {1068, 15, 50, text},       {1069, 16, 50, text},      {1070, 16, 50, secondary},
        {1071, 16, 57, text},
    };
    for (const auto& row : rows)
        QTest::addRow("%d", row.kind) << row.kind << row.pixelSize << row.weight << row.colour;
}

void TestAppStyle::textKinds()
{
    QFETCH(int, kind);
    QFETCH(int, pixelSize);
    QFETCH(int, weight);
    QFETCH(QColor, colour);
    TyStyle ty(nullptr);
    QLabel label;
    label.setContentsMargins(3, 3, 3, 3);
    ty.styleText(&label, kind);
    QCOMPARE(label.font().family(), QStringLiteral("Tahoma"));
    QCOMPARE(label.font().pixelSize(), pixelSize);
    QCOMPARE(label.font().weight(), weight);
    QCOMPARE(label.palette().color(label.foregroundRole()), colour);
    if (kind == 1062 || kind == 1063)
        QCOMPARE(label.palette().color(QPalette::Text), colour);
    const QMargins margins = kind == 1062   ? QMargins(3, 3, 3, 1)
                             : kind == 1064 ? QMargins(3, 10, 3, 1)
                             : kind == 1068 ? QMargins(12, 0, 12, 0)
                                            : QMargins(3, 3, 3, 3);
    QCOMPARE(label.contentsMargins(), margins);
    if (kind == 9) {
        QVERIFY(label.wordWrap());
        QCOMPARE(int(label.alignment()), 36);
    }
}

void TestAppStyle::roundButtonFollowsWidth()
{
    TyStyle ty(nullptr);
    auto button = bareButton();
    button->setFixedSize(30, 30);
    ty.styleButton(button.get(), 1031, QString());
    QCOMPARE(button->radius(), (CPanelDraw::Radii{15, 15, 15, 15}));
    QCOMPARE(button->borderWidths(), QMargins(2, 2, 2, 2));

    Style style(nullptr);
    auto plain = bareButton();
    plain->setFixedSize(30, 30);
    style.styleButton(plain.get(), 1031, QString());
    QCOMPARE(plain->radius(), (CPanelDraw::Radii{6, 6, 6, 6}));
}

void TestAppStyle::checkableKinds_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("checkable");
    QTest::newRow("1023 pause") << 1023 << true;
    QTest::newRow("1029") << 1029 << true;
    QTest::newRow("1028") << 1028 << false;
    QTest::newRow("1024") << 1024 << false;
}

void TestAppStyle::checkableKinds()
{
    QFETCH(int, kind);
    QFETCH(bool, checkable);
    for (int variant : {LightStyle, TyStyleVariant}) {
        const auto palette = makePalette(variant);
        auto button = bareButton();
        palette->styleButton(button.get(), kind, QString());
        QCOMPARE(button->isCheckable(), checkable);
    }
}

// The tall link button shows a 48-px icon above its text: its height comes from its content.
void TestAppStyle::tallLinkButtonIsNotFixed()
{
    TyStyle ty(nullptr);
    auto button = bareButton();
    button->setText(QStringLiteral("Add"));
    button->setIcon(QStringLiteral(":/plus.svg"));
    ty.styleButton(button.get(), 1039, QString());
    QCOMPARE(button->minimumHeight(), 0);
    QCOMPARE(button->maximumHeight(), QWIDGETSIZE_MAX);
    QVERIFY(button->sizeHint().height() >= 48 + QFontMetrics(button->textFont()).height());

    Style style(nullptr);
    auto plain = bareButton();
    style.styleButton(plain.get(), 1039, QString());
    QCOMPARE(plain->maximumHeight(), 60);
}

void TestAppStyle::dialogLook()
{
    TyStyle ty(nullptr);
    CDialog dialog;
    ty.styleWindow(&dialog, 1);
    QCOMPARE(dialog.titleBar()->minimumHeight(), 68);
    QCOMPARE(dialog.titleBar()->maximumHeight(), 68);
    QCOMPARE(dialog.contentWidget()->minimumWidth(), 480);
    QBoxLayout* row = dialog.buttonLayout();
    QCOMPARE(row->contentsMargins(), QMargins(32, 24, 32, 32));
    QCOMPARE(row->spacing(), 10);
    QVERIFY(row->count() == 0 || !row->itemAt(0)->spacerItem());
    QCOMPARE(int(dialog.titleBar()->titleLabel()->alignment()), 132);
    QCOMPARE(dialog.titleBar()->titleLabel()->styleKind(), 1071);

    CWindow menu(1000, 0, nullptr, CWindow::Default, true, QString());
    ty.styleWindow(&menu, 1000);
    QCOMPARE(menu.contentsMargins(), QMargins(0, 0, 0, 8));
    QCOMPARE(menu.border()->margins(), QMargins(8, 8, 8, 8));
}

void TestAppStyle::mainWindowLook()
{
    TyStyle ty(nullptr);
    CWindow window(0, CWindow::TitleBar, nullptr, CWindow::Default, true, QString());
    ty.styleWindow(&window, 0);
    CTitleBar* bar = window.titleBar();
    QVERIFY(bar);
    QCOMPARE(bar->maximumHeight(), 32);
    QCOMPARE(bar->iconWidget()->contentsMargins(), QMargins(4, 0, 8, 0));
    QCOMPARE(bar->titleLabel()->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    QCOMPARE(bar->titleLabel()->styleKind(), 1066);
    // The base look of kind 0 reads this palette's background and border width.
    QCOMPARE(window.border()->backgroundBrush().color(), QColor(0x1C1D1E));
    QCOMPARE(window.border()->borderWidth(), 0);
}

void TestAppStyle::sliderLook()
{
    TyStyle ty(nullptr);
    CSlider slider(-1, Qt::Horizontal);
    slider.setFocusPolicy(Qt::TabFocus);
    ty.styleSlider(&slider, 1075);
    CButton* handle = slider.handleButton();
    QCOMPARE(handle->size(), QSize(19, 19));
    QCOMPARE(handle->backgroundColors().normal, QColor(0x2C2D2E));
    QCOMPARE(handle->backgroundColors().disabled, QColor(0, 0, 0, 24));
    QCOMPARE(handle->borderColors(), ty.colorSet(1000));
    QCOMPARE(handle->borderWidths(), QMargins(2, 2, 2, 2));
    QCOMPARE(handle->focusPolicy(), Qt::TabFocus);
    QCOMPARE(slider.minimumHeight(), 20);
    QCOMPARE(slider.contentsMargins(), QMargins(0, 0, 1, 0));

    Style style(nullptr);
    CSlider plain(-1, Qt::Horizontal);
    style.styleSlider(&plain, 1075);
    QCOMPARE(plain.handleButton()->backgroundColors().normal, QColor(Qt::white));
}

// The volume popup's slider: its track stands out from the popup's own colour.
void TestAppStyle::popupSliderTrackShows()
{
    TyStyle ty(nullptr);
    CSlider slider(-1, Qt::Vertical);
    ty.styleSlider(&slider, 37);
    slider.setRange(0, 100);
    slider.setValue(0);
    slider.resize(slider.minimumWidth(), 200);
    const QColor popup = ty.color(9);
    QImage image(slider.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(popup);
    slider.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    // Half-way up, far from the handle at the bottom.
    const QColor track = image.pixelColor(slider.width() / 2, slider.height() / 2);
    QVERIFY2(qAbs(track.lightness() - popup.lightness()) > 40, qPrintable(track.name()));
}

void TestAppStyle::playButtonShowsPauseWhenChecked()
{
    const auto palette = makePalette(TyStyleVariant);
    auto button = bareButton();
    palette->styleButton(button.get(), 1029, QStringLiteral(":/play.svg"));
    button->setIcon(QStringLiteral(":/play.svg"));
    CIcon* icon = button->icon();
    QVERIFY(icon);
    const QSize size(24, 24);
    const QImage play = icon->pixmap(1.0, size, QColor(), CIcon::Normal).toImage();
    const QImage checked = icon->pixmap(1.0, size, QColor(), CIcon::Checked).toImage();
    const QImage pause = CIconRepo::instance()->icon(QStringLiteral(":/pause.svg"))->pixmap(1.0, size, QColor(), CIcon::Normal).toImage();
    QVERIFY(play != checked);
    QCOMPARE(checked, pause);
}

void TestAppStyle::inputLooks()
{
    TyStyle ty(nullptr);
    CLinEdit search(-1);
    ty.styleLineEdit(&search, 1073);
    QVERIFY(search.icon());
    QCOMPARE(search.icon()->path(), QStringLiteral(":/search.svg"));
    QCOMPARE(search.iconMargins(), QMargins(6, 0, 0, 0));
    QCOMPARE(search.iconColors().normal, QColor(0xA0A0A0));
    QCOMPARE(search.borderWidths(), QMargins(0, 0, 0, 1));
    QCOMPARE(search.borderColors().normal, QColor(0x444444));
    // The look of kind 31 underneath adds the clear button.
    QVERIFY(search.clearButton());

    CLinEdit tall(-1);
    ty.styleLineEdit(&tall, 1074);
    QCOMPARE(tall.maximumHeight(), 56);
    QCOMPARE(tall.minimumHeight(), 56);

    CSpinBox spin(-1);
    ty.styleSpinBox(&spin, 36);
    QCOMPARE(spin.padding(), QMargins(9, 0, 9, 0));
    QCOMPARE(spin.backgroundColors().normal, QColor(0x3A3A3A));
    QCOMPARE(spin.minimumHeight(), 32);
}

void TestAppStyle::scrollAreaLook()
{
    TyStyle ty(nullptr);
    CScrollArea area(-1);
    ty.styleScrollArea(&area, 39);
    QCOMPARE(area.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    const QList<CScrollBar*> bars = area.findChildren<CScrollBar*>();
    QCOMPARE(bars.size(), 1);
    QCOMPARE(bars.first()->orientation(), Qt::Vertical);

    CScrollArea other(-1);
    ty.styleScrollArea(&other, 40);
    QCOMPARE(other.horizontalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    QVERIFY(other.findChildren<CScrollBar*>().isEmpty());
}

void TestAppStyle::animatedIcons()
{
    TyStyle ty(nullptr);
    Style style(nullptr);
    CAnimationIcon::ToggleIcon toggle;
    style.styleAnimationIcon(&toggle);
    QCOMPARE(toggle.trackColors().normal, QColor(0xD6D6D6));
    QCOMPARE(toggle.trackColors().checkedNormal, QColor(0x0B96DB));
    QCOMPARE(toggle.defaultSize(), QSize(28, 18));
    ty.styleAnimationIcon(&toggle);
    QCOMPARE(toggle.trackColors().normal, QColor(0x4F4F4F));
    QCOMPARE(toggle.defaultSize(), QSize(40, 24));

    CAnimationIcon::RadioIcon radio;
    ty.styleAnimationIcon(&radio);
    QCOMPARE(radio.defaultSize(), QSize(20, 20));
    QCOMPARE(radio.borderColors().normal, QColor(0x7D7D7D));
    QCOMPARE(radio.borderColors().checkedPressed, QColor(0x009FAD));
    QCOMPARE(radio.backgroundColors().checkedNormal, QColor(0x009FAD));
    // The base look underneath: the dot stays.
    QCOMPARE(radio.dotInset(), 5);
}

void TestAppStyle::libraryKindsKeepBaseLook()
{
    TyStyle ty(nullptr);
    auto check = bareButton();
    ty.styleButton(check.get(), 13, QString());
    QVERIFY(check->isCheckable());
    QCOMPARE(check->icon()->path(), QStringLiteral("CheckBoxIcon1"));
    // The base look turns recolouring off for its own icons.
    QVERIFY(!check->isIconRecolored());

    auto label = bareButton();
    const ColorSet before = label->backgroundColors();
    ty.styleButton(label.get(), 27, QString());
    QCOMPARE(label->backgroundColors(), before);
    QVERIFY(label->isIconRecolored());

    auto combo = bareButton();
    ty.styleButton(combo.get(), 18, QString());
    QCOMPARE(combo->firstArrow().size, QSize(12, 7));
    QCOMPARE(combo->secondArrow().direction, Qt::UpArrow);
    QCOMPARE(combo->arrowColors().normal, QColor(0xE1E1E1));
}

TY_UI_TEST_MAIN(TestAppStyle)
#include "tst_appstyle.moc"

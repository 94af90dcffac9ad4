#include "pages/Style.h"

#include "pages/PopupOverlay.h"

#include "uilib/controls/CBorder.h"
#include "uilib/controls/CButton.h"
#include "uilib/controls/CComboBase.h"
#include "uilib/controls/CDialog.h"
#include "uilib/controls/CDialogMessage.h"
#include "uilib/controls/CLinEdit.h"
#include "uilib/controls/CPanel.h"
#include "uilib/controls/CProgressBar.h"
#include "uilib/controls/CScrollArea.h"
#include "uilib/controls/CSlider.h"
#include "uilib/controls/CAnimationScrollBar.h"
#include "uilib/controls/CTextEdit.h"
#include "uilib/controls/CTitleBar.h"
#include "uilib/controls/CWidgetIcon.h"
#include "uilib/controls/CWidgetText.h"
#include "uilib/controls/CWindow.h"
#include "uilib/style/CAnimationIcon.h"
#include "uilib/style/CButtonDraw.h"
#include "uilib/style/CShadowEffect.h"
#include "uilib/style/CSpinBoxDraw.h"
#include "uilib/style/CStyle.h"
#include "uilib/style/ColorUtils.h"
#include "uilib/style/LibUtils.h"

#include <QBoxLayout>
#include <QLabel>

#include <algorithm>
#include <iterator>

namespace {

const QString kFamily = QStringLiteral("Tahoma");

QColor black(int alpha)
{
    return QColor(0, 0, 0, alpha);
}

QColor white(int alpha)
{
    return QColor(255, 255, 255, alpha);
}

void setFixedHeight(CPanelDraw* draw, int height)
{
    if (QWidget* owner = draw->widget())
        owner->setFixedHeight(height);
}

void setFixedSize(CPanelDraw* draw, int width, int height)
{
    if (QWidget* owner = draw->widget())
        owner->setFixedSize(width, height);
}

void setMinimumHeight(CPanelDraw* draw, int height)
{
    if (QWidget* owner = draw->widget())
        owner->setMinimumHeight(height);
}

void setSizePolicy(CPanelDraw* draw, QSizePolicy::Policy horizontal, QSizePolicy::Policy vertical)
{
    if (QWidget* owner = draw->widget())
        owner->setSizePolicy(horizontal, vertical);
}

void setPointingHand(CPanelDraw* draw)
{
    if (QWidget* owner = draw->widget())
        owner->setCursor(Qt::PointingHandCursor);
}

void setCheckable(CButtonDraw* button)
{
    if (auto* push = dynamic_cast<CButton*>(button))
        push->setCheckable(true);
}

void setUnderlinedFont(CButtonDraw* button, int pixelSize)
{
    QFont font = makeFont(pixelSize, QFont::Normal, kFamily);
    font.setUnderline(true);
    button->setFont(font);
}

AnimationParams showParams(QEasingCurve::Type forward, int forwardMs, QEasingCurve::Type backward, int backwardMs)
{
    return AnimationParams{forward, forwardMs, backward, backwardMs, 0.0, 1.0};
}

// The title bar of a window, its label and icon as the window kinds want them.
void styleTitleBar(CWindow* window, int height, Qt::Alignment alignment, const QMargins& labelMargins,
                   int textKind)
{
    CTitleBar* bar = window->titleBar();
    if (!bar)
        return;
    bar->setFixedHeight(height);
    CWidgetText* title = bar->titleLabel();
    title->setAlignment(alignment);
    title->setContentsMargins(labelMargins);
    title->setStyleKind(textKind);
}

// A window with its content kept clear of its rounded outline.
void setWindowInset(CWindow* window, const QMargins& contents, int radius)
{
    window->setContentsMargins(contents);
    window->border()->setMargins(radius, radius, radius, radius);
}

void styleDialogButtonRow(CDialog* dialog)
{
    QBoxLayout* row = dialog->buttonLayout();
    if (!row)
        return;
    row->setContentsMargins(32, 24, 32, 32);
    row->setSpacing(10);
    // The buttons start at the left.
    QLayoutItem* first = row->count() > 0 ? row->itemAt(0) : nullptr;
    if (first && first->spacerItem())
        delete row->takeAt(0);
}

// A font of the family, size and weight; the colour on the foreground role, or on both text
// roles.
void styleLabel(QLabel* label, int pixelSize, int weight, const QColor& color, bool bothTextRoles)
{
    applyFontToWidget(label, pixelSize, weight, kFamily);
    if (!bothTextRoles) {
        setWidgetTextColor(label, color);
        return;
    }
    setWidgetRoleColor(label, QPalette::WindowText, color);
    setWidgetRoleColor(label, QPalette::Text, color);
}

} // namespace

Style::Style(QObject* parent)
    : Cpalette(parent)
{
}

CPanelDraw::Radii Style::corners(int radius)
{
    return {radius, radius, radius, radius};
}

QMargins Style::uniform(int width)
{
    return QMargins(width, width, width, width);
}

ColorSet Style::shaded(const QColor& color, int lighter, int darker)
{
    return ColorSet(color, color.lighter(lighter), color.darker(darker), QColor());
}

int Style::metric(int id) const
{
    switch (id) {
    case 0: return 0;
    case 1: return 48;
    case 2: return 8;
    case 6: return 2;
    case 7: return 1;
    case 18: return 8;
    case 19: return 4;
    case 23: return 4;
    case 25: return 36;
    case 1000: return 4;
    case 1001: return 1;
    case 1002: return 57;
    default: return Cpalette::metric(id);
    }
}

QSize Style::defaultSize(int kind) const
{
    return Cpalette::defaultSize(kind);
}

QMargins Style::margins(int kind) const
{
    switch (kind) {
    case 6: return QMargins(8, 0, 8, 0);
    case 7: return QMargins(10, 0, 10, 0);
    default: return Cpalette::margins(kind);
    }
}

QColor Style::color(int role) const
{
    const bool dark = isDark();
    const auto pick = [dark](QRgb darkValue, QRgb lightValue) { return QColor(dark ? darkValue : lightValue); };
    switch (role) {
    case 0: return QColor(0x0B96DB);
    case 1: return color(1013);
    case 2: return pick(0x2B2B2B, 0xFFFFFF);
    case 3: return dark ? colorWithAlpha(Qt::white, 0.12) : colorWithAlpha(Qt::black, 0.2);
    case 4: return colorWithAlpha(Qt::black, 0.3);
    case 6: return color(2);
    case 9: return pick(0x3A3A3A, 0xFFFFFF);
    case 17: return QColor(Qt::white);
    case 18:
    case 21: return color(0);
    case 1000: return QColor(0x0A85C2);
    case 1001: return QColor(0x0873A8);
    case 1002: return colorWithAlpha(color(0), 0.15);
    case 1003: return colorWithAlpha(color(0), 0.2);
    case 1004: return colorWithAlpha(color(0), 0.25);
    case 1005: return QColor(0x69AF24);
    case 1006: return QColor(0x5A961F);
    case 1007: return QColor(0x4B7D1A);
    case 1008: return pick(0xE1E1E1, 0x303030);
    case 1009: return pick(0xC1C1C1, 0x505050);
    case 1010: return pick(0xA0A0A0, 0x7B7B7B);
    case 1011: return pick(0x7D7D7D, 0xA1A1A1);
    case 1012: return pick(0x626262, 0xBFBFBF);
    case 1013: return pick(0x4F4F4F, 0xD6D6D6);
    case 1014: return pick(0x444444, 0xE4E4E4);
    case 1015: return pick(0x3A3A3A, 0xF2F2F2);
    case 1016: return colorWithAlpha(Qt::black, dark ? 0.6 : 0.2);
    case 1017: return color(1015);
    case 1018: return QColor(0x656565);
    case 1019: return textColor();
    default: return Cpalette::color(role);
    }
}

ColorSet Style::colorSet(int kind) const
{
    const QColor clear(Qt::transparent);
    const QColor none;
    const bool dark = isDark();
    switch (kind) {
    case 0:
        return dark ? ColorSet(clear, color(1014), color(1015), none, color(1002), clear, clear, none)
                    : ColorSet(clear, black(24), black(46), none, color(1002), clear, clear, none);
    case 4: return ColorSet(clear);
    case 5: return ColorSet(color(1013), color(1011), color(0), none, color(0), clear, clear, none);
    case 1000: return ColorSet(color(0), color(1000), color(1001), none);
    case 1001: return ColorSet(color(1005), color(1006), color(1007), none);
    case 1002: return ColorSet(QColor(0xE13B31), black(24), black(46), none);
    case 1003:
        return dark ? ColorSet(clear, color(1014), color(1015), none, color(1013), color(1014), color(1015), none)
                    : ColorSet(clear, black(24), black(46), none, color(1014), black(24), black(46), none);
    case 1004: {
        const QColor outline = color(1011);
        return ColorSet(color(1012), outline, outline, none, outline, outline, outline, none);
    }
    default: return Cpalette::colorSet(kind);
    }
}

ArrowSpec Style::arrowStyle(int kind) const
{
    switch (kind) {
    case 1000: return {QSize(12, 7), QMargins(0, 0, 1, 0), Qt::DownArrow, 1.5};
    case 1001: return {QSize(12, 7), QMargins(0, 0, 1, 0), Qt::UpArrow, 1.5};
    case 1002: return {QSize(8, 4), QMargins(0, 0, 0, 0), Qt::UpArrow, 0.0};
    case 1003: return {QSize(8, 4), QMargins(0, 0, 0, 0), Qt::DownArrow, 0.0};
    default: return Cpalette::arrowStyle(kind);
    }
}

QString Style::titleBarIcon(int kind) const
{
    switch (kind) {
    case 6: return QStringLiteral(":/messagebox-error.svg");
    case 10: return QStringLiteral(":/titlebar-minimize.svg");
    case 11: return QStringLiteral(":/titlebar-maximize.svg");
    case 12: return QStringLiteral(":/titlebar-restore.svg");
    case 13: return QStringLiteral(":/titlebar-close.svg");
    default: return Cpalette::titleBarIcon(kind);
    }
}

void Style::styleWindow(CWindow* window, int kind)
{
    if (!window)
        return;
    switch (kind) {
    case 0:
        Cpalette::styleWindow(window, 0);
        if (CTitleBar* bar = window->titleBar()) {
            bar->iconWidget()->setIconName(QStringLiteral(":/appicon.png"));
            bar->iconWidget()->setContentsMargins(4, 0, 8, 0);
        }
        styleTitleBar(window, 32, Qt::AlignLeft | Qt::AlignVCenter, QMargins(), 1066);
        break;
    case 1:
        Cpalette::styleWindow(window, 1);
        if (QWidget* content = window->contentWidget())
            content->setMinimumWidth(480);
        styleTitleBar(window, 68, Qt::AlignHCenter | Qt::AlignVCenter, QMargins(0, 0, 0, 2), 1071);
        if (auto* dialog = qobject_cast<CDialog*>(window))
            styleDialogButtonRow(dialog);
        break;
    case 2:
        Cpalette::styleWindow(window, 2);
        // A fixed height of QWIDGETSIZE_MAX would make the bar endless: its height is freed instead.
        if (CTitleBar* bar = window->titleBar()) {
            bar->setMinimumHeight(0);
            bar->setMaximumHeight(QWIDGETSIZE_MAX);
        }
        if (auto* dialog = qobject_cast<CDialog*>(window))
            dialog->contentPanel()->setContentsMargins(32, 0, 32, 0);
        if (auto* message = qobject_cast<CDialogMessage*>(window))
            message->setSpacing(17);
        break;
    case 3:
    case 5: {
        Cpalette::styleWindow(window, 3);
        const int r = metric(1000);
        setWindowInset(window, QMargins(0, r, 0, r), r);
        break;
    }
    case 1000: {
        Cpalette::styleWindow(window, 3);
        const int r = metric(1000);
        setWindowInset(window, QMargins(0, 0, 0, r), r);
        break;
    }
    case 1001:
        styleWindow(window, 3);
        window->setContentsMargins(8, 12, 8, 8);
        if (QWidget* content = window->contentWidget()) {
            content->setMinimumHeight(201);
            if (QLayout* layout = content->layout())
                layout->setSpacing(12);
        }
        break;
    default:
        Cpalette::styleWindow(window, kind);
        break;
    }
}

void Style::stylePanel(CPanel* panel, int kind)
{
    if (!panel)
        return;
    switch (kind) {
    case 1052:
        panel->setBackgroundColors(ColorSet(color(1)));
        return;
    case 1053:
        panel->setBackgroundColors(ColorSet(color(1)));
        panel->setBorderColors(ColorSet(color(1017)));
        return;
    case 1054:
    case 1055:
    case 1056:
        break;
    default:
        return;
    }
    const QColor clear(Qt::transparent);
    panel->setBorderColors(ColorSet(color(2), clear, clear, QColor()));
    panel->setBackgroundColors(ColorSet(color(1), clear, clear, QColor()));
    panel->setAttribute(Qt::WA_OpaquePaintEvent);
    auto* shadow = qobject_cast<CShadowEffect*>(panel->graphicsEffect());
    if (!shadow)
        shadow = new CShadowEffect(panel);
    shadow->setBlurRadius(20.0);
    shadow->setColor(color(1016));
    shadow->setOffset(QPointF(0, 0));
    panel->setAnimationParams(showParams(QEasingCurve::OutQuart, 250, QEasingCurve::InQuart, 150));
    struct Floating
    {
        QMargins padding;
        Qt::Edge edge;
    };
    const Floating floating = kind == 1054   ? Floating{QMargins(12, 0, 12, 0), Qt::BottomEdge}
                              : kind == 1055 ? Floating{QMargins(0, 12, 0, 12), Qt::RightEdge}
                                             : Floating{QMargins(12, 12, 0, 0), Qt::LeftEdge};
    shadow->setPadding(floating.padding);
    panel->setSlide(floating.edge, 16);
}

void Style::styleText(QLabel* label, int kind)
{
    if (!label)
        return;
    enum Ink { Text, Secondary, Accent, Role17 };
    struct Look
    {
        int kind, pixelSize, weight;
        Ink ink;
    };
    static const Look looks[] = {
        {9, 14, 50, Secondary},    {1057, 12, 50, Text}, {1058, 12, 50, Secondary}, {1059, 12, 50, Role17},
        {1060, 13, 50, Text},      {1061, 13, 50, Secondary}, {1062, 14, 50, Text}, {1063, 14, 50, Secondary},
        {1064, 14, 50, Accent},    {1065, 14, 57, Secondary}, {1066, 15, 50, Text}, {1067, 15, 50, Secondary},
        {1068, 15, 50, Text},      {1069, 16, 50, Text}, {1070, 16, 50, Secondary}, {1071, 16, 57, Text},
    };
    const auto look = std::find_if(std::begin(looks), std::end(looks), [kind](const Look& l) { return l.kind == kind; });
    if (look == std::end(looks)) {
        Cpalette::styleText(label, kind);
        return;
    }
    const QColor inks[] = {textColor(), secondaryTextColor(), color(0), color(17)};
    styleLabel(label, look->pixelSize, look->weight, inks[look->ink], kind == 1062 || kind == 1063);
    const QMargins margins = label->contentsMargins();
    switch (kind) {
    case 9:
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        label->setWordWrap(true);
        break;
    case 1062:
        label->setContentsMargins(margins.left(), margins.top(), margins.right(), 1);
        break;
    case 1064:
        label->setContentsMargins(margins.left(), 10, margins.right(), 1);
        break;
    case 1068:
        label->setContentsMargins(12, 0, 12, 0);
        break;
    default:
        break;
    }
}

void Style::applySizeStep(CButtonDraw* button, int step)
{
    struct Step
    {
        int height, pixelSize, weight;
    };
    // Weight -1 stands for the main-button weight, metric 1002.
    static const Step steps[] = {{32, 14, -1}, {36, 14, 50}, {36, 15, 50}, {40, 14, -1},
                                 {48, 14, -1}, {56, 18, -1}, {60, 28, 50}};
    const Step& look = steps[step];
    setFixedHeight(button, look.height);
    button->setTextFont(look.pixelSize, look.weight < 0 ? metric(1002) : look.weight);
    if (step == 0) {
        button->setPadding(QMargins(12, 0, 12, 0));
        button->setSpacing(7);
    } else if (step == 5) {
        button->setPadding(QMargins(12, 0, 12, 1));
    }
}

bool Style::styleMainButton(CButtonDraw* button, int kind, const QString& icon)
{
    enum Finish { Outlined, Quiet, Grey, Accent, Green, Red, Emerald };
    struct Look
    {
        int kind, step;
        Finish finish;
    };
    static const Look looks[] = {
        {1002, 1, Outlined}, {1003, 3, Outlined}, {1004, 5, Outlined}, {1005, 1, Quiet},
        {1006, 4, Grey},     {1007, 5, Grey},     {1008, 0, Accent},   {1009, 3, Accent},
        {1010, 4, Accent},   {1011, 5, Accent},   {1012, 0, Green},    {1013, 3, Green},
        {1014, 4, Green},    {1015, 5, Green},    {1016, 3, Red},      {1017, 4, Red},
        {1018, 5, Red},      {1019, 3, Emerald},  {1020, 4, Emerald},
    };
    const auto look = std::find_if(std::begin(looks), std::end(looks), [kind](const Look& l) { return l.kind == kind; });
    if (look == std::end(looks))
        return false;
    styleButton(button, 11, icon);
    applySizeStep(button, look->step);
    const QColor none;
    switch (look->finish) {
    case Outlined:
        button->setTextColors(ColorSet(textColor()));
        button->setBackgroundColors(colorSet(1003));
        button->setBorderColors(colorSet(1004));
        button->setBorderWidths(uniform(metric(1001)));
        break;
    case Quiet: {
        const QColor clear(Qt::transparent);
        const QColor text = textColor();
        const QColor checked = color(17);
        button->setBackgroundColors(ColorSet(color(1014), black(24), black(46), color(0), clear, clear));
        button->setTextColors(ColorSet(text, text, text, checked, checked, checked));
        break;
    }
    case Grey: button->setBackgroundColors(ColorSet(QColor(0x888888), black(24), black(46), none)); break;
    case Accent: button->setBackgroundColors(colorSet(1000)); break;
    case Green: button->setBackgroundColors(colorSet(1001)); break;
    case Red: button->setBackgroundColors(colorSet(1002)); break;
    case Emerald: button->setBackgroundColors(ColorSet(QColor(0x0BA25E), black(24), black(46), none)); break;
    }
    if (kind == 1008 || kind == 1012)
        button->setRadius({0, 0, 4, 4});
    return true;
}

void Style::styleLinkButton(CButtonDraw* button, int kind)
{
    button->setTextColors(shaded(color(18), 120, 120));
    button->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setPointingHand(button);
    if (auto* combo = dynamic_cast<CComboBase*>(button)) {
        combo->setPopupPosition(1);
        combo->setPopupOffset(0, -10);
    }
    switch (kind) {
    case 1034:
        button->setTextFont(14, 50);
        setSizePolicy(button, QSizePolicy::Fixed, QSizePolicy::Fixed);
        break;
    case 1035:
        setUnderlinedFont(button, 14);
        button->setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        setSizePolicy(button, QSizePolicy::Ignored, QSizePolicy::Fixed);
        break;
    case 1036:
    case 1037:
        setUnderlinedFont(button, 14);
        button->setTextColors(shaded(textColor(), 110, 110));
        if (kind == 1036)
            button->setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        setSizePolicy(button, kind == 1036 ? QSizePolicy::Ignored : QSizePolicy::Fixed, QSizePolicy::Fixed);
        break;
    case 1038:
        setUnderlinedFont(button, 14);
        setSizePolicy(button, QSizePolicy::Fixed, QSizePolicy::Fixed);
        break;
    case 1039:
        setFixedHeight(button, 60);
        button->setTextFont(28, 50);
        button->setIconSize(QSize(48, 48));
        setSizePolicy(button, QSizePolicy::Fixed, QSizePolicy::Fixed);
        break;
    default:
        break;
    }
}

bool Style::styleSmallButton(CButtonDraw* button, int kind, const QString& icon)
{
    const QColor clear(Qt::transparent);
    const QColor none;
    switch (kind) {
    case 1021:
    case 1022:
        Cpalette::styleButton(button, 10, icon);
        button->setBackgroundColors(colorSet(1003));
        button->setTextColors(ColorSet(textColor()));
        button->setPadding(QMargins(4, 0, 4, 0));
        button->setSpacing(6);
        button->setRadius(corners(metric(19)));
        setFixedHeight(button, 32);
        button->setTextFont(kind == 1021 ? 15 : 16, kind == 1021 ? 50 : 57);
        return true;
    case 1023:
    case 1024:
        styleButton(button, 1021, icon);
        button->setTextColors(ColorSet(color(17)));
        if (kind == 1023) {
            button->setBackgroundColors(
                ColorSet(color(1011), black(24), black(46), color(0), color(1000), color(1001)));
            setCheckable(button);
        } else {
            button->setBackgroundColors(colorSet(1002));
        }
        setPointingHand(button);
        return true;
    case 1025:
    case 1026:
        Cpalette::styleButton(button, 10, icon);
        button->setBackgroundColors(ColorSet(color(1002), color(1003), color(1004), none));
        button->setTextColors(ColorSet(color(0), color(1000), color(1001), none));
        button->setRadius(corners(16));
        button->setSpacing(6);
        button->setPadding(uniform(4));
        return true;
    case 1027:
        Cpalette::styleButton(button, 10, icon);
        button->setBackgroundColors(
            ColorSet(color(1014), black(24), black(46), color(1014), black(24), black(46)));
        button->setTextColors(ColorSet(textColor()));
        button->setRadius(corners(20));
        button->setPadding(uniform(8));
        return true;
    case 1028:
    case 1029: {
        Cpalette::styleButton(button, 10, icon);
        const QColor text = textColor();
        button->setTextColors(ColorSet(text, color(0), color(1001), text, color(0), color(1001)));
        button->setPadding(uniform(4));
        if (kind == 1029) {
            button->setPadding(QMargins(12, 12, 4, 12));
            setCheckable(button);
        }
        return true;
    }
    case 1030:
        Cpalette::styleButton(button, 19, icon);
        button->setBackgroundColors(ColorSet(color(1)));
        button->setBorderWidths(QMargins(0, 0, 0, 1));
        return true;
    case 1031: {
        const Cpalette* current = currentPalette();
        button->setBackgroundColors(
            ColorSet(clear, current->color(1011), current->color(0), current->color(0), clear, clear));
        button->setPadding(uniform(1));
        button->setBorderWidths(uniform(2));
        button->setRadius(corners(6));
        return true;
    }
    case 1032: {
        Cpalette::styleButton(button, 18, icon);
        const int r = metric(23);
        button->setBorderWidths(uniform(0));
        button->setRadius({0, r, r, 0});
        return true;
    }
    case 1033:
        styleButton(button, 1002, icon);
        button->setElideMode(Qt::ElideMiddle);
        button->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        setSizePolicy(button, QSizePolicy::Ignored, QSizePolicy::Fixed);
        button->setIconPosition(4);
        return true;
    default:
        return styleFlatButton(button, kind, icon);
    }
}

bool Style::styleFlatButton(CButtonDraw* button, int kind, const QString& icon)
{
    const QColor clear(Qt::transparent);
    const QColor none;
    switch (kind) {
    case 1040:
    case 1041:
        Cpalette::styleButton(button, 10, icon);
        button->setBackgroundColors(ColorSet(clear));
        button->setPadding(QMargins(4, 0, 4, 0));
        button->setSpacing(6);
        setFixedHeight(button, 32);
        setPointingHand(button);
        if (kind == 1040) {
            button->setTextColors(
                ColorSet(color(1011), color(0), color(1000), color(0), color(1000), color(1001)));
        } else {
            const ColorSet red = colorSet(1002);
            button->setTextColors(ColorSet(color(1011), red.normal, mixColors(red.normal, red.pressed), none));
        }
        return true;
    case 1042:
        button->setBackgroundColors(ColorSet(color(1)));
        button->setBorderWidths(QMargins(0, 0, 0, 1));
        setSizePolicy(button, QSizePolicy::MinimumExpanding, QSizePolicy::Fixed);
        return true;
    case 1043:
    case 1044: {
        const QColor mixed = mixColors(color(2), color(1002));
        button->setBackgroundColors(ColorSet(clear, color(1015), mixed, mixed, mixed, mixed));
        button->setBorderColors(ColorSet(color(1)));
        setSizePolicy(button, QSizePolicy::MinimumExpanding, QSizePolicy::Fixed);
        button->setBorderWidths(QMargins(0, 0, 0, 1));
        if (kind == 1044)
            button->setMargins(QMargins(1, 0, 1, 0));
        return true;
    }
    case 1045:
        button->setBackgroundColors(ColorSet(black(128)));
        button->setRadius(corners(16));
        button->setTextColors(ColorSet(Qt::white));
        button->setPadding(QMargins(30, 12, 30, 12));
        button->setAnimationParams(showParams(QEasingCurve::OutCubic, 900, QEasingCurve::InCubic, 900));
        button->setTextFont(24, 50);
        setSizePolicy(button, QSizePolicy::Fixed, QSizePolicy::Fixed);
        if (auto* overlay = dynamic_cast<PopupOverlay*>(button)) {
            overlay->setAlignment(Qt::AlignCenter);
            overlay->setTimeout(1500);
            overlay->setOverlayMargins(QMargins(25, 25, 25, 25));
        }
        return true;
    case 1046:
        Cpalette::styleButton(button, 10, icon);
        button->setRadius(corners(10));
        button->setBackgroundColors(ColorSet(clear, white(16), white(8), none));
        button->setTextColors(ColorSet(Qt::white));
        button->setPadding(uniform(8));
        setSizePolicy(button, QSizePolicy::MinimumExpanding, QSizePolicy::Fixed);
        button->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        return true;
    case 1047:
        Cpalette::styleButton(button, 14, icon);
        setFixedSize(button, 20, 20);
        return true;
    case 1048: {
        setFixedSize(button, 36, 36);
        const QColor hovered = isDark() ? color(1014) : black(24);
        const QColor pressed = isDark() ? color(1015) : black(46);
        button->setBackgroundColors(ColorSet(clear, hovered, pressed, color(21), hovered, pressed));
        button->setTextColors(ColorSet(textColor()));
        button->setBorderColors(ColorSet(color(1012), color(1011), color(1011), clear, clear, clear));
        button->setBorderWidths(uniform(1));
        button->setRadius(corners(metric(19)));
        return true;
    }
    case 1049:
        Cpalette::styleButton(button, 10, icon);
        button->setBackgroundColors(ColorSet(colorWithAlpha(Qt::black, 0.4), colorWithAlpha(Qt::black, 0.6),
                                             colorWithAlpha(Qt::black, 0.8), none));
        button->setTextColors(ColorSet(Qt::white));
        button->setRadius(corners(14));
        button->setMargins(QMargins(18, 18, 19, 19));
        setPointingHand(button);
        return true;
    case 1050: {
        Cpalette::styleButton(button, 10, icon);
        setFixedHeight(button, 36);
        button->setTextFont(15, 50);
        button->setBackgroundColors(colorSet(1003));
        const QColor text = textColor();
        const QColor secondary = secondaryTextColor();
        const QColor checked = isDark() ? text : color(0);
        button->setTextColors(ColorSet(secondary, text, text, checked, clear, clear));
        button->setArrowColors(
            ColorSet(colorWithAlpha(secondary, 0.1), secondary, secondary, checked, clear, clear));
        button->setArrowPlacement(1);
        button->setPadding(QMargins(12, 0, 12, 0));
        button->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        setSizePolicy(button, QSizePolicy::Minimum, QSizePolicy::Minimum);
        setPointingHand(button);
        return true;
    }
    case 1051:
        Cpalette::styleButton(button, 10, icon);
        button->setTextColors(ColorSet(secondaryTextColor()));
        button->setTextFont(14, 50);
        return true;
    default:
        return false;
    }
}

void Style::styleButton(CButtonDraw* button, int kind, const QString& icon)
{
    if (!button)
        return;
    button->setIconRecolored(true);
    if (styleMainButton(button, kind, icon))
        return;
    if (kind >= 1034 && kind <= 1039) {
        styleLinkButton(button, kind);
        return;
    }
    if (styleSmallButton(button, kind, icon))
        return;
    switch (kind) {
    case 11:
        Cpalette::styleButton(button, 11, icon);
        setSizePolicy(button, QSizePolicy::Minimum, QSizePolicy::Fixed);
        button->setTextColors(ColorSet(color(17)));
        break;
    case 16:
    case 19: {
        Cpalette::styleButton(button, kind, icon);
        const int m = metric(7);
        button->setMargins(QMargins(m, 0, m, 0));
        setMinimumHeight(button, 40);
        break;
    }
    case 18:
        Cpalette::styleButton(button, 18, icon);
        button->setArrowColors(ColorSet(color(1008)));
        button->setBackgroundColors(colorSet(1003));
        button->setBorderColors(colorSet(1004));
        button->setArrows(arrowStyle(1000), arrowStyle(1001));
        break;
    case 20: styleButton(button, 1003, icon); break;
    case 21: styleButton(button, 1009, icon); break;
    case 22:
    case 23:
    case 24:
    case 25:
        Cpalette::styleButton(button, kind, icon);
        if (kind != 25)
            button->setBackgroundColors(colorSet(1003));
        setFixedSize(button, 40, 32);
        break;
    case 26:
        button->setIconColors(ColorSet(textColor(), color(0), color(1000), QColor()));
        setPointingHand(button);
        setFixedSize(button, 24, 24);
        break;
    default:
        Cpalette::styleButton(button, kind, icon);
        break;
    }
}

void Style::styleLineEdit(CLinEdit* edit, int kind)
{
    if (!edit)
        return;
    switch (kind) {
    case 1073: {
        styleLineEdit(edit, 31);
        const QColor clear(Qt::transparent);
        edit->setIcon(QStringLiteral(":/search.svg"));
        edit->setIconColors(ColorSet(color(1010), clear, clear, QColor()));
        edit->setIconMargins(6, 0, 0, 0);
        edit->setRadius(corners(0));
        edit->setBorderWidths(QMargins(0, 0, 0, 1));
        edit->setBorderColors(ColorSet(color(1014), clear, clear, QColor()));
        break;
    }
    case 1074:
        Cpalette::styleLineEdit(edit, 29);
        edit->setFixedHeight(56);
        break;
    default:
        Cpalette::styleLineEdit(edit, kind);
        break;
    }
}

void Style::styleTextEdit(CTextEdit* edit, int kind)
{
    if (!edit || (kind != 34 && kind != 35))
        return;
    Cpalette::styleTextEdit(edit, kind);
    QMargins padding = edit->padding();
    padding.setTop(8);
    padding.setBottom(8);
    edit->setPadding(padding);
}

void Style::styleSpinBox(CSpinBoxDraw* spin, int kind)
{
    if (!spin)
        return;
    Cpalette::styleSpinBox(spin, kind);
    if (kind != 36)
        return;
    spin->setPadding(QMargins(9, 0, 9, 0));
    spin->setBackgroundColors(ColorSet(color(9)));
    setMinimumHeight(spin, 32);
}

void Style::styleSlider(CSlider* slider, int kind)
{
    if (!slider)
        return;
    if (kind != 1075) {
        Cpalette::styleSlider(slider, kind);
        return;
    }
    slider->setMinimumHeight(20);
    slider->setGrooveMetrics(3, 0);
    slider->setGrooveColors(color(1013), color(0));
    slider->setContentsMargins(0, 0, 1, 0);
    CButton* handle = slider->handleButton();
    handle->setBackgroundColors(ColorSet(Qt::white, black(24), black(46), Qt::white));
    handle->setRadius(corners(10));
    handle->setBorderWidths(uniform(2));
    handle->setBorderColors(colorSet(1000));
    handle->setFixedSize(19, 19);
    handle->setFocusPolicy(slider->focusPolicy());
}

QString Style::progressBarStyleSheet() const
{
    return QStringLiteral("QProgressBar { "
                          "background-color: %1; "
                          "border: none; "
                          "border-radius: %4px; "
                          "font: %5px 'Segoe UI'; "
                          "color: %6; "
                          "} "
                          "QProgressBar::chunk { "
                          "background-color: %2; "
                          "border-radius: %4px;"
                          "} "
                          "QProgressBar::chunk:disabled { "
                          "background-color: %3; "
                          "} ")
        .arg(color(1015).name(QColor::HexArgb), color(0).name(), color(1011).name(), QString::number(metric(19)),
             QString::number(15), textColor().name(QColor::HexArgb));
}

void Style::styleProgressBar(CProgressBar* bar, int kind)
{
    if (!bar || kind != 38)
        return;
    bar->setFixedHeight(32);
    bar->setStyleSheet(progressBarStyleSheet());
}

void Style::styleScrollArea(CScrollArea* area, int kind)
{
    if (!area || kind != 39)
        return;
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    installAnimatedScrollBars(40, area);
}

void Style::styleAnimationIcon(CIcon* icon)
{
    Cpalette::styleAnimationIcon(icon);
    auto* toggle = dynamic_cast<CAnimationIcon::ToggleIcon*>(icon);
    if (!toggle || toggle->path() != QLatin1String("ToggleIcon1"))
        return;
    const QColor track = color(1013);
    const QColor faded = colorWithAlpha(track, 0.6);
    const QColor hover = hoverOverlayColor(QColor());
    const QColor pressed = pressedOverlayColor(QColor());
    toggle->setTrackColors(ColorSet(track, hover, pressed, faded, color(0), hover, pressed, faded));
}

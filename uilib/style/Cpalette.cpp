#include "uilib/style/Cpalette.h"

#include "uilib/controls/CAnimationScrollBar.h"
#include "uilib/controls/CButton.h"
#include "uilib/controls/CBorder.h"
#include "uilib/controls/CChadowLine.h"
#include "uilib/controls/CLinEdit.h"
#include "uilib/controls/CSlider.h"
#include "uilib/controls/CTextEdit.h"
#include "uilib/controls/CWidgetText.h"
#include "uilib/controls/CWindow.h"
#include "uilib/controls/CWindowMenu.h"
#include "uilib/style/CAnimationIcon.h"
#include "uilib/style/CAnimationWidget.h"
#include "uilib/style/CButtonDraw.h"
#include "uilib/style/CSpinBoxDraw.h"
#include "uilib/style/ColorUtils.h"
#include "uilib/style/LibUtils.h"

#include <QAbstractScrollArea>
#include <QLabel>
#include <QWidget>

namespace {

QMargins uniform(int width)
{
    return QMargins(width, width, width, width);
}

ArrowSpec noArrow()
{
    return ArrowSpec{QSize(0, 0), QMargins(), Qt::DownArrow, 0.0};
}

CPanelDraw::Radii corners(int radius)
{
    return {radius, radius, radius, radius};
}

} // namespace

Cpalette::Cpalette(QObject* parent)
    : QObject(parent)
{
    qRegisterMetaType<AnimationParams>("AnimationParams");
}

QString Cpalette::name() const
{
    return QStringLiteral("Cpalette");
}

QString Cpalette::baseName() const
{
    return QStringLiteral("Cpalette");
}

QString Cpalette::description() const
{
    return QString();
}

bool Cpalette::isDark() const
{
    return false;
}

int Cpalette::metric(int id) const
{
    switch (id) {
    case 0: return 1;
    case 1: return 20;
    case 2: return 0;
    case 3: return metric(0);
    case 4: return metric(1);
    case 5: return metric(2);
    case 6: return 1;
    case 7: return metric(0);
    case 8: return metric(1);
    case 9: return metric(2);
    case 10: return 3;
    case 11: return 150;
    case 12: return 200;
    case 13: return metric(7);
    case 14: return metric(8);
    case 15: return metric(9);
    case 16: return 150;
    case 17: return 150;
    case 18: return 8;
    case 19: return 0;
    case 20: return 8;
    case 21: return 8;
    case 22: return 1;
    case 23: return 0;
    case 24: return 1;
    case 25: return 24;
    case 26: return 24;
    case 27: return metric(25);
    case 28: return 0;
    case 29: return 12;
    case 30: return 1;
    case 31: return 8;
    case 32: return 1;
    case 33: return 16;
    case 34: return 14;
    case 35: return 14;
    default: return 0;
    }
}

double Cpalette::opacity(int kind) const
{
    switch (kind) {
    case 0: return 0.6;
    case 1: return 0.57;
    default: return 0.0;
    }
}

QSize Cpalette::defaultSize(int kind) const
{
    return kind == 0 ? QSize(92, 36) : QSize(0, 0);
}

QMargins Cpalette::margins(int kind) const
{
    switch (kind) {
    case 0: return QMargins(16, 16, 16, 16);
    case 1: return QMargins(16, 8, 8, 16);
    case 2: return QMargins(4, 4, 4, 4);
    case 4: return QMargins(16, 4, 16, 4);
    case 6: return QMargins(12, 4, 12, 4);
    case 7: return QMargins(8, 0, 8, 0);
    default: return QMargins(0, 0, 0, 0);
    }
}

QColor Cpalette::color(int role) const
{
    switch (role) {
    case 1: return pressedOverlayColor(QColor());
    case 2: return QColor(0xFFFFFF);
    case 3: return colorWithAlpha(Qt::black, 0.22);
    case 4: return color(3);
    case 5: return QColor(0, 0, 0, isDark() ? 128 : 64);
    case 6: return QColor(0xF4F4F4);
    case 7: return color(3);
    case 8: return color(4);
    case 9: return QColor(0xFFFFFF);
    case 10: return color(3);
    case 11: return color(4);
    case 12: return color(1);
    case 13: return color(9);
    case 14: return color(10);
    case 15: return color(11);
    case 16: return QColor(0x2C2B30);
    case 17: return QColor(0xF4F4F4);
    case 18: return QColor(0x458BCF);
    case 19: return QColor(0xFF373A);
    case 20: return QColor(0x47AD74);
    case 21: return QColor(0x656565);
    default: return QColor();
    }
}

ColorSet Cpalette::colorSet(int kind) const
{
    const QColor hover = hoverOverlayColor(QColor());
    const QColor pressed = pressedOverlayColor(QColor());
    const QColor transparent(Qt::transparent);
    const QColor none;
    switch (kind) {
    case 0: return ColorSet(transparent, hover, pressed, none, pressed, pressed, pressed, none);
    case 1:
    case 2: return colorSet(0);
    case 3: {
        const QColor accent = color(0);
        const QColor accentPressed = mixColors(accent, pressed);
        return ColorSet(color(21), accent, accentPressed, none, accent, hover, accentPressed, none);
    }
    case 4: return ColorSet(QColor(0xFFFFFF), QColor(0xFFFFFF), QColor(0xFFFFFF), QColor(0xF4F4F4));
    case 5: {
        const QColor disabled(0xF1F1F1);
        return ColorSet(QColor(0xE2E2E2), hover, pressed, disabled, pressed, pressed, pressed, disabled);
    }
    case 6: return colorSet(5);
    case 7: return ColorSet(transparent, hover, pressed, none);
    case 8: return ColorSet(transparent, QColor(0xE81123), QColor(0xA92831), none);
    case 9: return ColorSet(textColor(), transparent, transparent, none);
    default: return ColorSet(none);
    }
}

ArrowSpec Cpalette::arrowStyle(int kind) const
{
    switch (kind) {
    case 0: return {QSize(8, 5), QMargins(0, 1, 0, 0), Qt::DownArrow, 0.0};
    case 1: return {QSize(5, 8), QMargins(0, 1, 0, 0), Qt::RightArrow, 0.0};
    case 2: return {QSize(8, 5), QMargins(8, 4, 8, 2), Qt::UpArrow, 0.0};
    case 3: return {QSize(8, 5), QMargins(8, 2, 8, 4), Qt::DownArrow, 0.0};
    default: return {QSize(0, 0), QMargins(0, 0, 0, 0), Qt::DownArrow, 0.0};
    }
}

AnimationParams Cpalette::animationValue(int kind) const
{
    const auto params = [](int forward, QEasingCurve::Type backwardCurve, int backward) {
        return AnimationParams{QEasingCurve::OutCubic, forward, backwardCurve, backward, 0.0, 1.0};
    };
    switch (kind) {
    case 0: return params(500, QEasingCurve::InCubic, 500);
    case 1: return params(200, QEasingCurve::InCubic, 500);
    case 2: return params(200, QEasingCurve::OutCubic, 200);
    case 3: return params(300, QEasingCurve::InCubic, 500);
    case 4: return params(150, QEasingCurve::InCubic, 350);
    default: return AnimationParams();
    }
}

QString Cpalette::titleBarIcon(int kind) const
{
    switch (kind) {
    case 1: return QStringLiteral("CheckBoxIcon1");
    case 2: return QStringLiteral("RadioIcon1");
    case 3: return QStringLiteral("ToggleIcon1");
    case 4:
    case 5: return QStringLiteral(":/uilib/close-10.svg");
    case 10: return QStringLiteral(":/uilib/titlebar-minimize.svg");
    case 11: return QStringLiteral(":/uilib/titlebar-maximize.svg");
    case 12: return QStringLiteral(":/uilib/titlebar-restore.svg");
    case 13: return QStringLiteral(":/uilib/titlebar-close.svg");
    default: return QString();
    }
}

void Cpalette::styleWindow(CWindow* window, int kind)
{
    if (!window)
        return;
    // Background, border colour, border width, shadow colour, shadow blur, shadow offset.
    struct Look
    {
        int background, borderColor, borderWidth, shadowColor, shadowBlur, shadowOffset;
    };
    Look look;
    switch (kind) {
    case 0: look = {2, 3, 0, 4, 1, 2}; break;
    case 1: look = {6, 7, 3, 8, 4, 5}; break;
    case 2: styleWindow(window, 1); return;
    case 3: look = {9, 10, 7, 11, 8, 9}; break;
    case 4:
        styleWindow(window, 3);
        if (QWidget* content = window->contentWidget())
            content->setMinimumWidth(metric(12));
        return;
    case 5: look = {13, 14, 13, 15, 14, 15}; break;
    case 6:
        styleWindow(window, 0);
        window->border()->setBorderWidth(metric(30));
        return;
    default: return;
    }
    CBorder* border = window->border();
    border->setBackgroundBrush(QBrush(color(look.background)));
    border->setBorderColor(color(look.borderColor));
    border->setBorderWidth(metric(look.borderWidth));
    border->setShadowColor(color(look.shadowColor));
    border->setShadowBlur(metric(look.shadowBlur));
    border->setShadowOffset(metric(look.shadowOffset));
    if (kind == 3 || kind == 5) {
        if (auto* menu = qobject_cast<CWindowMenu*>(window))
            menu->setClickDelay(metric(11));
    }
}

void Cpalette::stylePanel(CPanel*, int) {}
void Cpalette::styleText(QLabel* label, int kind)
{
    if (!label || kind <= 0)
        return;
    setWidgetTextColor(label, kind == 8 ? color(19) : textColor());
    switch (kind) {
    case 7:
        label->setFont(QFont());
        break;
    case 8:
        applyFontToWidget(label, metric(29), QFont::Normal, QStringLiteral("Tahoma"));
        label->setAlignment(Qt::Alignment(0xA4));
        if (auto* text = qobject_cast<CWidgetText*>(label))
            text->setElideMode(Qt::ElideRight);
        break;
    case 9:
        label->setWordWrap(true);
        break;
    case 27:
        label->setContentsMargins(8, 4, 8, 4);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        applyFontToWidget(label, 12, QFont::Bold, QStringLiteral("Tahoma"));
        break;
    default:
        break;
    }
}

void Cpalette::styleReserved(QWidget*, int) {}

namespace {
// Check boxes, radio buttons and toggles: checkable, maybe exclusive, and their own check
// animation when the palette gives them their icon.
void setChoiceBehaviour(CButton* button, bool exclusive, QEasingCurve::Type forward,
                        QEasingCurve::Type backward, bool ownAnimation)
{
    if (!button)
        return;
    button->setCheckable(true);
    if (exclusive)
        button->setExclusive(true);
    button->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
    if (!ownAnimation)
        return;
    AnimationParams params;
    params.forwardCurve = forward;
    params.forwardDuration = 150;
    params.backwardCurve = backward;
    params.backwardDuration = 150;
    params.startValue = 0.0;
    params.endValue = 1.0;
    button->animation()->setCheckedAnimationParams(params);
}
} // namespace

void Cpalette::styleButton(CButtonDraw* button, int kind, const QString& icon)
{
    if (!button)
        return;
    if (!button->hasIcon() || !icon.isEmpty())
        button->setIcon(icon);
    QWidget* owner = button->widget();
    auto* push = dynamic_cast<CButton*>(button);
    const QColor hover = hoverOverlayColor(QColor());
    const QColor pressed = pressedOverlayColor(QColor());
    const QColor none;
    const auto secondary = [this](const QColor& text) { return ColorSet(colorWithAlpha(text, opacity(1))); };
    const auto iconWhenNone = [&](int iconKind) {
        if (icon.isEmpty())
            button->setIcon(titleBarIcon(iconKind));
    };
    switch (kind) {
    case 11:
        button->setBackgroundColors(ColorSet(color(21), hover, pressed, none));
        button->setBorderWidths(margins(3));
        button->setRadius(corners(metric(19)));
        button->setTextColors(ColorSet(isDark() ? color(16) : color(17)));
        button->setPadding(margins(4));
        if (owner)
            owner->setMinimumSize(defaultSize(0));
        break;
    case 12:
        button->setTextColors(colorSet(3));
        button->setPadding(margins(5));
        button->setIconRecolored(true);
        break;
    case 13:
    case 15:
        button->setTextColors(ColorSet(textColor()));
        button->setSpacing(metric(20));
        iconWhenNone(kind == 13 ? 1 : 3);
        button->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        button->setIconRecolored(false);
        if (kind == 13)
            setChoiceBehaviour(push, false, QEasingCurve::Linear, QEasingCurve::InCubic, icon.isEmpty());
        else
            setChoiceBehaviour(push, false, QEasingCurve::Linear, QEasingCurve::Linear, icon.isEmpty());
        break;
    case 14:
        button->setTextColors(ColorSet(textColor()));
        button->setSpacing(metric(21));
        iconWhenNone(2);
        button->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        setChoiceBehaviour(push, true, QEasingCurve::InCubic, QEasingCurve::InCubic, icon.isEmpty());
        break;
    case 16: {
        const QColor text = textOn(color(9));
        button->setBackgroundColors(colorSet(0));
        button->setTextColors(ColorSet(text));
        button->setPadding(margins(6));
        button->setSecondaryTextColors(secondary(text));
        button->setLayoutMode(1);
        button->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        if (push) {
            push->setExclusive(true);
            push->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
        }
        break;
    }
    case 17:
        styleButton(button, 16, icon);
        button->setArrows(arrowStyle(1), noArrow());
        button->setArrowColors(button->textColors());
        break;
    case 18: {
        const QColor text = textOn(colorSet(4).normal);
        const int width = metric(22);
        button->setBackgroundColors(colorSet(4));
        button->setBorderColors(colorSet(5));
        button->setBorderWidths(uniform(width));
        button->setRadius(corners(metric(23)));
        button->setTextColors(ColorSet(text));
        button->setPadding(margins(7));
        button->setArrows(arrowStyle(0), noArrow());
        button->setArrowColors(colorSet(6));
        button->setSecondaryTextColors(secondary(text));
        button->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        if (owner)
            owner->setMinimumHeight(metric(25));
        break;
    }
    case 19: {
        const QColor text = textOn(colorSet(1).normal);
        button->setBackgroundColors(colorSet(1));
        button->setBorderColors(ColorSet(Qt::transparent));
        button->setTextColors(ColorSet(text));
        button->setPadding(margins(7) + uniform(metric(22)));
        button->setArrows(arrowStyle(0), noArrow());
        button->setArrowColors(ColorSet(Qt::transparent));
        button->setSecondaryTextColors(secondary(text));
        button->setLayoutMode(1);
        button->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        if (push) {
            push->setCheckable(true);
            push->setExclusive(true);
            push->setClickableWhenChecked(true);
            push->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
        }
        break;
    }
    case 20:
    case 21:
        styleButton(button, 11, icon);
        break;
    case 22:
    case 23:
    case 24:
    case 25:
        button->setBackgroundColors(colorSet(kind == 25 ? 8 : 7));
        button->setTextColors(colorSet(9));
        button->setIconRecolored(true);
        if (owner)
            owner->setFixedSize(48, 32);
        break;
    case 26:
        styleButton(button, 12, icon);
        if (owner) {
            owner->setCursor(Qt::ArrowCursor);
            owner->setFixedWidth(metric(27));
        }
        break;
    case 28: {
        const QColor grey(0x656565);
        button->setBackgroundColors(ColorSet(grey, hover, pressed, none));
        button->setBorderColors(ColorSet(grey, Qt::transparent, Qt::transparent, none));
        button->setBorderWidths(uniform(1));
        button->setRadius(corners(6));
        button->setTextColors(ColorSet(textOn(grey)));
        button->setPadding(QMargins(8, 4, 8, 4));
        break;
    }
    default:
        break;
    }
}

void Cpalette::styleBox(CPanelDraw* box)
{
    if (!box)
        return;
    box->setBackgroundColors(colorSet(4));
    box->setBorderColors(colorSet(5));
    box->setBorderWidths(uniform(metric(22)));
    box->setRadius(corners(metric(23)));
    box->setPadding(margins(7));
    if (box->widget())
        setWidgetRoleColor(box->widget(), QPalette::Text, textColor());
    auto* widget = dynamic_cast<QWidget*>(box);
    if (widget && !qobject_cast<QAbstractScrollArea*>(widget))
        widget->setMinimumHeight(metric(25));
}

void Cpalette::styleLineEdit(CLinEdit* edit, int kind)
{
    if (!edit)
        return;
    styleBox(edit);
    edit->setTrailingSpacing(metric(24));
    switch (kind) {
    case 30: edit->addClearButton(false); break;
    case 31: edit->addClearButton(true); break;
    case 32: edit->setEchoMode(QLineEdit::Password); break;
    case 33: edit->setMaskWhenUnfocused(true); break;
    default: break;
    }
}

void Cpalette::styleTextEdit(CTextEdit* edit, int kind)
{
    if (!edit)
        return;
    styleBox(edit);
    if (kind == 35)
        edit->setFitToDocument(true);
}

void Cpalette::styleSpinBox(CSpinBoxDraw* spin, int kind)
{
    if (!spin)
        return;
    styleBox(spin);
    if (kind != 36)
        return;
    QMargins padding = spin->padding();
    padding.setRight(0);
    spin->setPadding(padding);
    spin->upArrow()->setArrows(arrowStyle(2), noArrow());
    spin->downArrow()->setArrows(arrowStyle(3), noArrow());
    spin->upArrow()->setArrowColors(colorSet(6));
    spin->downArrow()->setArrowColors(colorSet(6));
}

void Cpalette::styleSlider(CSlider* slider, int kind)
{
    if (!slider || kind != 37)
        return;
    slider->setGrooveMetrics(2, 0);
    slider->setGrooveColors(color(1), color(1));
    slider->setPressMode(0);
    CButton* handle = slider->handleButton();
    const QSize size(8, 24);
    handle->setBackgroundColors(
        ColorSet(color(0), hoverOverlayColor(QColor()), pressedOverlayColor(QColor()), QColor()));
    handle->setRadius(corners(qMin(size.width(), size.height()) / 2));
    if (slider->orientation() == Qt::Horizontal) {
        slider->setMinimumHeight(size.height());
        handle->setFixedSize(size);
    } else {
        slider->setMinimumWidth(size.width());
        handle->setFixedSize(size.transposed());
    }
}

void Cpalette::styleProgressBar(CProgressBar*, int) {}
void Cpalette::styleScrollArea(CScrollArea*, int) {}

void Cpalette::styleScrollBar(QScrollBar* bar, int kind)
{
    auto* animated = qobject_cast<CAnimationScrollBar*>(bar);
    if (!animated || kind != 40)
        return;
    if (isDark()) {
        const QColor white(255, 255, 255, 60);
        animated->setGrooveColor(QColor(255, 255, 255, 30));
        animated->setHandleColors(ColorSet(white, white, QColor(255, 255, 255, 30), QColor()));
        return;
    }
    animated->setGrooveColor(QColor(0, 0, 0, 24));
    animated->setHandleColors(ColorSet(QColor(0, 0, 0, 92), QColor(0, 0, 0, 24), QColor(0, 0, 0, 46), QColor()));
}

void Cpalette::styleMenu(QWidget* menu, int kind)
{
    if (menu)
        menu->setStyleSheet(menuStyleSheet(kind));
}

QString Cpalette::menuStyleSheet(int kind) const
{
    if (kind != 41)
        return QString();
    const QColor background = color(9);
    const QColor text = textOn(background);
    const QString separator = opaque(color(12)).name();
    return QStringLiteral(
               "QMenu {    border: 1px solid %1;    background-color: %2;    color: %3;    padding: 0px;}QMenu::item {    padding: 3px 35px 3px 20px;    background-color: transparent;}QMenu::item:disabled {    color: %4;}QMenu::item:selected {    background-color: %5;}QMenu::item:disabled:selected {    background-color: transparent;}QMenu::separator {    height: 1px;    margin-top: 2px;    margin-bottom: 2px;    background: %6;}")
        .arg(opaque(color(10)).name(), background.name(), opaque(text).name(), separator,
             opaque(colorSet(0).checkedNormal).name(), separator);
}

void Cpalette::styleShadowLine(CChadowLine* line, int kind)
{
    if (!line || kind != 42)
        return;
    line->setShadowSize(metric(1));
    line->setColor(color(4));
}
void Cpalette::styleAnimationIcon(CIcon* icon)
{
    if (!icon)
        return;
    const QColor b24(0, 0, 0, 24);
    const QColor b46(0, 0, 0, 46);
    const QColor c0 = color(0);
    const QColor white(Qt::white);
    const QColor clear(Qt::transparent);
    const QString path = icon->path();
    auto* check = dynamic_cast<CAnimationIcon::CheckBoxIcon*>(icon);
    if (check && path == QLatin1String("CheckBoxIcon1")) {
        const ColorSet frame = colorSet(5);
        check->setSize(QSize(18, 18));
        check->setBorderWidth(1);
        check->setCornerRadius(2);
        check->setMarkWidth(1.4);
        QPainterPath mark(QPointF(4.5, 10.0));
        mark.lineTo(7.5, 13.0);
        mark.lineTo(14.0, 6.0);
        check->setMarkPath(mark);
        check->setBackgroundColors(ColorSet(white, b24, b46, b24, c0, b24, b46, b24));
        check->setBorderColors(ColorSet(frame.normal, frame.hovered, frame.checkedPressed, b46, c0, b24, b46, b46));
        check->setMarkColors(ColorSet(clear, clear, clear, clear, white, clear, clear, b46));
        return;
    }
    auto* radio = dynamic_cast<CAnimationIcon::RadioIcon*>(icon);
    if (radio && path == QLatin1String("RadioIcon1")) {
        const QColor e = colorSet(5).normal;
        radio->setSize(QSize(18, 18));
        radio->setDotInset(5);
        radio->setBorderWidth(1);
        radio->setBackgroundColors(ColorSet(clear, b24, b46, c0, clear, clear));
        radio->setBorderColors(ColorSet(e, b24, b46, e, b24, b46));
        radio->setDotColors(ColorSet(clear, clear, clear, white, clear, clear));
        return;
    }
    auto* toggle = dynamic_cast<CAnimationIcon::ToggleIcon*>(icon);
    if (toggle && path == QLatin1String("ToggleIcon1")) {
        const QColor track = color(21);
        const QColor faded = colorWithAlpha(track, 0.6);
        const QColor hover = hoverOverlayColor(QColor());
        const QColor pressed = pressedOverlayColor(QColor());
        toggle->setTrackColors(ColorSet(track, hover, pressed, faded, c0, hover, pressed, faded));
        toggle->setKnobColors(ColorSet(Qt::white));
        toggle->setKnobInset(3);
        toggle->setSize(QSize(28, 18));
    }
}

QColor Cpalette::textColor() const
{
    return isDark() ? color(17) : color(16);
}

QColor Cpalette::secondaryTextColor() const
{
    return colorWithAlpha(textColor(), opacity(1));
}

QColor Cpalette::hoverOverlayColor(const QColor& base) const
{
    return isDarkBase(base) ? QColor(255, 255, 255, 30) : QColor(0, 0, 0, 24);
}

QColor Cpalette::pressedOverlayColor(const QColor& base) const
{
    return isDarkBase(base) ? QColor(255, 255, 255, 60) : QColor(0, 0, 0, 46);
}

QColor Cpalette::textOn(const QColor& background) const
{
    return isDarkBase(background) ? color(17) : color(16);
}

bool Cpalette::isDarkBase(const QColor& base) const
{
    if (base.isValid() && base.alpha() > 0)
        return isDarkColor(base);
    return isDark();
}

QColor Cpalette::opaque(const QColor& color) const
{
    return color.alpha() == 255 ? color : mixColors(this->color(9), color);
}

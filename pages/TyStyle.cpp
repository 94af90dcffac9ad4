#include "pages/TyStyle.h"

#include "uilib/controls/CButton.h"
#include "uilib/controls/CSlider.h"
#include "uilib/style/CAnimationIcon.h"
#include "uilib/style/CButtonDraw.h"

TyStyle::TyStyle(QObject* parent)
    : Style(parent)
{
}

QString TyStyle::name() const
{
    return QStringLiteral("TyStyle");
}

QString TyStyle::baseName() const
{
    return QString();
}

QString TyStyle::description() const
{
    return QString();
}

bool TyStyle::isDark() const
{
    return true;
}

int TyStyle::metric(int id) const
{
    switch (id) {
    case 19:
    case 23:
    case 1000: return 8;
    case 1001: return 2;
    case 1002: return 63;
    default: return Style::metric(id);
    }
}

QColor TyStyle::color(int role) const
{
    switch (role) {
    case 0: return QColor(0x009FAD);
    case 1: return QColor(0x3C3D3F);
    case 2: return QColor(0x1C1D1E);
    case 18: return QColor(0x2DCFDE);
    case 1000: return QColor(0x007C87);
    case 1001: return QColor(0x005961);
    case 1017:
    case 1018: return QColor(0x2C2D2E);
    case 1019: return secondaryTextColor();
    default: return Style::color(role);
    }
}

void TyStyle::styleButton(CButtonDraw* button, int kind, const QString& icon)
{
    Style::styleButton(button, kind, icon);
    if (button && kind >= 1008 && kind <= 1039)
        refineButton(button, kind);
}

void TyStyle::refineButton(CButtonDraw* button, int kind)
{
    QWidget* owner = button->widget();
    switch (kind) {
    case 1008:
    case 1012:
        if (owner)
            owner->setFixedHeight(36);
        button->setMargins(QMargins(0, 4, 0, 4));
        button->setRadius(corners(metric(19)));
        if (kind == 1012)
            refineButton(button, 1011);
        break;
    case 1011:
        button->setTextColors(ColorSet(textColor()));
        button->setBackgroundColors(colorSet(1003));
        button->setBorderColors(colorSet(1004));
        button->setBorderWidths(uniform(metric(1001)));
        break;
    case 1013:
    case 1014:
    case 1015:
        button->setBackgroundColors(colorSet(1000));
        break;
    case 1021:
        button->setIconColors(shaded(color(18), 120, 120));
        break;
    case 1023:
    case 1024:
        button->setIconColors(ColorSet(color(17)));
        break;
    case 1025:
    case 1026: {
        const ColorSet text = shaded(color(18), 120, 120);
        button->setRadius(corners(metric(19)));
        button->setTextColors(text);
        button->setIconColors(text);
        if (kind == 1025)
            button->setBackgroundColors(ColorSet(Qt::transparent, color(1003), color(1004), QColor()));
        break;
    }
    case 1027:
        button->setRadius(corners(metric(19)));
        break;
    case 1031:
        if (owner)
            button->setRadius(corners(owner->width() / 2));
        break;
    case 1039:
        // A fixed height of QWIDGETSIZE_MAX would make the button endless: its height is freed instead.
        if (owner) {
            owner->setMinimumHeight(0);
            owner->setMaximumHeight(QWIDGETSIZE_MAX);
        }
        button->setIconPosition(1);
        break;
    default:
        break;
    }
}

void TyStyle::styleSlider(CSlider* slider, int kind)
{
    Style::styleSlider(slider, kind);
    if (!slider)
        return;
    // The base track colour is the popups' own here: a lighter grey keeps the track in sight.
    if (kind == 37)
        slider->setGrooveColors(color(1011), color(1011));
    if (kind != 1075)
        return;
    const QColor b24(0, 0, 0, 24);
    slider->handleButton()->setBackgroundColors(ColorSet(color(1018), b24, QColor(0, 0, 0, 46), b24));
}

void TyStyle::styleAnimationIcon(CIcon* icon)
{
    Style::styleAnimationIcon(icon);
    if (!icon)
        return;
    if (auto* radio = dynamic_cast<CAnimationIcon::RadioIcon*>(icon); radio && icon->path() == QLatin1String("RadioIcon1")) {
        const QColor clear(Qt::transparent);
        const QColor hover = hoverOverlayColor(QColor());
        const QColor pressed = pressedOverlayColor(QColor());
        const QColor accent = color(0);
        radio->setSize(QSize(20, 20));
        radio->setBackgroundColors(ColorSet(clear, hover, pressed, QColor(), accent, clear, clear, QColor()));
        radio->setBorderColors(ColorSet(color(1011), hover, pressed, QColor(), accent, accent, accent, QColor()));
        return;
    }
    auto* toggle = dynamic_cast<CAnimationIcon::ToggleIcon*>(icon);
    if (toggle && icon->path() == QLatin1String("ToggleIcon1"))
        toggle->setSize(QSize(40, 24));
}

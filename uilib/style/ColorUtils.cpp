#include "uilib/style/ColorUtils.h"

#include "uilib/style/CAnimationWidget.h"
#include "uilib/style/ColorSet.h"

#include <QAbstractSpinBox>
#include <QWidget>
#include <QtMath>

namespace {

bool isZero(double p)
{
    return qAbs(p) <= 1e-12;
}

void updateAutoFill(QWidget* widget, QPalette::ColorRole role)
{
    if (role == QPalette::Window || role == QPalette::Base)
        widget->setAutoFillBackground(true);
}

} // namespace

QColor mixColors(const QColor& base, const QColor& over)
{
    if (over.alpha() < 1)
        return base;
    if (over.alpha() == 255)
        return over;
    const double overAlpha = over.alphaF();
    const double baseAlpha = base.alphaF();
    const double alpha = 1.0 - (1.0 - baseAlpha) * (1.0 - overAlpha);
    if (qAbs(alpha) <= 1e-5)
        return QColor(Qt::transparent);
    const double overWeight = overAlpha / alpha;
    const double baseWeight = (1.0 - overAlpha) * baseAlpha / alpha;
    return QColor::fromRgbF(overWeight * over.redF() + baseWeight * base.redF(),
                            overWeight * over.greenF() + baseWeight * base.greenF(),
                            overWeight * over.blueF() + baseWeight * base.blueF(), alpha);
}

bool isDarkColor(const QColor& color)
{
    if (!color.isValid() || color == QColor(Qt::transparent))
        return false;
    const int grey = 11 * color.red() + 16 * color.green() + 5 * color.blue();
    return (grey & ~31) < 4096;
}

int lerpInt(int from, int to, double p)
{
    if (isZero(p))
        return from;
    if (qFuzzyCompare(p, 1.0))
        return to;
    return from + qRound((to - from) * p);
}

QColor blendColors(const QColor& from, const QColor& to, double p, int mode)
{
    if (from == to)
        return from;
    p = qBound(0.0, p, 1.0);
    if (isZero(p))
        return from;
    if (qFuzzyCompare(p, 1.0))
        return to;
    if (mode == 0) {
        return QColor::fromRgb(lerpInt(from.red(), to.red(), p), lerpInt(from.green(), to.green(), p),
                               lerpInt(from.blue(), to.blue(), p), lerpInt(from.alpha(), to.alpha(), p));
    }
    if (mode != 1)
        return to;
    if (from.alpha() == 0) {
        if (to.alpha() == 0)
            return to;
        QColor result = to;
        result.setAlpha(lerpInt(from.alpha(), to.alpha(), p));
        return result;
    }
    if (to.alpha() == 0) {
        QColor result = from;
        result.setAlpha(lerpInt(from.alpha(), to.alpha(), p));
        return result;
    }
    const auto channel = [p](double a, double b) { return qSqrt(b * b * p + a * a * (1.0 - p)); };
    return QColor::fromRgbF(channel(from.redF(), to.redF()), channel(from.greenF(), to.greenF()),
                            channel(from.blueF(), to.blueF()), from.alphaF() * (1.0 - p) + to.alphaF() * p);
}

QColor colorWithAlpha(const QColor& color, double alphaF)
{
    QColor result = color;
    result.setAlphaF(alphaF);
    return result;
}

QColor animatedStateColor(const ColorSet& set, const CAnimationWidget& state)
{
    const double checked = state.checkedProgress();
    const double hovered = state.hoveredProgress();
    const double pressed = state.pressedProgress();
    QColor color = blendColors(set.normal, set.checkedNormal, checked, 1);
    if (!isZero(hovered) || !isZero(pressed)) {
        const QColor hover = isZero(hovered) ? QColor(Qt::transparent)
                                             : blendColors(set.hovered, set.checkedHovered, checked, 1);
        const QColor press = isZero(pressed) ? QColor(Qt::transparent)
                                             : blendColors(set.pressed, set.checkedPressed, checked, 1);
        const QColor overlay = blendColors(hover, press, pressed, 1);
        color = blendColors(color, mixColors(color, overlay), hovered, 1);
    }
    const double disabled = state.disabledProgress();
    if (isZero(disabled))
        return color;
    const QColor disabledColor = state.isChecked() ? set.checkedDisabled : set.disabled;
    if (disabledColor.isValid() && disabledColor.alpha() > 0)
        return blendColors(color, disabledColor, disabled, 1);
    // A transparent entry makes the colour vanish; an invalid one fades it.
    const double fade = disabledColor.isValid() ? 0.0 : state.opacity();
    color.setAlphaF(color.alphaF() * fade);
    return color;
}

void setWidgetBackgroundBrush(QWidget* widget, const QBrush& brush)
{
    if (!widget)
        return;
    const QPalette::ColorRole role = widget->backgroundRole();
    QPalette palette = widget->palette();
    if (palette.brush(role) == brush)
        return;
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Disabled, QPalette::Inactive})
        palette.setBrush(group, role, brush);
    widget->setPalette(palette);
    updateAutoFill(widget, role);
}

void setWidgetRoleColor(QWidget* widget, QPalette::ColorRole role, const QColor& color)
{
    if (!widget)
        return;
    QPalette palette = widget->palette();
    if (palette.color(role) == color)
        return;
    palette.setColor(QPalette::Active, role, color);
    palette.setColor(QPalette::Inactive, role, color);
    palette.setColor(QPalette::Disabled, role, colorWithAlpha(color, 0.6));
    widget->setPalette(palette);
    updateAutoFill(widget, role);
}

void setWidgetBackgroundColor(QWidget* widget, const QColor& color)
{
    if (!widget)
        return;
    setWidgetRoleColor(widget, widget->backgroundRole(), color);
}

void setWidgetTextColor(QWidget* widget, const QColor& color)
{
    if (!widget)
        return;
    const bool spinBox = qobject_cast<QAbstractSpinBox*>(widget) != nullptr;
    setWidgetRoleColor(widget, spinBox ? QPalette::Text : widget->foregroundRole(), color);
}

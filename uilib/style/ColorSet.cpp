#include "uilib/style/ColorSet.h"

ColorSet::ColorSet(const QColor& normal, const QColor& hovered, const QColor& pressed, const QColor& disabled,
                   const QColor& checkedNormal, const QColor& checkedHovered, const QColor& checkedPressed,
                   const QColor& checkedDisabled)
    : normal(normal), hovered(hovered), pressed(pressed), disabled(disabled), checkedNormal(checkedNormal),
      checkedHovered(checkedHovered), checkedPressed(checkedPressed), checkedDisabled(checkedDisabled)
{
}

ColorSet::ColorSet(const QColor& normal, const QColor& hovered, const QColor& pressed,
                   const QColor& checkedNormal, const QColor& checkedHovered, const QColor& checkedPressed)
    : ColorSet(normal, hovered, pressed, QColor(), checkedNormal, checkedHovered, checkedPressed, QColor())
{
}

ColorSet::ColorSet(const QColor& normal, const QColor& hovered, const QColor& pressed, const QColor& disabled)
    : ColorSet(normal, hovered, pressed, disabled, normal, hovered, pressed, disabled)
{
}

ColorSet::ColorSet(const QColor& normal)
    : ColorSet(normal, Qt::transparent, Qt::transparent, QColor())
{
}

ColorSet::ColorSet(Qt::GlobalColor normal)
    : ColorSet(QColor(normal))
{
}

bool ColorSet::operator==(const ColorSet& other) const
{
    return normal == other.normal && hovered == other.hovered && pressed == other.pressed
        && disabled == other.disabled && checkedNormal == other.checkedNormal
        && checkedHovered == other.checkedHovered && checkedPressed == other.checkedPressed
        && checkedDisabled == other.checkedDisabled;
}

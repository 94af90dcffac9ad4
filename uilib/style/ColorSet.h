#pragma once

#include <QColor>

// Colours of a widget by state: the unchecked look, then the checked look.
struct ColorSet
{
    ColorSet() = default;
    ColorSet(const QColor& normal, const QColor& hovered, const QColor& pressed, const QColor& disabled,
             const QColor& checkedNormal, const QColor& checkedHovered, const QColor& checkedPressed,
             const QColor& checkedDisabled);
    // Both disabled entries stay invalid.
    ColorSet(const QColor& normal, const QColor& hovered, const QColor& pressed,
             const QColor& checkedNormal, const QColor& checkedHovered, const QColor& checkedPressed);
    // The same four colours for the checked look.
    ColorSet(const QColor& normal, const QColor& hovered, const QColor& pressed, const QColor& disabled);
    // Hovered and pressed transparent, disabled invalid, for both looks.
    ColorSet(const QColor& normal);
    ColorSet(Qt::GlobalColor normal);

    bool operator==(const ColorSet& other) const;
    bool operator!=(const ColorSet& other) const { return !(*this == other); }

    QColor normal;
    QColor hovered;
    QColor pressed;
    QColor disabled;
    QColor checkedNormal;
    QColor checkedHovered;
    QColor checkedPressed;
    QColor checkedDisabled;
};

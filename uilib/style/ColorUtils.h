#pragma once

#include <QBrush>
#include <QColor>
#include <QPalette>

class CAnimationWidget;
struct ColorSet;
class QWidget;

// `over` composited on `base`.
QColor mixColors(const QColor& base, const QColor& over);
// A grey value below 128; never for an invalid or fully transparent colour.
bool isDarkColor(const QColor& color);
int lerpInt(int from, int to, double p);
// Mode 0 blends the 8-bit channels linearly, mode 1 perceptually; any other mode gives `to`.
QColor blendColors(const QColor& from, const QColor& to, double p, int mode);
QColor colorWithAlpha(const QColor& color, double alphaF);
// The set's colour for the state's checked, hovered, pressed and disabled progress.
QColor animatedStateColor(const ColorSet& set, const CAnimationWidget& state);

void setWidgetBackgroundBrush(QWidget* widget, const QBrush& brush);
void setWidgetRoleColor(QWidget* widget, QPalette::ColorRole role, const QColor& color);
void setWidgetBackgroundColor(QWidget* widget, const QColor& color);
void setWidgetTextColor(QWidget* widget, const QColor& color);

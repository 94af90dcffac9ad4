#pragma once

#include <QBrush>
#include <QColor>
#include <QPalette>

class QWidget;

// `over` composited on `base`.
QColor mixColors(const QColor& base, const QColor& over);
// A grey value below 128; never for an invalid or fully transparent colour.
bool isDarkColor(const QColor& color);
int lerpInt(int from, int to, double p);
// Mode 0 blends the 8-bit channels linearly, mode 1 perceptually; any other mode gives `to`.
QColor blendColors(const QColor& from, const QColor& to, double p, int mode);
QColor colorWithAlpha(const QColor& color, double alphaF);

void setWidgetBackgroundBrush(QWidget* widget, const QBrush& brush);
void setWidgetRoleColor(QWidget* widget, QPalette::ColorRole role, const QColor& color);
void setWidgetBackgroundColor(QWidget* widget, const QColor& color);
void setWidgetTextColor(QWidget* widget, const QColor& color);

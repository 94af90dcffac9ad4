#pragma once

#include <QFont>
#include <QRect>
#include <QRectF>
#include <QString>

class CButtonDraw;
class QWidget;

QFont makeFont(int pixelSize, int weight, const QString& family);
// Changes on the widget's font only what differs; sets it only when something changed.
void applyFontToWidget(QWidget* widget, int pixelSize, int weight, const QString& family);
// Gives the button drawing that font as its text font; nothing for null.
void setButtonFont(CButtonDraw* button, int pixelSize, int weight, const QString& family);

// A rectangle of `size` placed in `area` by the alignment; the area itself when the sizes match.
QRect alignRectInArea(const QSize& size, Qt::Alignment alignment, const QRect& area, bool clip);
QRectF alignRectInArea(const QSizeF& size, Qt::Alignment alignment, const QRectF& area, bool clip);

#pragma once

#include <QSize>
#include <QString>

class CButtonDraw;
class QWidget;

// First settings of a widget whose content a CButtonDraw part paints: the icon by name, the
// text colours before styling, the icon spacing, no minimum size and a fixed size policy.
void setUpButtonContent(CButtonDraw& draw, QWidget* widget, const QString& iconName);
// The path of the part's icon, or empty without one.
QString buttonIconPath(const CButtonDraw& draw);

// Size hints computed once from the drawing part, until its geometry changes.
struct SizeHintCache
{
    QSize hint{-1, -1};
    QSize minimum{-1, -1};
    void reset() { hint = minimum = QSize(-1, -1); }
};

#pragma once

#include <QMargins>
#include <QSize>

// An arrow: its size, the margins around it, its direction (Qt::ArrowType 1 to 4 draw)
// and its line width (0 fills the triangle).
struct ArrowSpec
{
    QSize size;
    QMargins margins;
    Qt::ArrowType direction = Qt::DownArrow;
    double width = 0.0;
};

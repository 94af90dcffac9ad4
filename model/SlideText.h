#pragma once

#include "model/transition/TransitionType.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QJsonObject>
#include <QRect>
#include <QString>

namespace TextInfo {

// Cell of the 3x3 caption grid, in row order.
enum Pos : int {
    TopLeft = 0,
    TopCenter = 1,
    TopRight = 2,
    MiddleLeft = 3,
    Center = 4,
    MiddleRight = 5,
    BottomLeft = 6,
    BottomCenter = 7,
    BottomRight = 8
};

// Relative caption size step, 0 is normal.
enum FontSize : int { Smallest = -2, Smaller = -1, Normal = 0, Larger = 1, Largest = 2 };

} // namespace TextInfo

// Caption of a slide; a plain value, copied whole.
struct SlideText
{
    QString text;
    QString font = QStringLiteral("Segoe UI");
    QColor text_color = Qt::black;
    QColor bg_color; // invalid: no box behind the text
    TextInfo::Pos position = TextInfo::Center;
    int transition = TransitionCrossfade; // caption animation, 0 none
    bool changed = false;
    TextInfo::FontSize font_size = TextInfo::Normal;

    // Where the caption stands in a frame and with which font.
    struct Layout
    {
        QFont font;
        int flags = 0;
        int margin = 0;
        QRect textArea;
        QRect rect; // the measured text grown by the margin
        bool shrunk = false;
    };

    // Reads a caption object; absent keys take their reading defaults, not the
    // member defaults above.
    static SlideText fromJson(const QJsonObject& object);
    QJsonObject toJson() const;

    // The caption drawn for a frame of that size: the picture of its rectangle
    // and the rectangle itself.
    void render(const QImage& frame, QImage& caption, QRect& rect) const;
    QRect textRect(int width, int height, bool* shrunk = nullptr) const;

    // Picks the font size for a width x height frame and measures the text.
    Layout layout(int width, int height) const;
};

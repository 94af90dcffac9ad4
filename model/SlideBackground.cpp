#include "model/SlideBackground.h"

#include <QLinearGradient>
#include <QPainter>

#include <iterator>

namespace {

struct Background
{
    const char* color;
    const char* textColor;
    const char* secondColor; // gradients only
};

constexpr Background kBackgrounds[] = {
    {"#ffffff", "#000000", nullptr}, {"#b97a56", "#ffe7d9", nullptr},
    {"#ffaec8", "#ad4b6a", nullptr}, {"#8e51c1", "#dcebff", nullptr},
    {"#3f48cc", "#dcebff", nullptr}, {"#00a8f3", "#bdfffd", nullptr},
    {"#88001b", "#ffd0d2", nullptr}, {"#8cfffb", "#5370a7", nullptr},
    {"#0ed145", "#c5ffb1", nullptr}, {"#c4ff0e", "#437414", nullptr},
    {"#fff200", "#d1a12f", nullptr}, {"#fdeca6", "#844843", nullptr},
    {"#ffca18", "#af4a05", nullptr}, {"#ff7f27", "#fff1ea", nullptr},
    {"#ec1c24", "#ffaeb1", nullptr}, {"#000000", "#ffaeb1", nullptr},
    {"#585858", "#a7a7a7", nullptr}, {"#c3c3c3", "#000000", nullptr},
    {"#000000", "#ffffff", "#ffffff"}, {"#ec1c3c", "#feefea", "#ffae18"},
    {"#ffd300", "#41819d", "#8cffed"}, {"#0ed12e", "#ffffff", "#00c4f3"},
    {"#00c4f3", "#ffffff", "#8151c1"}, {"#8151c1", "#ffffff", "#ec1c3c"},
    {"#c3c3c3", "#000000", "#ffffff"}, {"#ec1c3c", "#fef1f3", "#ffffff"},
    {"#ffae18", "#000000", "#ffffff"}, {"#0ed12e", "#ffffff", "#ffffff"},
    {"#3f58cc", "#ffffff", "#ffffff"}, {"#8151c1", "#ffffff", "#ffffff"},
};

constexpr Background kOutside = {"#ffffff", "#000000", nullptr};

const Background& background(int index)
{
    if (index < 0 || index >= int(std::size(kBackgrounds)))
        return kOutside;
    return kBackgrounds[index];
}

} // namespace

QString backgroundColorName(int index)
{
    return QLatin1String(background(index).color);
}

QString backgroundTextColorName(int index)
{
    return QLatin1String(background(index).textColor);
}

QImage backgroundImage(int index, const QSize& size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return image;
    const Background& entry = background(index);
    if (!entry.secondColor) {
        image.fill(QColor(QLatin1String(entry.color)));
        return image;
    }
    // From the bottom-left corner to the top-right one.
    QLinearGradient gradient(0, size.height() - 1, size.width() - 1, 0);
    gradient.setColorAt(0, QColor(QLatin1String(entry.color)));
    gradient.setColorAt(1, QColor(QLatin1String(entry.secondColor)));
    QPainter painter(&image);
    painter.setPen(Qt::NoPen);
    painter.setBrush(gradient);
    painter.drawRect(image.rect());
    return image;
}

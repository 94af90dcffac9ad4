#include "model/SlideText.h"

#include <QJsonValue>
#include <QPainter>
#include <QVarLengthArray>

#include <algorithm>
#include <array>

namespace {

constexpr std::array<int, 9> kAlignment = {
    Qt::AlignLeft | Qt::AlignTop,     Qt::AlignHCenter | Qt::AlignTop,     Qt::AlignRight | Qt::AlignTop,
    Qt::AlignLeft | Qt::AlignVCenter, Qt::AlignCenter,                     Qt::AlignRight | Qt::AlignVCenter,
    Qt::AlignLeft | Qt::AlignBottom,  Qt::AlignHCenter | Qt::AlignBottom,  Qt::AlignRight | Qt::AlignBottom,
};

constexpr std::array<int, 8> kCenterColumnSizes = {48, 40, 32, 24, 18, 12, 8, 4};
constexpr std::array<int, 7> kSideColumnSizes = {32, 26, 21, 16, 12, 8, 4};

bool validPosition(int position)
{
    return position >= 0 && position < int(kAlignment.size());
}

bool centerColumn(int position)
{
    return position == TextInfo::TopCenter || position == TextInfo::Center
        || position == TextInfo::BottomCenter;
}

using Sizes = QVarLengthArray<int, 8>;

// Pixel sizes to try, largest first, after the size step dropped the largest ones.
Sizes candidateSizes(int position, int step, double scale)
{
    Sizes sizes;
    const auto add = [&](const auto& table) {
        for (int size : table)
            sizes.append(std::max(1, int(size * scale)));
    };
    if (centerColumn(position))
        add(kCenterColumnSizes);
    else
        add(kSideColumnSizes);
    const qint64 removals = std::clamp<qint64>(2 - qint64(step), 0, sizes.size() - 1);
    sizes.remove(0, int(removals));
    return sizes;
}

void preparePainter(QPainter& painter, const QColor& color)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setPen(color);
    painter.setBrush(color);
}

QColor colorFrom(const QJsonValue& value)
{
    QColor color;
    color.setNamedColor(value.toString());
    return color;
}

} // namespace

SlideText SlideText::fromJson(const QJsonObject& object)
{
    SlideText caption;
    caption.text = object.value(QLatin1String("text")).toString();
    caption.font = object.value(QLatin1String("font")).toString();
    caption.text_color = colorFrom(object.value(QLatin1String("text_color")));
    caption.bg_color = colorFrom(object.value(QLatin1String("bg_color")));
    const int position = object.value(QLatin1String("position")).toInt();
    caption.position = TextInfo::Pos(validPosition(position) ? position : TextInfo::Center);
    caption.transition = object.value(QLatin1String("transition")).toInt();
    caption.changed = object.value(QLatin1String("changed")).toBool();
    caption.font_size = TextInfo::FontSize(object.value(QLatin1String("font_size")).toInt());
    return caption;
}

QJsonObject SlideText::toJson() const
{
    QJsonObject object;
    object.insert(QLatin1String("text"), text);
    object.insert(QLatin1String("font"), font);
    object.insert(QLatin1String("text_color"), text_color.name());
    if (bg_color.isValid())
        object.insert(QLatin1String("bg_color"), bg_color.name(QColor::HexArgb));
    object.insert(QLatin1String("position"), int(position));
    object.insert(QLatin1String("transition"), transition);
    object.insert(QLatin1String("changed"), changed);
    object.insert(QLatin1String("font_size"), int(font_size));
    return object;
}

SlideText::Layout SlideText::layout(int width, int height) const
{
    // Pixel-sized fonts measure alike on any image, so a small scratch one serves.
    QImage scratch(1, 1, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&scratch);
    preparePainter(painter, text_color);

    const double scale = width / 512.0;
    Layout result;
    result.margin = int(scale * 30);
    const int m = result.margin;
    result.textArea = QRect(2 * m, 2 * m, width - 4 * m, height - 4 * m);
    result.flags = kAlignment[validPosition(position) ? position : 0];
    result.font = QFont(font);
    result.font.setItalic(false);

    // The smallest size is tried only when it is the only one left.
    const Sizes sizes = candidateSizes(position, font_size, scale);
    const int last = std::max(0, sizes.size() - 2);
    QRect bounds;
    for (int i = 0;; ++i) {
        result.font.setPixelSize(sizes[i]);
        painter.setFont(result.font);
        bounds = painter.boundingRect(result.textArea, result.flags, text);
        if (bounds.width() <= result.textArea.width() && bounds.height() <= result.textArea.height())
            break;
        result.shrunk = true;
        if (i == last)
            break;
    }
    result.rect = bounds.adjusted(-m, -m, m, m);
    return result;
}

QRect SlideText::textRect(int width, int height, bool* shrunk) const
{
    const Layout result = layout(width, height);
    if (shrunk)
        *shrunk = result.shrunk;
    return result.rect;
}

void SlideText::render(const QImage& frame, QImage& caption, QRect& rect) const
{
    if (frame.isNull()) {
        caption = QImage();
        rect = QRect();
        return;
    }
    const Layout result = layout(frame.width(), frame.height());
    rect = result.rect;
    // Only the caption rectangle of the frame-sized canvas is kept, so only it is made.
    if (transition == TransitionFlipOver) {
        caption = frame.copy(rect);
    } else {
        caption = QImage(rect.size(), frame.format());
        caption.fill(Qt::transparent);
    }
    if (caption.isNull())
        return;
    QPainter painter(&caption);
    preparePainter(painter, text_color);
    painter.translate(-rect.topLeft());
    painter.setClipRect(frame.rect());
    painter.setFont(result.font);
    if (bg_color.isValid())
        painter.fillRect(rect, bg_color);
    painter.drawText(result.textArea, result.flags, text);
}

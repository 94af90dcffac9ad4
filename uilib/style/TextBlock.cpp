#include "uilib/style/TextBlock.h"

#include "uilib/style/DrawPrimitives.h"
#include "uilib/style/LibUtils.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QTextLayout>

#include <cmath>

namespace {

constexpr int MaxWidth = 0xFFFFFF;

int resolveSpacing(const QFont& font, int lineSpacing)
{
    return lineSpacing > 0 ? lineSpacing : QFontMetrics(font).lineSpacing();
}

QStringList paragraphs(const QString& text)
{
    return text.split(QLatin1Char('\n'));
}

} // namespace

QSize textBlockSize(const QString& text, const QFont& font, QTextOption::WrapMode wrapMode,
                    const QSize& available, int lineSpacing, int maxLines)
{
    const int spacing = resolveSpacing(font, lineSpacing);
    const QFontMetrics metrics(font);
    // Without a width each line is as wide as the rest of its paragraph: nothing wraps.
    const bool wraps = available.width() >= 1;
    QTextOption option;
    option.setWrapMode(wraps ? wrapMode : QTextOption::NoWrap);
    int lines = 0;
    double height = 0;
    double widest = 0;
    bool full = false;
    for (const QString& paragraph : paragraphs(text)) {
        QTextLayout layout(paragraph, font);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            if (wraps)
                line.setLineWidth(available.width());
            else
                line.setLineWidth(metrics.horizontalAdvance(paragraph.mid(line.textStart())));
            const bool withinCount = maxLines <= 0 || lines + 1 <= maxLines;
            if (!withinCount || available.height() < 1 || available.height() < height + spacing) {
                full = true;
                break;
            }
            ++lines;
            height += spacing;
            widest = std::max(widest, line.naturalTextWidth());
        }
        layout.endLayout();
        if (full)
            break;
    }
    const double width = wraps ? std::min(available.width(), MaxWidth) : widest;
    return QSize(int(std::round(width)), int(std::round(height)));
}

void drawTextBlock(QPainter* painter, const QString& text, const QRectF& rect, Qt::Alignment alignment,
                   QTextOption::WrapMode wrapMode, Qt::TextElideMode elideMode, int lineSpacing, int maxLines,
                   bool* elided)
{
    const QFont font = painter->font();
    const QSize size = textBlockSize(text, font, wrapMode, rect.size().toSize(), lineSpacing, maxLines);
    const QRectF block = alignRectInArea(QSizeF(size), alignment, rect, true);
    const int spacing = resolveSpacing(font, lineSpacing);
    const QFontMetricsF metrics(font);
    const double ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    const auto snap = [ratio](const QPointF& p) {
        if (isWholeRatio(ratio))
            return p;
        return QPointF(std::round(p.x() * ratio) / ratio, std::round(p.y() * ratio) / ratio);
    };

    QTextOption option(Qt::Alignment(int(alignment) & 0x1f));
    option.setWrapMode(wrapMode);
    double y = block.top();
    const double x = block.left();
    int count = 0;
    for (const QString& paragraph : paragraphs(text)) {
        QTextLayout layout(paragraph, font);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(block.width());
            line.setPosition(QPointF(0, 0));
            ++count;
            const bool last = (maxLines > 0 && count >= maxLines) || y + 2 * spacing > block.bottom() + 1e-9;
            const QString rest = paragraph.mid(line.textStart());
            if (!last || elideMode == Qt::ElideNone || metrics.horizontalAdvance(rest) <= block.width()) {
                line.draw(painter, snap(QPointF(x, y)));
            } else {
                const QString shown = metrics.elidedText(rest, elideMode, std::round(block.width()));
                const double shownWidth = metrics.horizontalAdvance(shown);
                double left = block.left();
                if (alignment & Qt::AlignRight)
                    left = block.right() - shownWidth;
                else if (alignment & Qt::AlignHCenter)
                    left = block.left() + (block.width() - shownWidth) / 2;
                painter->drawText(snap(QPointF(left, y + metrics.ascent())), shown);
                if (elided)
                    *elided = true;
            }
            if (last) {
                layout.endLayout();
                return;
            }
            y += spacing;
        }
        layout.endLayout();
    }
}

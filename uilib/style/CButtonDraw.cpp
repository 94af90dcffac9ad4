#include "uilib/style/CButtonDraw.h"

#include "uilib/style/CAnimationWidget.h"
#include "uilib/style/CIcon.h"
#include "uilib/style/CIconRepo.h"
#include "uilib/style/CPainterScope.h"
#include "uilib/style/ColorUtils.h"
#include "uilib/style/DrawPrimitives.h"
#include "uilib/style/LibUtils.h"
#include "uilib/style/TextBlock.h"

#include <QFontMetrics>
#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace {

constexpr int MaxTextHeight = 16777215;

QSize grown(const ArrowSpec& arrow)
{
    const QMargins& m = arrow.margins;
    return arrow.size + QSize(m.left() + m.right(), m.top() + m.bottom());
}

bool sameArrow(const ArrowSpec& a, const ArrowSpec& b)
{
    return a.size == b.size && a.margins == b.margins && a.direction == b.direction;
}

Qt::Alignment iconAlignment(int position)
{
    switch (position) {
    case 1: return Qt::AlignHCenter | Qt::AlignTop;
    case 2: return Qt::AlignLeft | Qt::AlignVCenter;
    case 4: return Qt::AlignRight | Qt::AlignVCenter;
    case 8: return Qt::AlignHCenter | Qt::AlignBottom;
    default: return Qt::AlignCenter;
    }
}

bool isBeside(int position)
{
    return position == 2 || position == 4;
}

// The texts as one block: side by side in layout mode 1, else one above the other with the
// gap given.
QSize textBlock(const QSize& text, const QSize& secondary, int layoutMode, int hSpacing, int stackGap)
{
    const bool first = !text.isEmpty();
    const bool second = !secondary.isEmpty();
    const QSize a = first ? text : QSize(0, 0);
    const QSize b = second ? secondary : QSize(0, 0);
    const bool both = first && second;
    if (layoutMode == 1)
        return QSize(a.width() + b.width() + (both ? hSpacing : 0), std::max(a.height(), b.height()));
    return QSize(std::max(a.width(), b.width()), a.height() + b.height() + (both ? stackGap : 0));
}

CButtonDraw::TextMetrics measureText(const QString& text, const QFontMetrics& metrics)
{
    if (text.isEmpty())
        return {};
    return {metrics.size(0, text), metrics.size(0, QStringLiteral("...")), metrics.capHeight()};
}

} // namespace

CButtonDraw::CButtonDraw(QWidget* owner)
    : CPanelDraw(owner)
{
}

CButtonDraw::~CButtonDraw() = default;

QSize CButtonDraw::sizeHint() const
{
    measure();
    return contentSize(m_main.whole, m_secondary.whole);
}

QSize CButtonDraw::minimumSizeHint() const
{
    measure();
    const QWidget* owner = widget();
    if (owner && (owner->sizePolicy().horizontalPolicy() & QSizePolicy::ShrinkFlag))
        return contentSize(m_main.dots, m_secondary.dots);
    return contentSize(m_main.whole, m_secondary.whole);
}

void CButtonDraw::lookChanged()
{
    m_layoutDirty = true;
    CPanelDraw::lookChanged();
}

void CButtonDraw::textChanged(const QString&) {}
void CButtonDraw::secondaryTextChanged(const QString&) {}

void CButtonDraw::setArrows(const ArrowSpec& first, const ArrowSpec& second)
{
    if (sameArrow(first, m_arrows[0]) && sameArrow(second, m_arrows[1]))
        return;
    m_arrows[0] = first;
    m_arrows[1] = second;
    relayout();
}

void CButtonDraw::setArrowColors(const ColorSet& colors)
{
    if (colors == m_arrowColors)
        return;
    m_arrowColors = colors;
    updateOwner();
}

void CButtonDraw::setArrowPlacement(int placement)
{
    if (placement == m_arrowPlacement)
        return;
    m_arrowPlacement = placement;
    setDirty();
    lookChanged();
}

void CButtonDraw::setTextColors(const ColorSet& colors)
{
    if (colors == m_textColors)
        return;
    m_textColors = colors;
    updateOwner();
}

void CButtonDraw::setSecondaryTextColors(const ColorSet& colors)
{
    if (m_secondaryColorsGiven && colors == m_secondaryColors)
        return;
    m_secondaryColors = colors;
    m_secondaryColorsGiven = true;
    updateOwner();
}

void CButtonDraw::setSpacing(int spacing)
{
    if (spacing == m_hSpacing && spacing == m_vSpacing)
        return;
    m_hSpacing = spacing;
    m_vSpacing = spacing;
    relayout();
}

void CButtonDraw::setIcon(const QString& path)
{
    m_icon = CIconRepo::instance()->icon(path);
    relayout();
}

void CButtonDraw::setIconFromUtf8(const char* path)
{
    m_icon = CIconRepo::instance()->iconFromUtf8(path);
    relayout();
}

void CButtonDraw::setIconPosition(int position)
{
    if (position == m_iconPosition)
        return;
    m_iconPosition = position;
    relayout();
}

void CButtonDraw::setIconSize(const QSize& size)
{
    if (size == m_iconSize)
        return;
    m_iconSize = size;
    relayout();
}

void CButtonDraw::setIconRecolored(bool recolored)
{
    if (recolored == m_iconRecolored)
        return;
    m_iconRecolored = recolored;
    setDirty();
    geometryChanged();
    updateOwner();
}

void CButtonDraw::setIconColors(const ColorSet& colors)
{
    if (m_iconColorsGiven && colors == m_iconColors)
        return;
    m_iconColors = colors;
    m_iconColorsGiven = true;
    if (!m_iconRecolored) {
        m_iconRecolored = true;
        setDirty();
        geometryChanged();
    }
    updateOwner();
}

void CButtonDraw::setText(const QString& text)
{
    QString main = text;
    QString secondary = m_secondaryText;
    if (!m_separator.isNull()) {
        const int at = text.indexOf(m_separator);
        main = at < 0 ? text : text.left(at);
        secondary = at < 0 ? QString() : text.mid(at + 1);
    }
    if (main == m_text && secondary == m_secondaryText)
        return;
    m_text = main;
    m_secondaryText = secondary;
    invalidateMeasure();
    relayout();
    textChanged(text);
}

void CButtonDraw::setSecondaryText(const QString& text)
{
    if (text == m_secondaryText)
        return;
    m_secondaryText = text;
    invalidateMeasure();
    relayout();
    secondaryTextChanged(text);
}

void CButtonDraw::setSeparator(QChar separator)
{
    m_separator = separator;
}

void CButtonDraw::setFont(const QFont& font)
{
    QWidget* owner = widget();
    if (owner) {
        if (owner->testAttribute(Qt::WA_SetFont) && owner->font() == font)
            return;
        owner->setFont(font);
    } else {
        if (font == m_textFont)
            return;
        m_textFont = font;
    }
    invalidateMeasure();
    relayout();
}

void CButtonDraw::setTextFont(int pixelSize, int weight)
{
    setFont(makeFont(pixelSize, weight, QStringLiteral("Tahoma")));
}

void CButtonDraw::setSecondaryFont(const QFont& font)
{
    if (font == m_secondaryFont)
        return;
    m_secondaryFont = font;
    invalidateMeasure();
    relayout();
}

void CButtonDraw::setTextAlignment(int alignment)
{
    if (Qt::Alignment(alignment) == m_textAlignment)
        return;
    m_textAlignment = Qt::Alignment(alignment);
    relayout();
}

void CButtonDraw::setElideMode(Qt::TextElideMode mode)
{
    if (mode == m_elideMode)
        return;
    m_elideMode = mode;
    invalidateMeasure();
    relayout();
}

void CButtonDraw::setWrapMode(QTextOption::WrapMode mode)
{
    if (mode == m_wrapMode)
        return;
    m_wrapMode = mode;
    setDirty();
    lookChanged();
}

void CButtonDraw::setLayoutMode(int mode)
{
    if (mode == m_layoutMode)
        return;
    m_layoutMode = mode;
    relayout();
}

bool CButtonDraw::hasIcon() const
{
    return m_icon && m_icon->isValid();
}

QFont CButtonDraw::textFont() const
{
    return widget() ? widget()->font() : m_textFont;
}

QRect CButtonDraw::iconRect()
{
    updateLayout();
    return m_iconRect;
}

QRect CButtonDraw::textRect()
{
    updateLayout();
    return m_textRect.toAlignedRect();
}

QRect CButtonDraw::secondaryTextRect()
{
    updateLayout();
    return m_secondaryRect.toAlignedRect();
}

QRect CButtonDraw::arrowRect()
{
    updateLayout();
    return m_arrowRect;
}

bool CButtonDraw::hasArrows() const
{
    return !grown(m_arrows[0]).isEmpty() || !grown(m_arrows[1]).isEmpty();
}

bool CButtonDraw::hasHeightForWidth() const
{
    return m_wrapMode != QTextOption::NoWrap && (!m_text.isEmpty() || !m_secondaryText.isEmpty());
}

int CButtonDraw::heightForWidth(int width) const
{
    measure();
    const QSize panel = CPanelDraw::sizeHint();
    int available = width - panel.width();
    int height = panel.height();
    int side = 0;
    if (hasIcon()) {
        const QSize icon = iconSize();
        if (m_iconPosition == 1 || m_iconPosition == 8) {
            height += icon.height() + m_vSpacing;
        } else if (isBeside(m_iconPosition)) {
            available -= icon.width() + m_hSpacing;
            side = std::max(0, icon.height());
        }
    }
    if (hasArrows()) {
        available -= arrowSlot().width() + m_hSpacing;
        side = std::max(side, arrowSlot().height());
    }
    if (m_layoutMode == 1 && !m_secondaryText.isEmpty())
        available -= m_secondary.whole.width() + m_hSpacing;
    const QSize area(available, MaxTextHeight);
    if (!m_text.isEmpty())
        height += textBlockSize(m_text, textFont(), m_wrapMode, area, 0, -1).height();
    if (!m_secondaryText.isEmpty())
        height += textBlockSize(m_secondaryText, m_secondaryFont, m_wrapMode, area, 0, -1).height();
    if (!m_text.isEmpty() && !m_secondaryText.isEmpty())
        height += m_vSpacing;
    return std::max(panel.height() + side, height);
}

void CButtonDraw::invalidateTextLayout()
{
    invalidateMeasure();
    relayout();
}

void CButtonDraw::measure() const
{
    if (m_measured)
        return;
    m_measured = true;
    if (m_text.isEmpty() && m_secondaryText.isEmpty()) {
        m_main = m_secondary = TextMetrics();
        return;
    }
    const QFont font = textFont();
    const QFontMetrics metrics(font);
    m_main = measureText(m_text, metrics);
    m_secondary = m_secondaryFont == font ? measureText(m_secondaryText, metrics)
                                          : measureText(m_secondaryText, QFontMetrics(m_secondaryFont));
}

void CButtonDraw::relayout()
{
    geometryAndLookChanged();
}

QSize CButtonDraw::iconSize() const
{
    return m_iconSize.isValid() ? m_iconSize : m_icon->defaultSize();
}

QSize CButtonDraw::arrowSlot() const
{
    return grown(m_arrows[0]).expandedTo(grown(m_arrows[1]));
}

QSize CButtonDraw::contentSize(const QSize& text, const QSize& secondary) const
{
    const bool icon = hasIcon();
    const QSize iconPart = icon ? iconSize().expandedTo(QSize(0, 0)) : QSize(0, 0);
    const bool texts = !text.isEmpty() || !secondary.isEmpty();
    const bool arrows = hasArrows();
    int w = 0;
    int h = 0;
    if (isBeside(m_iconPosition)) {
        // Beside the icon a stacked pair has no gap of its own.
        const QSize block = textBlock(text, secondary, m_layoutMode, m_hSpacing, 0);
        w = iconPart.width() + block.width();
        h = std::max(iconPart.height(), block.height());
        const int parts = int(icon) + int(texts) + int(arrows);
        w += m_hSpacing * std::max(0, parts - 1);
    } else {
        const QSize block = textBlock(text, secondary, m_layoutMode, m_hSpacing, m_vSpacing);
        w = std::max(iconPart.width(), block.width());
        h = iconPart.height() + block.height() + (icon && texts ? m_vSpacing : 0);
        if (arrows && (icon || texts))
            w += m_hSpacing;
    }
    if (arrows) {
        w += arrowSlot().width();
        h = std::max(h, arrowSlot().height());
    }
    return CPanelDraw::sizeHint() + QSize(w, h);
}

void CButtonDraw::updateLayout()
{
    measure();
    CPanelDraw::updateLayout();
    if (!m_layoutDirty)
        return;
    const QRect inner = innerRect();
    if (!inner.isValid())
        return;
    m_iconRect = QRect();
    m_textRect = m_secondaryRect = QRectF();
    m_arrowRect = QRect();
    const bool texts = !m_text.isEmpty() || !m_secondaryText.isEmpty();
    const bool arrows = hasArrows();
    if (hasIcon()) {
        const Qt::Alignment alignment = texts || arrows ? iconAlignment(m_iconPosition) : Qt::AlignCenter;
        m_iconRect = alignRectInArea(iconSize(), alignment, inner, true);
    }
    if (arrows)
        m_arrowRect = alignRectInArea(arrowSlot(), Qt::AlignRight | Qt::AlignVCenter, inner, true);
    if (texts)
        layoutTexts(QRectF(inner));
    m_layoutDirty = false;
}

void CButtonDraw::layoutTexts(QRectF area)
{
    const QRect inner = innerRect();
    if (hasIcon()) {
        const QSize icon = iconSize();
        switch (m_iconPosition) {
        case 1: area.setTop(area.top() + icon.height() + m_vSpacing); break;
        case 2: area.setLeft(area.left() + icon.width() + m_hSpacing); break;
        case 4: area.setRight(area.right() - icon.width() - m_hSpacing); break;
        case 8: area.setBottom(area.bottom() - icon.height() - m_vSpacing); break;
        default: break;
        }
    }
    if (hasArrows())
        area.setRight(area.right() - m_arrowRect.width() - m_hSpacing);

    const Qt::Alignment horizontal = m_textAlignment & Qt::AlignHorizontal_Mask;
    const QSizeF text(m_main.whole);
    const QSizeF secondary(m_secondary.whole);
    if (m_text.isEmpty() || m_secondaryText.isEmpty()) {
        const bool main = !m_text.isEmpty();
        const QString& shown = main ? m_text : m_secondaryText;
        QSizeF size = main ? text : secondary;
        if (m_wrapMode != QTextOption::NoWrap)
            size = textBlockSize(shown, main ? textFont() : m_secondaryFont, m_wrapMode, area.size().toSize(), 0, -1);
        (main ? m_textRect : m_secondaryRect) = alignRectInArea(size, m_textAlignment, area, true);
    } else if (m_layoutMode == 1) {
        if (m_textAlignment & Qt::AlignHCenter) {
            const double shrink = (area.width() - (text.width() + m_hSpacing + secondary.width())) / 2;
            if (shrink > 0)
                area.adjust(shrink, 0, -shrink, 0);
        }
        m_secondaryRect = alignRectInArea(secondary, Qt::AlignRight | (m_textAlignment & Qt::AlignVertical_Mask),
                                          area, true);
        area.setRight(m_secondaryRect.left() - m_hSpacing);
        m_textRect = alignRectInArea(text, m_textAlignment, area, true);
    } else {
        QRectF textArea = area;
        textArea.setBottom(area.bottom() - (area.height() + secondary.height() - text.height()) / 2);
        m_textRect = alignRectInArea(text, horizontal | Qt::AlignBottom, textArea, true);
        const QRectF below(area.left(), m_textRect.bottom(), area.width(), area.bottom() - m_textRect.bottom());
        m_secondaryRect = alignRectInArea(secondary, horizontal | Qt::AlignTop, below, true);
    }

    const auto textRects = [this]() {
        QList<QRectF> rects;
        for (const QRectF& rect : {m_textRect, m_secondaryRect}) {
            if (!rect.isEmpty())
                rects.append(rect);
        }
        return rects;
    };
    const auto rightmost = [&]() {
        double x = inner.left();
        for (const QRectF& rect : textRects())
            x = std::max(x, rect.right());
        return x + m_hSpacing;
    };
    if (hasIcon() && (m_textAlignment & Qt::AlignHCenter)) {
        if (m_iconPosition == 4) {
            const double x = rightmost();
            if (m_iconRect.left() > x)
                m_iconRect.moveLeft(qRound(x) + 1);
        } else if (m_iconPosition == 2) {
            double x = inner.right();
            for (const QRectF& rect : textRects())
                x = std::min(x, rect.left());
            x -= m_hSpacing;
            if (x > m_iconRect.right())
                m_iconRect.moveRight(qRound(x) - 1);
        }
    }
    if (hasArrows() && m_arrowPlacement == 1) {
        const double x = rightmost();
        if (m_arrowRect.left() > x)
            m_arrowRect.moveLeft(qRound(x) + 1);
    }
}

void CButtonDraw::paint(CPainterScope& scope, const CAnimationWidget& state)
{
    const bool icon = hasIcon();
    QColor textColor;
    if (!m_text.isEmpty() || (!m_secondaryText.isEmpty() && !m_secondaryColorsGiven) || (icon && !m_iconColorsGiven))
        textColor = animatedStateColor(m_textColors, state);
    const QColor secondaryColor = m_secondaryColorsGiven && !m_secondaryText.isEmpty()
                                      ? animatedStateColor(m_secondaryColors, state)
                                      : textColor;
    const QColor arrowColor = hasArrows() ? animatedStateColor(m_arrowColors, state) : QColor();
    if (icon) {
        updateLayout();
        if (m_iconRect.isValid()) {
            const QColor iconColor = m_iconColorsGiven ? animatedStateColor(m_iconColors, state) : textColor;
            drawIconIn(scope.painter(), iconColor, [&](const QColor& color) {
                m_icon->drawAligned(scope.painter(), m_iconRect, Qt::AlignCenter, m_iconRect.size(), color, state);
            });
        }
    }
    paintContent(scope, QColor(0, 0, 0, 0), textColor, secondaryColor, arrowColor, state.isChecked() ? 16 : 1);
}

void CButtonDraw::paintContent(CPainterScope& scope, const QColor& iconColor, const QColor& textColor,
                               const QColor& secondaryColor, const QColor& arrowColor, int flags)
{
    updateLayout();
    m_elided = false;
    QPainter* painter = scope.painter();
    const double scale = scope.scale();
    if (hasIcon() && m_iconRect.isValid() && iconColor.alpha() > 0) {
        drawIconIn(painter, iconColor, [&](const QColor& color) {
            m_icon->paintAligned(painter, m_iconRect, Qt::AlignCenter, m_iconRect.size(), color, flags);
        });
    }
    const bool textShown = m_textRect.isValid();
    const bool secondaryShown = m_secondaryRect.isValid();
    if (textShown || secondaryShown) {
        painter->save();
        if (textShown) {
            const QPen pen(QBrush(textColor), std::round(scale) / scale, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
            drawText(painter, m_text, m_textRect, textFont(), m_main, pen);
        }
        if (secondaryShown)
            drawText(painter, m_secondaryText, m_secondaryRect, m_secondaryFont, m_secondary, QPen(secondaryColor));
        painter->restore();
    }
    if (!m_arrowRect.isValid())
        return;
    QRectF rect(m_arrowRect);
    if (!isWholeRatio(scale))
        rect = snapToDevicePixels(rect, scale);
    const bool second = (flags & 0xF0) && !grown(m_arrows[1]).isEmpty();
    drawArrow(painter, rect, arrowColor, m_arrows[second ? 1 : 0]);
}

void CButtonDraw::drawIconIn(QPainter* painter, const QColor& color,
                             const std::function<void(const QColor&)>& draw) const
{
    if (color.alpha() <= 0)
        return;
    const double opacity = painter->opacity();
    painter->setOpacity(opacity * color.alphaF());
    draw(m_iconRecolored ? colorWithAlpha(color, 1.0) : QColor());
    painter->setOpacity(opacity);
}

void CButtonDraw::drawText(QPainter* painter, const QString& text, const QRectF& rect,
                           const QFont& font, const TextMetrics& metrics, const QPen& pen)
{
    painter->setFont(font);
    if (font.pixelSize() > 0 && painter->font().pixelSize() != font.pixelSize()) {
        QFont again = painter->font();
        again.setPixelSize(font.pixelSize());
        painter->setFont(again);
    }
    painter->setPen(pen);
    if (m_wrapMode != QTextOption::NoWrap) {
        drawTextBlock(painter, text, rect, (m_textAlignment & Qt::AlignHorizontal_Mask) | Qt::AlignTop, m_wrapMode,
                      m_elideMode, 0, -1, &m_elided);
        return;
    }
    QString shown = text;
    if (metrics.whole.width() > rect.width()) {
        shown = QFontMetrics(font).elidedText(text, m_elideMode, int(std::floor(rect.width())));
        m_elided = true;
    }
    painter->drawText(QPointF(rect.left(), rect.center().y() + metrics.capHeight / 2.0), shown);
}

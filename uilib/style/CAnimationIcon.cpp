#include "uilib/style/CAnimationIcon.h"

#include "uilib/style/CAnimationWidget.h"
#include "uilib/style/CIconRepo.h"
#include "uilib/style/CStyle.h"
#include "uilib/style/ColorUtils.h"
#include "uilib/style/Cpalette.h"
#include "uilib/style/DrawPrimitives.h"

#include <QPainter>
#include <QSvgRenderer>

#include <cmath>

namespace CAnimationIcon {

namespace {

constexpr double Epsilon = 1e-12;

const char CrossSvg[] =
    "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 8 8'><g fill='none' stroke='black' opacity='1.0' "
    "stroke-width='2' stroke-linecap='round' stroke-linejoin='round'>"
    "<path d='M1 1L4 4M4 4L7 1M4 4L7 7M4 4L1 7'/></g></svg>";
const char CheckSvg[] =
    "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 -1 10 10'><g fill='none' stroke='black' opacity='1.0' "
    "stroke-width='2' stroke-linecap='round' stroke-linejoin='round'>"
    "<polyline points='1.00006,4.81824 3.28578,8.00006 9.00006,1.00006'/></g></svg>";

// A transparent picture of the size at the ratio with an antialiased painter on it, and the
// logical rectangle to draw in, snapped to device pixels.
struct Canvas
{
    Canvas(double ratio, const QSize& size)
        : pixmap(size.isEmpty() ? QPixmap() : makeTransparentPixmap(size, ratio, Qt::transparent))
    {
        if (pixmap.isNull())
            return;
        painter.begin(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing, true);
        rect = snapToDevicePixels(QRectF(QPointF(), QSizeF(toLogicalSize(pixmap.size(), ratio))), ratio);
    }

    QPixmap take()
    {
        if (painter.isActive())
            painter.end();
        return pixmap;
    }

    QPixmap pixmap;
    QPainter painter;
    QRectF rect;
};

QPen borderPen(double ratio, int width, const QColor& color)
{
    return QPen(QBrush(color), std::round(ratio * width) / ratio, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
}

double progressBetween(double from, double to, double p)
{
    if (std::abs(p) < Epsilon)
        return from;
    if (qFuzzyCompare(p, 1.0))
        return to;
    return from + (to - from) * p;
}

template <class Icon>
void registerIcon(CIconRepo* repo, const QString& name)
{
    if (repo->contains(name))
        return;
    auto* icon = new Icon;
    currentPalette()->styleAnimationIcon(icon);
    if (!repo->addIcon(icon))
        delete icon;
}

} // namespace

QRectF lerpRect(const QRectF& from, const QRectF& to, double p)
{
    if (std::abs(p) < Epsilon)
        return from;
    if (qFuzzyCompare(p, 1.0))
        return to;
    QRectF result;
    result.setCoords(progressBetween(from.left(), to.left(), p), progressBetween(from.top(), to.top(), p),
                     progressBetween(from.right(), to.right(), p), progressBetween(from.bottom(), to.bottom(), p));
    return result;
}

void registerStandardIcons()
{
    CIconRepo* repo = CIconRepo::instance();
    registerIcon<ToggleIcon>(repo, QStringLiteral("ToggleIcon1"));
    registerIcon<CheckBoxIcon>(repo, QStringLiteral("CheckBoxIcon1"));
    registerIcon<RadioIcon>(repo, QStringLiteral("RadioIcon1"));
}

StateIcon::StateIcon(const QString& name)
    : CDrawable(-1)
{
    setPath(name);
}

void StateIcon::applyStyle()
{
    currentPalette()->styleAnimationIcon(this);
}

CheckBoxIcon::CheckBoxIcon()
    : StateIcon(QStringLiteral("CheckBoxIcon1")), m_backgroundColors(Qt::transparent),
      m_borderColors(Qt::transparent), m_markColors(Qt::transparent)
{
}

void CheckBoxIcon::setMarkPath(const QPainterPath& path)
{
    m_markPath = path;
    m_markLength = path.length();
}

QPixmap CheckBoxIcon::paint(double ratio, const QSize& size, const QColor&, const CAnimationWidget& state) const
{
    Canvas canvas(ratio, sizeOrDefault(size));
    if (canvas.pixmap.isNull())
        return canvas.pixmap;
    QPainter& painter = canvas.painter;
    painter.setPen(borderPen(ratio, m_borderWidth, animatedStateColor(m_borderColors, state)));
    painter.setBrush(animatedStateColor(m_backgroundColors, state));
    drawRoundedRectInside(&painter, canvas.rect, m_cornerRadius);

    // The painter carries the ratio already: the mark is as thick at every ratio.
    QPen mark(QBrush(animatedStateColor(m_markColors, state)), m_markWidth, Qt::SolidLine, Qt::SquareCap,
              Qt::BevelJoin);
    if (state.isChecked()) {
        const double drawn = state.checkedProgress() * m_markLength / m_markWidth;
        if (drawn < Epsilon)
            return canvas.take();
        mark.setDashPattern({drawn, m_markLength});
    }
    painter.setPen(mark);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(m_markPath);
    return canvas.take();
}

RadioIcon::RadioIcon()
    : StateIcon(QStringLiteral("RadioIcon1")), m_backgroundColors(Qt::transparent), m_borderColors(Qt::transparent),
      m_dotColors(Qt::transparent)
{
}

QRectF RadioIcon::dotRect(const QRectF& rect, bool checked, double p) const
{
    const QRectF dot = rect.adjusted(m_dotInset, m_dotInset, -m_dotInset, -m_dotInset);
    if (!checked)
        return dot;
    return lerpRect(QRectF(rect.center(), QSizeF(0, 0)), dot, p);
}

QPixmap RadioIcon::paint(double ratio, const QSize& size, const QColor&, const CAnimationWidget& state) const
{
    Canvas canvas(ratio, sizeOrDefault(size));
    if (canvas.pixmap.isNull())
        return canvas.pixmap;
    QPainter& painter = canvas.painter;
    const QRectF& r = canvas.rect;
    painter.setPen(borderPen(ratio, m_borderWidth, animatedStateColor(m_borderColors, state)));
    painter.setBrush(animatedStateColor(m_backgroundColors, state));
    drawRoundedRectInside(&painter, r, r.height() / 2);

    const QRectF dot = dotRect(r, state.isChecked(), state.checkedProgress());
    painter.setPen(Qt::NoPen);
    painter.setBrush(animatedStateColor(m_dotColors, state));
    painter.drawRoundedRect(dot, r.height() / 2, r.height() / 2);
    return canvas.take();
}

ToggleIcon::ToggleIcon()
    : StateIcon(QStringLiteral("ToggleIcon1")), m_trackColors(Qt::transparent), m_knobColors(Qt::transparent)
{
}

QRectF ToggleIcon::knobRect(const QRectF& rect, double p) const
{
    const QRectF inner = rect.adjusted(m_knobInset, m_knobInset, -m_knobInset, -m_knobInset);
    const double side = inner.height();
    const double left = progressBetween(inner.left(), inner.right() - side, p);
    return QRectF(left, inner.top(), side, side);
}

QByteArray ToggleIcon::glyphSvg(double p, const QColor& track)
{
    QByteArray svg(p < 0.5 ? CrossSvg : CheckSvg);
    svg.replace("black", track.name().toLatin1());
    svg.replace("opacity='1.0'", QStringLiteral("opacity='%1'").arg(track.alphaF()).toLatin1());
    return svg;
}

double ToggleIcon::glyphOpacity(double p)
{
    return std::max(p, 1.0 - p);
}

QPixmap ToggleIcon::paint(double ratio, const QSize& size, const QColor&, const CAnimationWidget& state) const
{
    Canvas canvas(ratio, sizeOrDefault(size));
    if (canvas.pixmap.isNull())
        return canvas.pixmap;
    QPainter& painter = canvas.painter;
    const QRectF& r = canvas.rect;
    const QColor track = animatedStateColor(m_trackColors, state);
    painter.setPen(Qt::NoPen);
    painter.setBrush(track);
    drawRoundedRectInside(&painter, r, r.height() / 2);

    const double p = state.checkedProgress();
    const QRectF knob = knobRect(r, p);
    painter.setBrush(animatedStateColor(m_knobColors, state));
    painter.drawRoundedRect(knob, knob.height() / 2, knob.height() / 2);

    QSvgRenderer glyph(glyphSvg(p, track));
    QRectF box = glyph.viewBoxF();
    box.moveCenter(knob.center());
    painter.setOpacity(glyphOpacity(p));
    glyph.render(&painter, box);
    return canvas.take();
}

} // namespace CAnimationIcon

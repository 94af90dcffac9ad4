#include "uilib/controls/CAnimationScrollBar.h"

#include "uilib/style/CAnimationWidget.h"
#include "uilib/style/CEventGeom.h"
#include "uilib/style/CPainterScope.h"
#include "uilib/style/CProxyStyle.h"
#include "uilib/style/ColorUtils.h"
#include "uilib/style/DrawPrimitives.h"

#include <QAbstractScrollArea>
#include <QMouseEvent>
#include <QPointer>
#include <QProxyStyle>
#include <QScrollArea>
#include <QStyleOptionSlider>
#include <QTimer>

#include <cmath>

namespace {

// Draws the bar as a rounded handle on a rounded groove, inset by the handle margins; the
// margin on the inner side shrinks as the bar widens.
class ScrollBarProxyStyle : public QProxyStyle
{
public:
    explicit ScrollBarProxyStyle(QScrollBar* bar)
        : QProxyStyle(makeLibraryStyle())
        , bar(bar)
        , expansion(new CAnimationWidget(0, this))
        , state(new CAnimationWidget(0, this))
    {
        setParent(bar);
        expansion->setWidget(bar);
        expansion->setHoveredAnimationParams({QEasingCurve::OutQuad, 150, QEasingCurve::OutQuad, 150, 0.0, 1.0});
        expansion->setDisabledOpacity(1.0);
        state->setWidget(bar);
    }

    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        if (metric == PM_ScrollBarExtent)
            return thickness;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_ScrollBar_Transient)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget) const override
    {
        const auto* slider = qstyleoption_cast<const QStyleOptionSlider*>(option);
        if (control != CC_ScrollBar || !slider || !painter)
            return;
        const bool enabled = slider->state & State_Enabled;
        const bool animated = bar && bar->isVisible();
        state->setHovered(enabled && (slider->activeSubControls & SC_ScrollBarSlider), animated);
        state->setPressed(enabled && (slider->state & State_Sunken), animated);

        CPainterScope scope(painter, option);
        QPainter* p = scope.painter();
        p->setPen(Qt::NoPen);
        p->setOpacity(expansion->opacity());
        if (qFuzzyIsNull(p->opacity()))
            return;
        p->setRenderHint(QPainter::Antialiasing);
        const double ratio = scope.scale();
        QMarginsF margins(handleMargins);
        if (!isWholeRatio(ratio))
            margins = snapToDevicePixels(margins, ratio);
        if (collapse) {
            const double keep = 1.0 - expansion->hoveredProgress();
            if (slider->orientation == Qt::Vertical)
                margins.setLeft(margins.left() * keep);
            else
                margins.setTop(margins.top() * keep);
        }
        const double r = std::round(radius * ratio) / ratio;
        fillPart(p, slider, widget, SC_ScrollBarGroove, grooveColor, margins, r, ratio);
        fillPart(p, slider, widget, SC_ScrollBarSlider, animatedStateColor(handleColors, *state), margins, r, ratio);
    }

    int thickness = 18;
    QMargins handleMargins{6, 6, 6, 6};
    QColor grooveColor;
    bool collapse = true;
    int radius = 3;
    ColorSet handleColors{Qt::transparent, Qt::transparent, Qt::transparent, QColor()};
    QPointer<QScrollBar> bar;
    CAnimationWidget* expansion;
    CAnimationWidget* state;

private:
    void fillPart(QPainter* painter, const QStyleOptionSlider* option, const QWidget* widget, SubControl part,
                  const QColor& color, const QMarginsF& margins, double r, double ratio) const
    {
        if (!color.isValid())
            return;
        const QRectF rect = QRectF(baseStyle()->subControlRect(CC_ScrollBar, option, part, widget));
        painter->setBrush(color);
        painter->drawRoundedRect(snapToDevicePixels(rect, ratio) - margins, r, r);
    }
};

} // namespace

class CAnimationScrollBar::Private : public QObject
{
public:
    Private(CAnimationScrollBar* bar, QAbstractScrollArea* area, int marginMode)
        : QObject(bar), bar(bar), marginMode(marginMode), area(area), style(new ScrollBarProxyStyle(bar))
    {
        expandTimer.setSingleShot(true);
        expandTimer.setInterval(100);
        collapseTimer.setSingleShot(true);
        collapseTimer.setInterval(500);
        connect(&expandTimer, &QTimer::timeout, this, [this] { style->expansion->setHovered(true, true); });
        connect(&collapseTimer, &QTimer::timeout, this, [this] { style->expansion->setHovered(false, true); });
    }

    ~Private() override { delete geometryWatch.data(); }

    // A strip along the right or bottom edge of the area, in the area's own coordinates.
    void place()
    {
        if (!area)
            return;
        QRect rect = area->rect();
        const QSize hint = bar->sizeHint();
        if (bar->orientation() == Qt::Vertical)
            rect.setLeft(rect.left() + rect.width() - hint.width());
        else
            rect.setTop(rect.top() + rect.height() - hint.height());
        bar->setGeometry(rect);
    }

    void applyContentMargin()
    {
        auto* scrollArea = qobject_cast<QScrollArea*>(area.data());
        QWidget* content = scrollArea ? scrollArea->widget() : nullptr;
        if (!content)
            return;
        QMargins margins = content->contentsMargins();
        const int margin = bar->isScrollAvailable() ? style->thickness : 0;
        if (bar->orientation() == Qt::Vertical)
            margins.setRight(margin);
        else
            margins.setBottom(margin);
        content->setContentsMargins(margins);
    }

    void updateTimers()
    {
        if (pressed)
            return;
        if (hovered) {
            collapseTimer.stop();
            expandTimer.start();
        } else {
            expandTimer.stop();
            collapseTimer.start();
        }
    }

    CAnimationScrollBar* bar;
    int marginMode;
    QPointer<QAbstractScrollArea> area;
    ScrollBarProxyStyle* style;
    QPointer<CEventGeom> geometryWatch;
    QTimer expandTimer;
    QTimer collapseTimer;
    bool hovered = false;
    bool pressed = false;
};

CAnimationScrollBar::CAnimationScrollBar(int styleKind, QAbstractScrollArea* area, int marginMode,
                                         Qt::Orientation orientation, QWidget* parent, bool deferStyle)
    : CScrollBar(styleKind, area, orientation, 0, parent, true)
    , d(new Private(this, area, marginMode))
{
    setStyle(d->style);
    if (area) {
        d->geometryWatch = new CEventGeom(area, 0);
        connect(d->geometryWatch.data(), &CEventGeom::geometryChanged, d, [this] { d->place(); });
        d->place();
    }
    setEnabled(isScrollAvailable());
    setVisible(isEnabled());
    connect(this, &CScrollBar::scrollAvailableChanged, this, &QWidget::setEnabled);
    if (marginMode == 1) {
        d->applyContentMargin();
        connect(this, &CScrollBar::scrollAvailableChanged, d, [this] { d->applyContentMargin(); });
    }
    setContextMenuPolicy(Qt::NoContextMenu);
    if (!deferStyle)
        applyStyle();
}

CAnimationScrollBar::~CAnimationScrollBar() = default;

void CAnimationScrollBar::setGrooveColor(const QColor& color)
{
    if (d->style->grooveColor == color)
        return;
    d->style->grooveColor = color;
    update();
}

void CAnimationScrollBar::setHandleColors(const ColorSet& colors)
{
    if (d->style->handleColors == colors)
        return;
    d->style->handleColors = colors;
    update();
}

QColor CAnimationScrollBar::grooveColor() const
{
    return d->style->grooveColor;
}

ColorSet CAnimationScrollBar::handleColors() const
{
    return d->style->handleColors;
}

CAnimationWidget* CAnimationScrollBar::expansionAnimation() const
{
    return d->style->expansion;
}

bool CAnimationScrollBar::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::HoverEnter:
    case QEvent::HoverLeave:
        d->hovered = event->type() == QEvent::HoverEnter;
        d->updateTimers();
        break;
    case QEvent::EnabledChange: {
        const bool wasVisible = isVisible();
        setVisible(isEnabled());
        d->style->expansion->setDisabled(!isEnabled(), wasVisible);
        break;
    }
    default:
        break;
    }
    return CScrollBar::event(event);
}

void CAnimationScrollBar::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && event->buttons() == Qt::LeftButton)
        d->pressed = true;
    CScrollBar::mousePressEvent(event);
}

void CAnimationScrollBar::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->buttons() == Qt::NoButton) {
        d->pressed = false;
        if (!rect().contains(event->pos())) {
            d->expandTimer.stop();
            d->collapseTimer.start();
        }
    }
    CScrollBar::mouseReleaseEvent(event);
}

void installAnimatedScrollBars(int styleKind, QAbstractScrollArea* area, int marginMode)
{
    if (!area || area->findChild<CScrollBar*>())
        return;
    const bool vertical = area->verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff;
    const bool horizontal = area->horizontalScrollBarPolicy() != Qt::ScrollBarAlwaysOff;
    if (vertical)
        new CAnimationScrollBar(styleKind, area, marginMode, Qt::Vertical, area);
    if (horizontal)
        new CAnimationScrollBar(styleKind, area, marginMode, Qt::Horizontal, area);
}

#include "uilib/controls/CScrollArea.h"

#include "uilib/controls/CShadowInner.h"
#include "uilib/style/CAnimationWheel.h"
#include "uilib/style/CEventScroll.h"
#include "uilib/style/CMenuDraw.h"
#include "uilib/style/CStyle.h"
#include "uilib/style/ColorUtils.h"
#include "uilib/style/Cpalette.h"

#include <QEvent>
#include <QScrollBar>
#include <QScroller>

class CScrollArea::Private : public QObject
{
public:
    explicit Private(CScrollArea* area) : QObject(area), area(area) {}

    void updateVisibleRect()
    {
        const QRect rect = area->visibleWidgetRect();
        if (rect == lastVisible)
            return;
        lastVisible = rect;
        emit area->visibleWidgetRectChanged(rect);
    }

    CScrollArea* area;
    bool autoSize = false;
    CShadowInner* shadowInner = nullptr;
    CAnimationWheel* wheel = nullptr;
    QRect lastVisible;
};

CScrollArea::CScrollArea(int styleKind, QWidget* parent, bool deferStyle)
    : QScrollArea(parent)
    , CDrawable(styleKind)
    , d(new Private(this))
{
    setFrameStyle(QFrame::NoFrame);
    setFocusPolicy(Qt::NoFocus);
    setWidgetResizable(true);
    new CEventScroll(this);
    d->shadowInner = new CShadowInner(this, this);
    d->wheel = new CAnimationWheel(this);
    new CMenuDraw(horizontalScrollBar(), 41);
    new CMenuDraw(verticalScrollBar(), 41);
    setWidgetBackgroundColor(this, Qt::transparent);
    setAutoFillBackground(false);
    viewport()->setAutoFillBackground(false);
    if (!deferStyle)
        applyStyle();
}

CScrollArea::~CScrollArea() = default;

void CScrollArea::applyStyle()
{
    if (hasStyle())
        currentPalette()->styleScrollArea(this, styleKind());
}

// QScrollArea already filters its content widget, whichever is set, so auto size only switches
// what the filter does: removing the filter would also stop the area following content resizes.
void CScrollArea::setAutoSize(bool value)
{
    if (value == d->autoSize)
        return;
    d->autoSize = value;
    updateGeometry();
    emit autoSizeEnabledChanged(value);
}

bool CScrollArea::isAutoSize() const
{
    return d->autoSize;
}

bool CScrollArea::eventFilter(QObject* watched, QEvent* event)
{
    if (d->autoSize && watched == widget() && event->type() == QEvent::Resize)
        updateGeometry();
    return QScrollArea::eventFilter(watched, event);
}

QSize CScrollArea::sizeHint() const
{
    if (d->autoSize && widget())
        return widget()->sizeHint();
    return QScrollArea::sizeHint();
}

QSize CScrollArea::minimumSizeHint() const
{
    if (d->autoSize && widget()) {
        const QSize hint = widget()->sizeHint();
        return QSize(hint.width(), qMin(hint.height(), 32));
    }
    return QAbstractScrollArea::minimumSizeHint();
}

void CScrollArea::ensureRectVisible(const QRect& rect, bool animated)
{
    int x = horizontalScrollBar()->value();
    int y = verticalScrollBar()->value();
    const QRect target = rect.translated(-x, -y);
    const QRect view = viewport()->rect();
    if (view.contains(target))
        return;
    if (target.top() < view.top())
        y += target.top();
    else if (target.bottom() > view.bottom())
        y += qMin(target.top(), target.bottom() - view.height() + 1);
    if (target.left() < view.left())
        x += target.left();
    else if (target.right() > view.right() && target.left() > view.left())
        x += qMin(target.left(), target.right() - view.width() + 1);
    if (animated) {
        QScroller::scroller(viewport())->scrollTo(QPointF(x, y));
        return;
    }
    horizontalScrollBar()->setValue(x);
    verticalScrollBar()->setValue(y);
}

QRect CScrollArea::visibleWidgetRect() const
{
    if (!isVisible())
        return QRect();
    return QRect(QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value()), viewport()->size());
}

CShadowInner* CScrollArea::shadowInner() const
{
    return d->shadowInner;
}

CAnimationWheel* CScrollArea::wheelAnimation() const
{
    return d->wheel;
}

void CScrollArea::relayout()
{
    resizeEvent(nullptr);
}

void CScrollArea::moveEvent(QMoveEvent* event)
{
    QScrollArea::moveEvent(event);
    emit moved(pos());
    emit geometryChanged(geometry());
}

void CScrollArea::resizeEvent(QResizeEvent* event)
{
    QScrollArea::resizeEvent(event);
    emit resized(size());
    emit geometryChanged(geometry());
    d->updateVisibleRect();
}

void CScrollArea::showEvent(QShowEvent* event)
{
    QScrollArea::showEvent(event);
    emit visibilityChanged(true);
    emit showed();
    d->updateVisibleRect();
}

void CScrollArea::hideEvent(QHideEvent* event)
{
    QScrollArea::hideEvent(event);
    emit visibilityChanged(false);
    emit hided();
    d->updateVisibleRect();
}

void CScrollArea::scrollContentsBy(int dx, int dy)
{
    QScrollArea::scrollContentsBy(dx, dy);
    d->updateVisibleRect();
}

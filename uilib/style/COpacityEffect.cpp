#include "uilib/style/COpacityEffect.h"

#include <QAbstractScrollArea>
#include <QPainter>
#include <QScrollBar>
#include <QWidget>

#include <cmath>

namespace {

bool isZero(double value)
{
    return std::abs(value) <= 1e-12;
}

// Every scroll area below the widget that shows with it.
void collectScrollAreas(QWidget* widget, QWidget* root, QList<QAbstractScrollArea*>* out)
{
    for (QObject* child : widget->children()) {
        auto* childWidget = qobject_cast<QWidget*>(child);
        if (!childWidget)
            continue;
        auto* area = qobject_cast<QAbstractScrollArea*>(childWidget);
        if (area && area->isVisibleTo(root))
            out->append(area);
        collectScrollAreas(childWidget, root, out);
    }
}

void drawAtDevice(QPainter* painter, const QPointF& position, const QPixmap& pixmap)
{
    painter->setWorldTransform(QTransform());
    painter->drawPixmap(position, pixmap);
}

} // namespace

COpacityEffect::ForceRepaintEffect::ForceRepaintEffect(QWidget* widget)
    : m_widget(widget)
{
}

void COpacityEffect::ForceRepaintEffect::draw(QPainter* painter)
{
    QPoint offset;
    const QPixmap pixmap = sourcePixmap(Qt::DeviceCoordinates, &offset, QGraphicsEffect::NoPad);
    if (pixmap.isNull())
        return;
    painter->save();
    drawAtDevice(painter, offset, pixmap);
    painter->restore();
}

COpacityEffect::COpacityEffect(QWidget* widget)
    : m_widget(widget)
{
    setEnabled(false);
    if (widget)
        widget->setGraphicsEffect(this);
}

// Replaced or deleted while caching, it leaves no repaint effects behind.
COpacityEffect::~COpacityEffect()
{
    stopCaching();
}

void COpacityEffect::setOpacity(double opacity)
{
    opacity = qBound(0.0, opacity, 1.0);
    if (qFuzzyCompare(opacity, m_opacity))
        return;
    m_opacity = opacity;
    if (m_autoEnable)
        setEnabled(!qFuzzyCompare(m_opacity, 1.0));
    update();
}

void COpacityEffect::setSlide(int edge, int distance)
{
    if (edge == m_slideEdge && distance == m_slideDistance)
        return;
    m_slideEdge = edge;
    m_slideDistance = distance;
    update();
}

void COpacityEffect::setAutoEnable(bool autoEnable)
{
    if (autoEnable == m_autoEnable)
        return;
    m_autoEnable = autoEnable;
    setEnabled(!autoEnable || !qFuzzyCompare(m_opacity, 1.0));
}

void COpacityEffect::startCaching()
{
    if (!m_widget || m_caching)
        return;
    m_caching = true;
    m_cachedPicture = QPixmap();
    QList<QAbstractScrollArea*> areas;
    collectScrollAreas(m_widget, m_widget, &areas);
    for (QAbstractScrollArea* area : areas) {
        QList<QWidget*> targets{area->viewport()};
        if (area->horizontalScrollBarPolicy() != Qt::ScrollBarAlwaysOff)
            targets.append(area->horizontalScrollBar());
        if (area->verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff)
            targets.append(area->verticalScrollBar());
        for (QWidget* target : targets) {
            // A widget's own effect is never replaced.
            if (!target || target->graphicsEffect())
                continue;
            auto* effect = new ForceRepaintEffect(target);
            target->setGraphicsEffect(effect);
            m_forceRepaint.append(effect);
        }
    }
}

void COpacityEffect::stopCaching()
{
    if (!m_caching)
        return;
    m_caching = false;
    m_cachedPicture = QPixmap();
    while (!m_forceRepaint.isEmpty()) {
        const QPointer<ForceRepaintEffect> effect = m_forceRepaint.takeLast();
        if (effect && effect->widget() && effect->widget()->graphicsEffect() == effect)
            effect->widget()->setGraphicsEffect(nullptr);
    }
}

QPointF COpacityEffect::slideOffset() const
{
    if (m_slideDistance == 0)
        return QPointF();
    const double shift = (1.0 - m_opacity) * m_slideDistance;
    switch (m_slideEdge) {
    case Qt::TopEdge: return QPointF(0, -shift);
    case Qt::LeftEdge: return QPointF(-shift, 0);
    case Qt::RightEdge: return QPointF(shift, 0);
    case Qt::BottomEdge: return QPointF(0, shift);
    default: return QPointF();
    }
}

QPixmap COpacityEffect::picture(QPoint* offset, PixmapPadMode mode)
{
    if (m_caching) {
        if (!isCacheValid())
            m_cachedPicture = sourcePixmap(Qt::DeviceCoordinates, &m_cachedOffset, mode);
        if (!m_cachedPicture.isNull()) {
            *offset = m_cachedOffset;
            return m_cachedPicture;
        }
    }
    return sourcePixmap(Qt::DeviceCoordinates, offset, mode);
}

bool COpacityEffect::isCacheValid() const
{
    if (!m_widget || m_cachedPicture.isNull())
        return false;
    const QPoint position = m_widget->isWindow() ? QPoint() : m_widget->mapTo(m_widget->window(), QPoint());
    const QRectF expected = boundingRectFor(QRectF(QRect(position, m_widget->size())));
    const QSizeF size = QSizeF(m_cachedPicture.size()) / m_cachedPicture.devicePixelRatioF();
    const QRectF cached(QPointF(m_cachedOffset), QSizeF(std::round(size.width()), std::round(size.height())));
    return qFuzzyCompare(expected.left(), cached.left()) && qFuzzyCompare(expected.top(), cached.top())
        && qFuzzyCompare(expected.width(), cached.width()) && qFuzzyCompare(expected.height(), cached.height());
}

void COpacityEffect::draw(QPainter* painter)
{
    if (isZero(m_opacity))
        return;
    QPoint offset;
    const QPixmap pixmap = picture(&offset, QGraphicsEffect::NoPad);
    if (pixmap.isNull())
        return;
    painter->save();
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->setOpacity(m_opacity);
    drawAtDevice(painter, QPointF(offset) + slideOffset(), pixmap);
    painter->restore();
}

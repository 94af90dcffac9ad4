#include "uilib/style/CShadowEffect.h"

#include "app/CSystemTools.h"
#include "uilib/style/CResourceCache.h"

#include <QPainter>
#include <QWidget>

#include <cmath>

// Qt's own image blur, exported by the widgets module.
Q_DECL_IMPORT void qt_blurImage(QPainter* p, QImage& blurImage, qreal radius, bool quality, bool alphaOnly,
                                int transposed = 0);

namespace {

bool sameDouble(double a, double b)
{
    if (qFuzzyIsNull(a) || qFuzzyIsNull(b))
        return std::abs(a - b) <= 1e-12;
    return qFuzzyCompare(a, b);
}

QImage transparentImage(const QSize& pixels, double ratio)
{
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    return image;
}

} // namespace

CShadowEffect::CShadowEffect(QWidget* widget)
    : COpacityEffect(widget)
{
    setAutoEnable(false);
}

CShadowEffect::~CShadowEffect() = default;

void CShadowEffect::setOffset(const QPointF& offset)
{
    if (sameDouble(offset.x(), m_offset.x()) && sameDouble(offset.y(), m_offset.y()))
        return;
    m_offset = offset;
    updateBoundingRect();
    emit offsetChanged(offset);
}

void CShadowEffect::setBlurRadius(double radius)
{
    if (sameDouble(radius, m_blurRadius))
        return;
    m_blurRadius = radius;
    updateBoundingRect();
    emit blurRadiusChanged(radius);
}

void CShadowEffect::setPadding(const QMargins& padding)
{
    if (padding == m_padding)
        return;
    m_padding = padding;
    updateBoundingRect();
    emit paddingChanged(padding);
}

void CShadowEffect::setColor(const QColor& color)
{
    if (color == m_color)
        return;
    m_color = color;
    update();
    emit colorChanged(color);
}

QMargins CShadowEffect::effectivePadding() const
{
    if (m_padding.isNull() || !widget())
        return m_padding;
    const int horizontal = qMax(0, widget()->width() / 2 - 2);
    const int vertical = qMax(0, widget()->height() / 2 - 2);
    return QMargins(qMin(m_padding.left(), horizontal), qMin(m_padding.top(), vertical),
                    qMin(m_padding.right(), horizontal), qMin(m_padding.bottom(), vertical));
}

QRectF CShadowEffect::boundingRectFor(const QRectF& rect) const
{
    const double grow = 2.0 * m_blurRadius;
    const QRectF shadow = rect.translated(m_offset).marginsRemoved(QMarginsF(effectivePadding()))
                              .adjusted(-grow, -grow, grow, grow);
    return rect.united(shadow);
}

void CShadowEffect::draw(QPainter* painter)
{
    if (m_blurRadius <= 0.0 && m_offset.isNull()) {
        COpacityEffect::draw(painter);
        return;
    }
    if (drawAroundOpaqueWidget(painter))
        return;
    QPoint offset;
    const QPixmap pixmap = picture(&offset, QGraphicsEffect::PadToEffectiveBoundingRect);
    if (pixmap.isNull())
        return;
    const QImage shadow = shadowImage(pixmap);
    const QPointF position = QPointF(offset) + slideOffset();
    painter->save();
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->setWorldTransform(QTransform());
    if (qFuzzyCompare(opacity(), 1.0)) {
        if (!shadow.isNull())
            painter->drawImage(position, shadow);
        painter->drawPixmap(position, pixmap);
    } else {
        // Widget and shadow fade as one picture: no shadow shows through the widget.
        QPixmap layer(pixmap.size());
        layer.setDevicePixelRatio(pixmap.devicePixelRatioF());
        layer.fill(Qt::transparent);
        {
            QPainter layerPainter(&layer);
            layerPainter.drawImage(QPointF(), shadow);
            layerPainter.drawPixmap(QPointF(), pixmap);
        }
        painter->setOpacity(opacity());
        painter->drawPixmap(position, layer);
    }
    painter->restore();
}

CResourceCache* CShadowEffect::sharedCache() const
{
    if (!widget() || !widget()->testAttribute(Qt::WA_OpaquePaintEvent))
        return nullptr;
    CSystemTools* tools = CSystemTools::instance();
    return tools ? tools->resourceCache() : nullptr;
}

QString CShadowEffect::shadowKey(const QSize& pixels, double ratio) const
{
    QString key = QStringLiteral("ShadowEffect-%1-%2-%3-%4-%5-%6-%7")
                      .arg(pixels.width())
                      .arg(pixels.height())
                      .arg(ratio, 0, 'g', -1)
                      .arg(m_blurRadius, 0, 'g', -1)
                      .arg(m_offset.x(), 0, 'g', -1)
                      .arg(m_offset.y(), 0, 'g', -1)
                      .arg(m_color.rgba(), 8, 16, QLatin1Char('0'));
    if (!m_padding.isNull()) {
        key += QStringLiteral("%1-%2-%3-%4")
                   .arg(m_padding.left())
                   .arg(m_padding.top())
                   .arg(m_padding.right())
                   .arg(m_padding.bottom());
    }
    return key;
}

QImage CShadowEffect::shadowImage(const QPixmap& picture) const
{
    CResourceCache* cache = sharedCache();
    if (!cache)
        return makeShadow(picture);
    const QString key = shadowKey(picture.size(), picture.devicePixelRatioF());
    QPixmap hit;
    if (cache->find(key, &hit))
        return hit.toImage();
    const QImage shadow = makeShadow(picture);
    cache->insert(key, QPixmap::fromImage(shadow));
    return shadow;
}

// An opaque widget at full opacity whose shadow is in the cache needs no picture of itself: the
// shadow is drawn around its place and the widget paints itself straight onto the device.
bool CShadowEffect::drawAroundOpaqueWidget(QPainter* painter)
{
    CResourceCache* cache = sharedCache();
    if (!cache || isCaching() || !qFuzzyCompare(opacity(), 1.0) || !painter->device())
        return false;
    const QRectF source = painter->worldTransform().mapRect(QRectF(widget()->rect()));
    const QRect padded = boundingRectFor(source).toAlignedRect();
    const double ratio = painter->device()->devicePixelRatioF();
    QPixmap shadow;
    if (!cache->find(shadowKey(padded.size() * ratio, ratio), &shadow))
        return false;
    painter->save();
    painter->setWorldTransform(QTransform());
    QRegion around(padded);
    if (source == QRectF(source.toRect()))
        around -= QRegion(source.toRect());
    painter->setClipRegion(around, Qt::IntersectClip);
    painter->drawPixmap(padded.topLeft(), shadow);
    painter->restore();
    drawSource(painter);
    return true;
}

QImage CShadowEffect::makeShadow(const QPixmap& picture) const
{
    const double ratio = picture.devicePixelRatioF();
    const double blur = 2.0 * m_blurRadius;
    QImage mask = transparentImage(picture.size(), ratio);
    {
        QPainter painter(&mask);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        const QMargins padding = effectivePadding();
        if (padding.isNull()) {
            painter.drawPixmap(m_offset, picture);
        } else {
            const QRectF inner = QRectF(picture.rect()).marginsRemoved(QMarginsF(padding) * ratio)
                                     .adjusted(blur * ratio, blur * ratio, -blur * ratio, -blur * ratio);
            painter.drawPixmap(QPointF(padding.left() + blur, padding.top() + blur) + m_offset, picture, inner);
        }
    }
    QImage shadow(picture.size(), QImage::Format_ARGB32_Premultiplied);
    shadow.setDevicePixelRatio(ratio);
    shadow.fill(0);
    {
        QPainter painter(&shadow);
        qt_blurImage(&painter, mask, blur * ratio, false, true);
    }
    QPainter painter(&shadow);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(QRectF(QPointF(), QSizeF(shadow.size()) / ratio), m_color);
    return shadow;
}

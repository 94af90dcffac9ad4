#pragma once

#include "uilib/style/COpacityEffect.h"

#include <QColor>
#include <QImage>
#include <QMargins>
#include <QPointF>

class CResourceCache;

// A blurred drop shadow in one colour under the widget, offset from it; the widget and its shadow
// fade together. With Qt::WA_OpaquePaintEvent on the widget the finished shadow is shared through
// the application's pixmap cache.
class CShadowEffect : public COpacityEffect
{
    Q_OBJECT
    Q_PROPERTY(QPointF offset READ offset WRITE setOffset NOTIFY offsetChanged)
    Q_PROPERTY(double xOffset READ xOffset WRITE setXOffset NOTIFY offsetChanged)
    Q_PROPERTY(double yOffset READ yOffset WRITE setYOffset NOTIFY offsetChanged)
    Q_PROPERTY(double blurRadius READ blurRadius WRITE setBlurRadius NOTIFY blurRadiusChanged)

public:
    explicit CShadowEffect(QWidget* widget);
    ~CShadowEffect() override;

    QPointF offset() const { return m_offset; }
    void setOffset(const QPointF& offset);
    double xOffset() const { return m_offset.x(); }
    void setXOffset(double x) { setOffset(QPointF(x, m_offset.y())); }
    double yOffset() const { return m_offset.y(); }
    void setYOffset(double y) { setOffset(QPointF(m_offset.x(), y)); }
    double blurRadius() const { return m_blurRadius; }
    void setBlurRadius(double radius);
    // The shadow is drawn inset by the padding, each side at most half the widget less 2.
    QMargins padding() const { return m_padding; }
    void setPadding(const QMargins& padding);
    QColor color() const { return m_color; }
    void setColor(const QColor& color);

    QRectF boundingRectFor(const QRectF& rect) const override;

signals:
    void offsetChanged(const QPointF& offset);
    void paddingChanged(const QMargins& padding);
    void blurRadiusChanged(double blurRadius);
    void colorChanged(const QColor& color);

protected:
    void draw(QPainter* painter) override;

private:
    QMargins effectivePadding() const;
    // The application's pixmap cache while the widget paints opaque, else null.
    CResourceCache* sharedCache() const;
    QString shadowKey(const QSize& pixels, double ratio) const;
    QImage shadowImage(const QPixmap& picture) const;
    bool drawAroundOpaqueWidget(QPainter* painter);
    QImage makeShadow(const QPixmap& picture) const;

    QPointF m_offset{8.0, 8.0};
    QMargins m_padding;
    QColor m_color{63, 63, 63, 180};
    double m_blurRadius = 1.0;
};

#pragma once

#include <QGraphicsEffect>
#include <QList>
#include <QPixmap>
#include <QPoint>
#include <QPointer>

class QWidget;

// Draws its widget at an opacity and, with a slide, shifted towards an edge in proportion to its
// transparency. While caching (a show or hide runs) it draws a kept picture of the widget.
class COpacityEffect : public QGraphicsEffect
{
public:
    // Repaints the widget it sits on unchanged; installed on scroll areas while caching.
    class ForceRepaintEffect : public QGraphicsEffect
    {
    public:
        explicit ForceRepaintEffect(QWidget* widget);
        QWidget* widget() const { return m_widget; }

    protected:
        void draw(QPainter* painter) override;

    private:
        QPointer<QWidget> m_widget;
    };

    // Installed on the widget at once, disabled.
    explicit COpacityEffect(QWidget* widget);
    ~COpacityEffect() override;

    double opacity() const { return m_opacity; }
    // Clamped to 0..1.
    void setOpacity(double opacity);
    // The edge is a Qt::Edge, the distance in logical pixels (0: no slide).
    void setSlide(int edge, int distance);
    int slideEdge() const { return m_slideEdge; }
    int slideDistance() const { return m_slideDistance; }
    // On, the effect is enabled only while the opacity is not 1.
    void setAutoEnable(bool autoEnable);
    bool isCaching() const { return m_caching; }
    void startCaching();
    void stopCaching();

protected:
    void draw(QPainter* painter) override;
    QWidget* widget() const { return m_widget; }
    // The slide shift in logical pixels.
    QPointF slideOffset() const;
    // The widget's picture in device coordinates, from the cache while caching.
    QPixmap picture(QPoint* offset, PixmapPadMode mode);

private:
    bool isCacheValid() const;

    QPointer<QWidget> m_widget;
    double m_opacity = 1.0;
    int m_slideEdge = Qt::LeftEdge;
    int m_slideDistance = 0;
    bool m_autoEnable = true;
    bool m_caching = false;
    QPoint m_cachedOffset;
    QPixmap m_cachedPicture;
    QList<QPointer<ForceRepaintEffect>> m_forceRepaint;
};

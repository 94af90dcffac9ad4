#include "uilib/controls/COverlay.h"

#include "uilib/style/CAnimationProgress.h"
#include "uilib/style/CEventGeom.h"
#include "uilib/style/CStyle.h"
#include "uilib/style/Cpalette.h"

#include <QPainter>

#include <cmath>

COverlay::COverlay(QWidget* parent)
    : QWidget(parent)
    , CDrawable(-1)
    , m_fade(new CAnimationProgress(
          this, AnimationParams{QEasingCurve::OutCubic, 150, QEasingCurve::InCubic, 350, 0.0, 1.0}))
{
    QWidget::setVisible(false);
    connect(m_fade, &CAnimationProgress::progressChanged, this, &COverlay::followFade);
    if (parent) {
        resize(parent->size());
        auto* watcher = new CEventGeom(parent, 0);
        watcher->setParent(this);
        connect(watcher, &CEventGeom::geometryChanged, this, [this](const QRect& rect) { resize(rect.size()); });
    }
    applyStyle();
}

void COverlay::setVisible(bool visible)
{
    if (visible)
        raise();
    m_fade->setState(visible, true);
}

void COverlay::applyStyle()
{
    Cpalette* palette = currentPalette();
    m_fade->setAnimationParams(palette->animationValue(4));
    m_color = palette->color(5);
    update();
}

void COverlay::setColor(const QColor& color)
{
    m_color = color;
    update();
}

void COverlay::setMargins(const QMargins& margins)
{
    m_margins = margins;
    update();
}

void COverlay::followFade(double progress)
{
    const bool shown = std::abs(progress) > 1e-12;
    if (shown == isHidden())
        QWidget::setVisible(shown);
    if (shown)
        update();
}

void COverlay::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setOpacity(m_fade->progress());
    painter.fillRect(rect().marginsRemoved(m_margins), m_color);
}

#pragma once

#include "uilib/style/CDrawable.h"

#include <QColor>
#include <QMargins>
#include <QWidget>

class CAnimationProgress;

// A translucent sheet over its parent that fades in while shown and out while hidden; it stays
// visible as long as any of the fade is left.
class COverlay : public QWidget, public CDrawable
{
    Q_OBJECT
public:
    explicit COverlay(QWidget* parent);

    void setVisible(bool visible) override;
    void applyStyle() override;

    QColor color() const { return m_color; }
    void setColor(const QColor& color);
    QMargins margins() const { return m_margins; }
    void setMargins(const QMargins& margins);
    CAnimationProgress* fade() const { return m_fade; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void followFade(double progress);

    QColor m_color;
    QMargins m_margins;
    CAnimationProgress* m_fade;
};

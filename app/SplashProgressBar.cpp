#include "app/SplashProgressBar.h"

#include <QLinearGradient>
#include <QPainter>

namespace {
constexpr int kHeight = 8;
constexpr int kPeriodMs = 2000;
} // namespace

SplashProgressBar::SplashProgressBar(QWidget* parent)
    : QWidget(parent)
{
    setFixedHeight(kHeight);
    m_animation.setStartValue(0.0);
    m_animation.setEndValue(1.0);
    m_animation.setDuration(kPeriodMs);
    m_animation.setLoopCount(-1);
    connect(&m_animation, &QVariantAnimation::valueChanged, this, [this] { update(); });
    m_animation.start();
}

SplashProgressBar::~SplashProgressBar() = default;

void SplashProgressBar::paintEvent(QPaintEvent*)
{
    const double t = m_animation.currentValue().toDouble();
    const int w = width();
    const int h = height();
    QLinearGradient gradient(w * t, 0, w + w * t, 0);
    gradient.setSpread(QGradient::ReflectSpread);
    gradient.setColorAt(0.0, m_orange);
    gradient.setColorAt(0.5, m_yellow);
    gradient.setColorAt(1.0, m_orange);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(gradient);
    painter.drawRoundedRect(rect(), h / 2, h / 2);
}

#pragma once

#include <QColor>
#include <QVariantAnimation>
#include <QWidget>

// The start screen's endless bar: bands of yellow and orange that slide to the right once
// every 2 seconds and mirror at the ends.
class SplashProgressBar : public QWidget
{
public:
    explicit SplashProgressBar(QWidget* parent);
    ~SplashProgressBar() override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_yellow{0xffea00};
    QColor m_orange{0xffa135};
    QVariantAnimation m_animation;
};

#pragma once

#include <QProxyStyle>

// The application-wide style: the current palette answers a few metrics and hints.
class CProxyStyle : public QProxyStyle
{
public:
    explicit CProxyStyle(QStyle* base);
    ~CProxyStyle() override;

    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
    int styleHint(StyleHint hint, const QStyleOption* option = nullptr, const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;
};
